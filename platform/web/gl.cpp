// The fixed-function calls the program makes, over WebGL: matrix stacks, lights, immediate
// mode, the polygon mode and texturing, with each vertex transformed and lit here as GL 1.1
// would (fixed.h) and drawn by one small shader. Every other GL call is WebGL's own.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "fixed.h"
#include "gl.h"

// WebGL's own entry points, under the second names the compiler gives them.
extern "C" {
void emscripten_glEnable(GLenum);
void emscripten_glDisable(GLenum);
void emscripten_glGetFloatv(GLenum, GLfloat*);
GLuint emscripten_glCreateShader(GLenum);
void emscripten_glShaderSource(GLuint, GLsizei, const char* const*, const GLint*);
void emscripten_glCompileShader(GLuint);
GLuint emscripten_glCreateProgram();
void emscripten_glAttachShader(GLuint, GLuint);
void emscripten_glBindAttribLocation(GLuint, GLuint, const char*);
void emscripten_glLinkProgram(GLuint);
void emscripten_glUseProgram(GLuint);
void emscripten_glGenBuffers(GLsizei, GLuint*);
void emscripten_glBindBuffer(GLenum, GLuint);
void emscripten_glBufferData(GLenum, GLsizeiptr, const void*, GLenum);
void emscripten_glEnableVertexAttribArray(GLuint);
void emscripten_glVertexAttribPointer(GLuint, GLint, GLenum, GLboolean, GLsizei, const void*);
void emscripten_glDrawArrays(GLenum, GLint, GLsizei);
void emscripten_glViewport(GLint, GLint, GLsizei, GLsizei);
void emscripten_glGetProgramiv(GLuint, GLenum, GLint*);
void emscripten_glTexImage2D(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum,
                             const void*);
intptr_t emscripten_webgl_get_current_context();
int emscripten_webgl_enable_extension(intptr_t context, const char* name);
}

