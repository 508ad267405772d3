#include "gl_support.h"

#include <GL/freeglut.h>

#include "manipulator.h"
#include "platform.h"
#include "viewer.h"

void GlTest::SetUp() {
    XServerTest::SetUp();
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
    // Every test starts from the viewer's start: no spin yet, spinning, filled faces.
    manipReset();
    viewerReset();
    platformPolygonMode(GL_FILL);
    glutIdleFunc(idle);
}

bool pumpUntil(const std::function<bool()>& done, double seconds) {
    return waitUntil(done, seconds, glutMainLoopEvent);
}

void pumpFor(double seconds) {
    pumpUntil([] { return false; }, seconds);
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
