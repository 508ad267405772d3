#include "support.h"

#include <GL/freeglut.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "manipulator.h"
#include "viewer.h"

namespace {

Display* gDisplay = nullptr;
bool gTried = false;
bool gViewerUp = false;
constexpr int kWindowOrigin = 50;

bool underCi() {
    const char* ci = std::getenv("CI");
    return ci && *ci && std::string(ci) != "false" && std::string(ci) != "0";
}

}  // namespace

Display* testDisplay() {
    if (!gTried) {
        gTried = true;
        gDisplay = XOpenDisplay(nullptr);
    }
    return gDisplay;
}

#define REQUIRE_DISPLAY()                                                                       \
    do {                                                                                        \
        if (!testDisplay()) {                                                                   \
            const char* d = std::getenv("DISPLAY");                                             \
            const std::string why = std::string("no X display (DISPLAY=") + (d ? d : "unset") + \
                                    "): run the tests with `make test`";                        \
            if (underCi()) FAIL() << why;                                                       \
            GTEST_SKIP() << why;                                                                \
        }                                                                                       \
    } while (0)

void XServerTest::SetUp() { REQUIRE_DISPLAY(); }

void GlTest::SetUp() {
    REQUIRE_DISPLAY();
    if (!gViewerUp) {
        gViewerUp = true;
        static int argc = 1;
        static char name[] = "vexo-test";
        static char* argv[] = {name, nullptr};
        viewerStart(&argc, argv);
        // Mapped, reshaped and drawn once: the projection has left the identity.
        const bool ready = pumpUntil([] {
            float p[16];
            glGetFloatv(GL_PROJECTION_MATRIX, p);
            return p[0] != 1.0f && glutGet(GLUT_WINDOW_WIDTH) == 250;
        });
        ASSERT_TRUE(ready) << "the viewer's window never came up";
        pumpFor(0.1);
    }
    manipReset();
}

bool pumpUntil(const std::function<bool()>& done, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        glutMainLoopEvent();
        if (done()) return true;
    }
    return done();
}

void pumpFor(double seconds) {
    pumpUntil([] { return false; }, seconds);
}

void xMove(int x, int y) {
    XTestFakeMotionEvent(testDisplay(), -1, kWindowOrigin + x, kWindowOrigin + y, CurrentTime);
    XSync(testDisplay(), False);
}

void xKey(unsigned long keysym, bool down) {
    const KeyCode code = XKeysymToKeycode(testDisplay(), keysym);
    XTestFakeKeyEvent(testDisplay(), code, down, CurrentTime);
    XSync(testDisplay(), False);
}

void xTap(unsigned long keysym) {
    xKey(keysym, true);
    xKey(keysym, false);
}

void xButton(unsigned button, bool down) {
    XTestFakeButtonEvent(testDisplay(), button, down, CurrentTime);
    XSync(testDisplay(), False);
}

std::string toString(const Rgb& c) {
    char text[48];
    std::snprintf(text, sizeof text, "(%d, %d, %d)", c.r, c.g, c.b);
    return text;
}

Rgb readPixel(int x, int y) {
    unsigned char p[4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, glutGet(GLUT_WINDOW_HEIGHT) - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}

::testing::AssertionResult near(const Rgb& expected, const Rgb& observed, int tolerance,
                                const char* where) {
    const bool ok = std::abs(expected.r - observed.r) <= tolerance &&
                    std::abs(expected.g - observed.g) <= tolerance &&
                    std::abs(expected.b - observed.b) <= tolerance;
    if (ok) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << where << ": expected " << toString(expected) << " ±"
                                         << tolerance << ", observed " << toString(observed);
}
