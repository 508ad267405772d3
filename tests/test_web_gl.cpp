// The page's fixed-function calls (platform/web/gl.cpp), built natively with WebGL recorded
// instead of drawn: what reaches WebGL for each primitive and state, and what stays behind.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fixed.h"
#include "gl.h"

namespace {

// What the shader is given per vertex: clip coordinates, colour, texture s, t and whether to
// texture.
constexpr int kFloats = 11;

struct {
    std::vector<float> buffer;
    GLenum mode = 0;
    int count = 0;
    std::string forwarded;  // the capabilities and queries passed on, in order
} webgl;
// What the browser says of the program's link, and how often it was asked in this process.
bool linked = false;
int linkQueries = 0;

}  // namespace

extern "C" {
void emscripten_glEnable(GLenum cap) { webgl.forwarded += "enable " + std::to_string(cap) + " "; }
void emscripten_glDisable(GLenum cap) { webgl.forwarded += "disable " + std::to_string(cap) + " "; }
void emscripten_glGetFloatv(GLenum name, GLfloat*) {
    webgl.forwarded += "get " + std::to_string(name) + " ";
}
GLuint emscripten_glCreateShader(GLenum) { return 1; }
void emscripten_glShaderSource(GLuint, GLsizei, const char* const*, const GLint*) {}
void emscripten_glCompileShader(GLuint) {}
GLuint emscripten_glCreateProgram() { return 1; }
void emscripten_glAttachShader(GLuint, GLuint) {}
void emscripten_glBindAttribLocation(GLuint, GLuint, const char*) {}
void emscripten_glLinkProgram(GLuint) {}
void emscripten_glUseProgram(GLuint) {}
void emscripten_glGenBuffers(GLsizei, GLuint* buffer) { *buffer = 1; }
void emscripten_glBindBuffer(GLenum, GLuint) {}
void emscripten_glEnableVertexAttribArray(GLuint) {}
void emscripten_glVertexAttribPointer(GLuint, GLint, GLenum, GLboolean, GLsizei, const void*) {}
void emscripten_glBufferData(GLenum, GLsizeiptr size, const void* data, GLenum) {
    webgl.buffer.assign(static_cast<const float*>(data),
                        static_cast<const float*>(data) + size / sizeof(float));
}
void emscripten_glViewport(GLint, GLint, GLsizei, GLsizei) {}
void emscripten_glTexImage2D(GLenum, GLint, GLint format, GLsizei, GLsizei, GLint, GLenum, GLenum,
                             const void*) {
    webgl.forwarded += "texture " + std::to_string(format) + " ";
}
void emscripten_glDrawArrays(GLenum mode, GLint, GLsizei count) {
    webgl.mode = mode, webgl.count = count;
}
void emscripten_glGetProgramiv(GLuint, GLenum, GLint* value) { *value = linked, ++linkQueries; }
intptr_t emscripten_webgl_get_current_context() { return 1; }
int emscripten_webgl_enable_extension(intptr_t, const char* name) {
    return std::string(name) == "KHR_parallel_shader_compile";
}
}

