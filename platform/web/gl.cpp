// The fixed-function calls the program makes, over WebGL: matrix stacks, lights, immediate
// mode and texturing, with each vertex transformed and lit here as GL 1.1 would (fixed.h) and
// drawn by one small shader. Every other GL call is WebGL's own.
#include <GL/gl.h>

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
void emscripten_glGetProgramiv(GLuint, GLenum, GLint*);
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
    Vertex vertices[kMostVertices + kMostVertices / 2];  // room for quads made triangles
    int count = 0;
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
        emscripten_glVertexAttribPointer(i, sizes[i], GL_FLOAT, GL_FALSE, sizeof(Vertex),
                                         reinterpret_cast<const void*>(uintptr_t(offset)));
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

}  // namespace

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

// Smooth shading is all there is, which is what the scene asks for.
void glShadeModel(GLenum) {}

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

// WebGL has no quadrilaterals: each becomes two triangles, and a polygon a fan.
void glEnd() {
    GLenum primitive = g.primitive;
    int count = g.count;
    g.count = 0;
    if (primitive == GL_QUADS) {
        // In place from the last quad back: each one's six vertices land at or past its four.
        count -= count % 4;
        for (int q = count / 4 - 1; q >= 0; --q) {
            const Vertex quad[4] = {g.vertices[4 * q], g.vertices[4 * q + 1], g.vertices[4 * q + 2],
                                    g.vertices[4 * q + 3]};
            const int order[6] = {0, 1, 2, 0, 2, 3};
            for (int k = 0; k < 6; ++k) g.vertices[6 * q + k] = quad[order[k]];
        }
        count = count / 4 * 6;
        primitive = GL_TRIANGLES;
    } else if (primitive == GL_POLYGON) {
        primitive = GL_TRIANGLE_FAN;
    }
    if (!count) return;
    useProgram();
    emscripten_glBufferData(kArrayBuffer, count * sizeof(Vertex), g.vertices, kStreamDraw);
    emscripten_glDrawArrays(primitive, 0, count);
}

}  // extern "C"