namespace {

constexpr int kLights = 8;
constexpr int kStackDepth[2] = {32, 2};  // modelview, projection: the least GL allows
constexpr int kMostVertices = 256;       // between glBegin and glEnd; more are not drawn
constexpr GLenum kArrayBuffer = 0x8892, kStreamDraw = 0x88E0;
constexpr GLenum kVertexShader = 0x8B31, kFragmentShader = 0x8B30;
constexpr GLenum kCompletionStatus = 0x91B1;  // KHR_parallel_shader_compile

// What the shader is given of a vertex: clip coordinates, colour, texture coordinates and
// whether to texture (1) or not (0). Per vertex, not a uniform: looking a uniform up would wait
// for the program's link, a stall of the first frame.
struct Vertex {
    float clip[4], rgba[4], st[3];
};

struct {
    float stacks[2][kStackDepth[0]][16];  // modelview, projection
    int depth[2] = {0, 0};                // the top of each
    int mode = 0;                         // the stack glMatrixMode chose
    bool lighting = false, normalize = false, textured = false;
    bool lightOn[kLights] = {};
    FixedLight lights[kLights] = {};
    float normal[3] = {0, 0, 1}, st[2] = {0, 0}, rgba[4] = {1, 1, 1, 1};
    GLenum primitive = 0;
    GLenum polygonMode = GL_FILL;  // front and back alike
    Vertex vertices[kMostVertices];
    int count = 0;
    Vertex drawn[6 * kMostVertices];  // as WebGL takes them: each line or quad two triangles
    float viewport[2] = {0, 0};       // width and height, pixels
    float lineWidth = 1;              // CSS pixels
    float density = 1;                // device pixels per CSS pixel
    GLuint program = 0, buffer = 0;
    bool linking = false;  // the program may still be linking, and the browser can tell
    bool ready = false;
} g;

float* top() { return g.stacks[g.mode][g.depth[g.mode]]; }
const float* modelview() { return g.stacks[0][g.depth[0]]; }
const float* projection() { return g.stacks[1][g.depth[1]]; }

void makeProgram();

void setUp() {
    if (g.ready) return;
    g.ready = true;
    for (auto& stack : g.stacks) fixedIdentity(stack[0]);
    for (int i = 0; i < kLights; ++i) {
        const float white = i == 0 ? 1.0f : 0.0f;  // GL_LIGHT0 alone is white at first
        g.lights[i] = {{0, 0, 1, 0}, {0, 0, 0, 1}, {white, white, white, 1}};
    }
    g.linking = emscripten_webgl_enable_extension(emscripten_webgl_get_current_context(),
                                                  "KHR_parallel_shader_compile");
    makeProgram();
}

GLuint shader(GLenum type, const char* source) {
    const GLuint s = emscripten_glCreateShader(type);
    emscripten_glShaderSource(s, 1, &source, nullptr);
    emscripten_glCompileShader(s);
    emscripten_glAttachShader(g.program, s);
    return s;
}

// The one program, compiled and linked at the first fixed-function call, once the context
// exists, so that the browser links it while the program starts: WebGL's useProgram, at the
// first draw, waits for the link.
void makeProgram() {
    g.program = emscripten_glCreateProgram();
    shader(kVertexShader,
           "attribute vec4 p;attribute vec4 c;attribute vec3 t;varying vec4 vc;varying vec3 vt;"
           "void main(){gl_Position=p;vc=c;vt=t;}");
    shader(kFragmentShader,
           "precision mediump float;uniform sampler2D s;varying vec4 vc;varying vec3 vt;"
           "void main(){gl_FragColor=vt.z>0.5?vc*texture2D(s,vt.xy):vc;}");
    const char* names[] = {"p", "c", "t"};
    for (GLuint i = 0; i < 3; ++i) emscripten_glBindAttribLocation(g.program, i, names[i]);
    emscripten_glLinkProgram(g.program);
}

void useProgram() {
    if (g.buffer) return;
    emscripten_glUseProgram(g.program);
    emscripten_glGenBuffers(1, &g.buffer);
    emscripten_glBindBuffer(kArrayBuffer, g.buffer);
    const int sizes[] = {4, 4, 3};
    for (GLuint i = 0, offset = 0; i < 3; offset += sizes[i++] * sizeof(float)) {
        emscripten_glEnableVertexAttribArray(i);
        // WebGL takes an offset into the buffer where GL's signature has a pointer.
        emscripten_glVertexAttribPointer(
            i, sizes[i], GL_FLOAT, GL_FALSE, sizeof(Vertex),
            reinterpret_cast<const void*>(  // NOLINT(performance-no-int-to-ptr)
                uintptr_t(offset)));
    }
}

// The fixed-function capabilities, which WebGL does not know; true if `cap` is one.
bool setCapability(GLenum cap, bool on) {
    setUp();
    if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + kLights) return g.lightOn[cap - GL_LIGHT0] = on, true;
    switch (cap) {
        case GL_LIGHTING: g.lighting = on; return true;
        case GL_NORMALIZE: g.normalize = on; return true;
        case GL_TEXTURE_2D: g.textured = on; return true;
        default: return false;
    }
}

// A segment of a line as two triangles `g.lineWidth` CSS pixels wide, with square ends, written
// to `out`. The quad is the same whichever way round its ends come, so an edge that two faces
// share covers the same pixels at the same depths for both, and the face drawn first keeps it,
// as the desktop's lines do.
void lineQuad(const Vertex& from, const Vertex& to, Vertex* out) {
    const bool swap = std::lexicographical_compare(to.clip, to.clip + 4, from.clip, from.clip + 4);
    const Vertex& a = swap ? to : from;
    const Vertex& b = swap ? from : to;
    // Along the segment in window pixels, half the width long.
    float dx = (b.clip[0] / b.clip[3] - a.clip[0] / a.clip[3]) * g.viewport[0] / 2;
    float dy = (b.clip[1] / b.clip[3] - a.clip[1] / a.clip[3]) * g.viewport[1] / 2;
    const float length = std::hypot(dx, dy), half = g.lineWidth * g.density / 2;
    if (length > 0)
        dx *= half / length, dy *= half / length;
    else
        dx = half, dy = 0;
    // Back from one end and on from the other by half the width, to either side of it.
    const struct {
        const Vertex& end;
        float along, across;
    } corners[4] = {{a, -1, -1}, {a, -1, 1}, {b, 1, 1}, {b, 1, -1}};
    Vertex corner[4];
    for (int k = 0; k < 4; ++k) {
        const auto& c = corners[k];
        corner[k] = c.end;
        // Window pixels to clip coordinates at this end: the viewport spans two units.
        corner[k].clip[0] += (c.along * dx - c.across * dy) * 2 / g.viewport[0] * c.end.clip[3];
        corner[k].clip[1] += (c.along * dy + c.across * dx) * 2 / g.viewport[1] * c.end.clip[3];
    }
    const int order[6] = {0, 1, 2, 0, 2, 3};
    for (int k = 0; k < 6; ++k) out[k] = corner[order[k]];
}

}  // namespace

