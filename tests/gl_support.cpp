#include "gl_support.h"

#include <GL/freeglut.h>

#include <vector>

#include <vexo/manipulator.h>
#include "platform.h"
#include "viewer.h"

namespace {

struct {
    int redisplays = 0;
    void (*idle)() = nullptr;
    ArmedTimer timer;
    int timers = 0;
    int width = 0, height = 0;
    std::vector<unsigned char> shown;  // RGB rows, bottom up as GL reads them
} g;

}  // namespace

extern "C" {
void __real_glutPostRedisplay();
void __real_glutIdleFunc(void (*callback)());
void __real_glutSwapBuffers();
void __real_glutTimerFunc(unsigned ms, void (*callback)(int), int value);
void __wrap_glutTimerFunc(unsigned ms, void (*callback)(int), int value) {
    g.timer = {ms, callback, value};
    ++g.timers;
    __real_glutTimerFunc(ms, callback, value);
}
void __wrap_glutSwapBuffers() {
    g.width = glutGet(GLUT_WINDOW_WIDTH), g.height = glutGet(GLUT_WINDOW_HEIGHT);
    g.shown.resize(size_t(g.width) * g.height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, g.width, g.height, GL_RGB, GL_UNSIGNED_BYTE, g.shown.data());
    __real_glutSwapBuffers();
}
void __wrap_glutPostRedisplay() {
    ++g.redisplays;
    __real_glutPostRedisplay();
}
void __wrap_glutIdleFunc(void (*callback)()) {
    g.idle = callback;
    __real_glutIdleFunc(callback);
}
}

int redisplayRequests() { return g.redisplays; }
void clearRedisplayRequests() { g.redisplays = 0; }
void (*registeredIdle())() { return g.idle; }
int timersArmed() { return g.timers; }
ArmedTimer lastTimer() { return g.timer; }

Rgb shownPixel(int x, int y) {
    if (x < 0 || y < 0 || x >= g.width || y >= g.height) return {0, 0, 0};
    const unsigned char* p = &g.shown[(size_t(g.height - 1 - y) * g.width + x) * 3];
    return {p[0], p[1], p[2]};
}

void GlTest::SetUp() {
    DisplayTest::SetUp();
    if (IsSkipped() || HasFailure()) return;
    static bool started = false;
    if (!started) {
        started = true;
        static int argc = 1;
        static char name[] = "vexo-test";
        static char* argv[] = {name, nullptr};
        viewerStart(&argc, argv);
        // Mapped, reshaped and drawn once: the projection has left the identity.
        const bool ready = pumpUntil([] {
            float p[16];
            glGetFloatv(GL_PROJECTION_MATRIX, p);
            return p[0] != 1.0f && glutGet(GLUT_WINDOW_WIDTH) == VIEWER_WINDOW_SIZE;
        });
        ASSERT_TRUE(ready) << "the viewer's window never came up";
        pumpFor(0.1);
    }
    // Every test starts from the viewer's start: the window's size, no spin yet, spinning,
    // filled faces.
    if (glutGet(GLUT_WINDOW_WIDTH) != VIEWER_WINDOW_SIZE ||
        glutGet(GLUT_WINDOW_HEIGHT) != VIEWER_WINDOW_SIZE) {
        resizeWindow(VIEWER_WINDOW_SIZE, VIEWER_WINDOW_SIZE);
    }
    manipReset();
    viewerReset();
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glutIdleFunc(idle);
}

bool pumpUntil(const std::function<bool()>& done, double seconds) {
    return waitUntil(done, seconds, glutMainLoopEvent);
}

void pumpFor(double seconds) {
    pumpUntil([] { return false; }, seconds);
}

void resizeWindow(int width, int height) {
    glutReshapeWindow(width, height);
    const bool done = pumpUntil([&] {
        GLint v[4];
        glGetIntegerv(GL_VIEWPORT, v);
        return v[2] == width && v[3] == height;
    });
    ASSERT_TRUE(done) << "no reshape to " << width << " x " << height;
}

Rgb readPixel(int x, int y) {
    unsigned char p[4] = {};
    GLint alignment;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, glutGet(GLUT_WINDOW_HEIGHT) - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p);
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    return {p[0], p[1], p[2]};
}