namespace {

// Draws `n` vertices at x = 0, 1, 2... with identity matrices; returns the x of each vertex
// that reached WebGL, in order.
std::vector<int> draw(GLenum primitive, int n) {
    webgl = {};
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBegin(primitive);
    for (int i = 0; i < n; ++i) glVertex3f(float(i), 0, 0);
    glEnd();
    std::vector<int> xs;
    for (size_t v = 0; v + kFloats <= webgl.buffer.size(); v += kFloats)
        xs.push_back(int(webgl.buffer[v]));
    return xs;
}

TEST(WebFixedCalls, PrimitivesReachWebGLAsItsOwn) {
    const struct {
        GLenum primitive;
        int vertices;
        GLenum drawn;
        std::vector<int> order;
    } cases[] = {
        {GL_QUADS, 8, GL_TRIANGLES, {0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7}},
        {GL_QUADS, 6, GL_TRIANGLES, {0, 1, 2, 0, 2, 3}},  // the unfinished quad is not drawn
        {GL_QUADS, 3, 0, {}},
        {GL_POLYGON, 5, GL_TRIANGLE_FAN, {0, 1, 2, 3, 4}},
        {GL_TRIANGLES, 3, GL_TRIANGLES, {0, 1, 2}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(draw(c.primitive, c.vertices), c.order) << "primitive " << c.primitive;
        EXPECT_EQ(webgl.mode, c.drawn) << "primitive " << c.primitive;
        EXPECT_EQ(webgl.count, int(c.order.size())) << "primitive " << c.primitive;
    }
    EXPECT_EQ(draw(GL_POINTS, 1000).size(), 256u) << "past the most a primitive takes";

    // Outlined, a quad is the loop of its four edges, as lines are drawn.
    glViewport(0, 0, 100, 100);
    const std::vector<float> loop = (draw(GL_LINE_LOOP, 4), webgl.buffer);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    draw(GL_QUADS, 4);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    EXPECT_EQ(webgl.buffer, loop);
}

// Lines are quads of their width in CSS pixels, with square ends, whichever way round they are
// drawn: an edge two faces share covers the same pixels at the same depths for both.
TEST(WebFixedCalls, LinesAreQuadsOfTheirWidthTheSameBothWays) {
    glViewport(0, 0, 100, 50);
    webGlSetDensity(2);
    glLineWidth(1.5f);  // 3 device pixels: 0.03 of x past either end, 0.06 of y to either side
    std::vector<float> ways[2];
    for (int way : {0, 1}) {
        draw(GL_LINES, 0);
        glBegin(GL_LINES);
        glVertex3f(way ? 0.5f : -0.5f, 0, 0);
        glVertex3f(way ? -0.5f : 0.5f, 0, 0);
        glEnd();
        ASSERT_EQ(webgl.mode, GLenum(GL_TRIANGLES));
        for (size_t v = 0; v < webgl.buffer.size(); v += kFloats) {
            EXPECT_NEAR(std::abs(webgl.buffer[v]), 0.53f, 1e-6) << "way " << way;
            EXPECT_NEAR(std::abs(webgl.buffer[v + 1]), 0.06f, 1e-6) << "way " << way;
            ways[way].insert(ways[way].end(), webgl.buffer.begin() + v,
                             webgl.buffer.begin() + v + 2);
        }
    }
    EXPECT_EQ(ways[0], ways[1]);
    draw(GL_LINES, 0);  // a segment with no length: a square of the line's width
    glBegin(GL_LINES), glVertex3f(0, 0, 0), glVertex3f(0, 0, 0), glEnd();
    for (size_t v = 0; v < webgl.buffer.size(); v += kFloats)
        EXPECT_EQ(std::abs(webgl.buffer[v]) * 2 + std::abs(webgl.buffer[v + 1]), 0.12f)
            << "vertex " << v;
    for (auto [primitive, triangles] :
         {std::pair{GL_LINE_LOOP, 4}, {GL_LINE_STRIP, 3}, {GL_LINES, 2}}) {
        draw(primitive, 4);
        EXPECT_EQ(webgl.count, 6 * triangles) << "primitive " << primitive;
    }
    glLineWidth(1);
    webGlSetDensity(1);
}

TEST(WebFixedCalls, StateStaysHereAndTheRestGoesToWebGL) {
    webgl = {};
    for (GLenum cap :
         {GL_LIGHTING, GL_LIGHT0, GL_LIGHT7, GL_NORMALIZE, GL_TEXTURE_2D, GL_DEPTH_TEST}) {
        glEnable(cap);
        glDisable(cap);
    }
    float m[16];
    glGetFloatv(GL_VIEWPORT, m);
    // GL 1.1's component count for a texture's format reaches WebGL as the format's enumerant.
    glTexImage2D(GL_TEXTURE_2D, 0, 3, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    const std::string depth = std::to_string(GL_DEPTH_TEST);
    EXPECT_EQ(webgl.forwarded, "enable " + depth + " disable " + depth + " get " +
                                   std::to_string(GL_VIEWPORT) + " texture " +
                                   std::to_string(GL_RGB) + " texture " + std::to_string(GL_RGBA) +
                                   " ");

    // Unlit, a vertex has the current colour, and the texture flag of the moment.
    const float red[4] = {1, 0, 0, 0.5f};
    glColor4fv(red);
    glEnable(GL_TEXTURE_2D);
    draw(GL_POINTS, 1);
    EXPECT_EQ(std::vector<float>(webgl.buffer.begin() + 4, webgl.buffer.end()),
              (std::vector<float>{1, 0, 0, 0.5f, 0, 0, 1}));
    glDisable(GL_TEXTURE_2D);
    // Lit by GL_LIGHT0 alone, white from +z at first, a face towards it: 0.2 x 0.2 + 0.8, or
    // twice the diffuse term (clamped) for a normal twice as long that is not made unit length.
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glNormal3f(0, 0, 2);
    for (bool normalize : {true, false}) {
        normalize ? glEnable(GL_NORMALIZE) : glDisable(GL_NORMALIZE);
        draw(GL_POINTS, 1);
        for (int c = 0; c < 3; ++c)
            EXPECT_FLOAT_EQ(webgl.buffer[4 + c], normalize ? 0.84f : 1.0f) << "channel " << c;
        EXPECT_EQ(webgl.buffer[10], 0) << "untextured";
    }
    glDisable(GL_LIGHTING);
}

TEST(WebFixedCalls, MatrixStacksKeepTheirDepthAndAnswerQueries) {
    float identity[16], m[16];
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glGetFloatv(GL_MODELVIEW_MATRIX, identity);
    // Pushes past the stack's depth and pops past its bottom are ignored, as GL does, and leave
    // the other stack alone.
    for (GLenum mode : {GL_MODELVIEW, GL_PROJECTION}) {
        for (GLenum each : {GL_MODELVIEW, GL_PROJECTION}) glMatrixMode(each), glLoadIdentity();
        glMatrixMode(mode);
        for (int i = 0; i < 40; ++i) glPushMatrix(), glTranslatef(1, 0, 0);
        glGetFloatv(mode == GL_MODELVIEW ? GL_PROJECTION_MATRIX : GL_MODELVIEW_MATRIX, m);
        EXPECT_EQ(m[12], 0) << "deep pushes of " << mode << " moved the other stack";
        for (int i = 0; i < 40; ++i) glPopMatrix();
        glGetFloatv(mode == GL_MODELVIEW ? GL_MODELVIEW_MATRIX : GL_PROJECTION_MATRIX, m);
        EXPECT_EQ(std::memcmp(m, identity, sizeof m), 0) << "back at the bottom, mode " << mode;
    }
    // The projection the program set is the one it reads back (the arithmetic is held against
    // GL's own in test_web.cpp).
    glOrtho(-2, 2, -1, 1, -4, 4);
    fixedOrtho(identity, -2, 2, -1, 1, -4, 4);
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_EQ(std::memcmp(m, identity, sizeof m), 0);
    glMatrixMode(GL_MODELVIEW);
}

// Frames wait while the browser links the shaders, and never again once it has.
TEST(WebFixedCalls, ReadyOnceTheShadersAreLinked) {
    glMatrixMode(GL_MODELVIEW);  // the first call, in a process of its own, makes the program
    if (linkQueries == 0) {
        linked = false;
        EXPECT_FALSE(webGlReady());
        EXPECT_FALSE(webGlReady());
    }
    linked = true;
    EXPECT_TRUE(webGlReady());
    linked = false;
    EXPECT_TRUE(webGlReady()) << "linked for good";
}

}  // namespace