void webGlSetDensity(float density) { g.density = density > 0 ? density : 1; }

bool webGlReady() {
    if (!g.linking) return true;
    GLint done = 0;
    emscripten_glGetProgramiv(g.program, kCompletionStatus, &done);
    g.linking = !done;
    return done;
}

extern "C" {

void glEnable(GLenum cap) {
    if (!setCapability(cap, true)) emscripten_glEnable(cap);
}
void glDisable(GLenum cap) {
    if (!setCapability(cap, false)) emscripten_glDisable(cap);
}

void glMatrixMode(GLenum mode) {
    setUp();
    if (mode == GL_MODELVIEW || mode == GL_PROJECTION) g.mode = mode == GL_PROJECTION;
}
void glLoadIdentity() {
    setUp();
    fixedIdentity(top());
}
// Past either end of a stack, GL ignores the call (and flags an error, which nothing reads).
void glPushMatrix() {
    setUp();
    int& depth = g.depth[g.mode];
    if (depth + 1 < kStackDepth[g.mode])
        std::memcpy(g.stacks[g.mode][depth + 1], top(), 16 * sizeof(float)), ++depth;
}
void glPopMatrix() {
    setUp();
    if (g.depth[g.mode] > 0) --g.depth[g.mode];
}
void glRotatef(GLfloat degrees, GLfloat x, GLfloat y, GLfloat z) {
    setUp();
    fixedRotate(top(), degrees, x, y, z);
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    setUp();
    fixedTranslate(top(), x, y, z);
}
void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    setUp();
    fixedScale(top(), x, y, z);
}
void glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    setUp();
    fixedOrtho(top(), l, r, b, t, n, f);
}
void glMultMatrixf(const GLfloat* m) {
    setUp();
    fixedMultiply(top(), m);
}
void glGetFloatv(GLenum name, GLfloat* out) {
    setUp();
    if (name == GL_MODELVIEW_MATRIX || name == GL_PROJECTION_MATRIX)
        std::memcpy(out, name == GL_PROJECTION_MATRIX ? projection() : modelview(),
                    16 * sizeof(float));
    else
        emscripten_glGetFloatv(name, out);
}

// A light's position is kept as the modelview of the moment puts it, as GL does.
void glLightfv(GLenum light, GLenum name, const GLfloat* v) {
    setUp();
    if (light < GL_LIGHT0 || light >= GL_LIGHT0 + kLights) return;
    FixedLight& l = g.lights[light - GL_LIGHT0];
    if (name == GL_POSITION) {
        const float* m = modelview();
        for (int row = 0; row < 4; ++row)
            l.position[row] =
                m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
    } else if (name == GL_AMBIENT || name == GL_DIFFUSE) {
        std::memcpy(name == GL_AMBIENT ? l.ambient : l.diffuse, v, 4 * sizeof(float));
    }
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    g.viewport[0] = float(width), g.viewport[1] = float(height);
    emscripten_glViewport(x, y, width, height);
}
// WebGL draws no line wider than a pixel: lines are drawn as quads of this width instead.
void glLineWidth(GLfloat width) { g.lineWidth = width; }

// Smooth shading is all there is, which is what the scene asks for.
void glShadeModel(GLenum) {}
void glPolygonMode(GLenum, GLenum mode) { g.polygonMode = mode; }

// GL 1.1 takes a component count for the internal format; WebGL only the format's enumerant.
void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const void* pixels) {
    static const GLint kByCount[] = {GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB, GL_RGBA};
    if (internalFormat >= 1 && internalFormat <= 4) internalFormat = kByCount[internalFormat - 1];
    emscripten_glTexImage2D(target, level, internalFormat, width, height, border, format, type,
                            pixels);
}

void glBegin(GLenum primitive) {
    setUp();
    g.primitive = primitive;
    g.count = 0;
}
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    g.normal[0] = x, g.normal[1] = y, g.normal[2] = z;
}
void glTexCoord2f(GLfloat s, GLfloat t) { g.st[0] = s, g.st[1] = t; }
void glColor4fv(const GLfloat* v) { std::memcpy(g.rgba, v, sizeof g.rgba); }

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    if (g.count == kMostVertices) return;
    float eye[4];
    fixedTransform(eye, modelview(), x, y, z);
    Vertex& v = g.vertices[g.count++];
    const float* p = projection();
    for (int row = 0; row < 4; ++row)
        v.clip[row] =
            p[row] * eye[0] + p[4 + row] * eye[1] + p[8 + row] * eye[2] + p[12 + row] * eye[3];
    if (g.lighting) {
        float normal[3];
        fixedNormal(normal, modelview(), g.normal, g.normalize);
        FixedLight on[kLights];
        int count = 0;
        for (int i = 0; i < kLights; ++i)
            if (g.lightOn[i]) on[count++] = g.lights[i];
        fixedLit(v.rgba, on, count, eye, normal);
    } else {
        std::memcpy(v.rgba, g.rgba, sizeof v.rgba);
    }
    v.st[0] = g.st[0], v.st[1] = g.st[1], v.st[2] = g.textured;
}

// WebGL has no quadrilaterals and no polygon mode: each quad becomes two triangles, a polygon a
// fan, every segment of a line a quad of the line's width, and an outlined quad its four edges.
void glEnd() {
    const Vertex* v = g.vertices;
    const int count = g.count;
    g.count = 0;
    GLenum primitive = GL_TRIANGLES;
    int n = 0;
    if (g.primitive == GL_QUADS && g.polygonMode == GL_LINE) {
        if (!g.viewport[0] || !g.viewport[1]) return;
        for (int q = 0; q + 4 <= count; q += 4)
            for (int k = 0; k < 4; ++k, n += 6) lineQuad(v[q + k], v[q + (k + 1) % 4], g.drawn + n);
    } else if (g.primitive == GL_QUADS) {
        for (int q = 0; q + 4 <= count; q += 4)
            for (int k : {0, 1, 2, 0, 2, 3}) g.drawn[n++] = v[q + k];
    } else if (g.primitive == GL_LINES || g.primitive == GL_LINE_STRIP ||
               g.primitive == GL_LINE_LOOP) {
        if (!g.viewport[0] || !g.viewport[1]) return;  // nowhere to draw them
        const int step = g.primitive == GL_LINES ? 2 : 1;
        const int segments = g.primitive == GL_LINE_LOOP && count > 2 ? count : count - 1;
        for (int i = 0; i < segments; i += step, n += 6)
            lineQuad(v[i], v[(i + 1) % count], g.drawn + n);
    } else {
        primitive = g.primitive == GL_POLYGON ? GLenum(GL_TRIANGLE_FAN) : g.primitive;
        std::memcpy(g.drawn, v, count * sizeof(Vertex));
        n = count;
    }
    if (n <= 0) return;
    useProgram();
    emscripten_glBufferData(kArrayBuffer, n * sizeof(Vertex), g.drawn, kStreamDraw);
    emscripten_glDrawArrays(primitive, 0, n);
}

}  // extern "C"
