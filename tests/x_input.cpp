// The tests' input on X11: XTest on the test's own connection, at window coordinates of the
// viewer's window, which always opens at the same place. Under CI a missing X server fails
// the tests that need one; elsewhere they are skipped.
#include "display_support.h"

// After GoogleTest, whose names Xlib's macros (None, Bool) would take.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <cstdlib>
#include <string>

#include "viewer.h"

namespace {

bool underCi() {
    const char* ci = std::getenv("CI");
    return ci && *ci && std::string(ci) != "false" && std::string(ci) != "0";
}

Display* testDisplay() {
    static Display* display = XOpenDisplay(nullptr);
    return display;
}

}  // namespace

void DisplayTest::SetUp() {
    if (testDisplay()) return;
    const char* d = std::getenv("DISPLAY");
    const std::string why = std::string("no X display (DISPLAY=") + (d ? d : "unset") +
                            "): run the tests with `make test`";
    if (underCi()) FAIL() << why;
    GTEST_SKIP() << why;
}

void xMove(int x, int y) {
    XTestFakeMotionEvent(testDisplay(), -1, VIEWER_WINDOW_POSITION + x, VIEWER_WINDOW_POSITION + y,
                         CurrentTime);
    XSync(testDisplay(), False);
}

void xKey(unsigned long keysym, bool down) {
    const KeyCode code = XKeysymToKeycode(testDisplay(), keysym);
    XTestFakeKeyEvent(testDisplay(), code, down, CurrentTime);
    XSync(testDisplay(), False);
}

void xButton(unsigned button, bool down) {
    XTestFakeButtonEvent(testDisplay(), button, down, CurrentTime);
    XSync(testDisplay(), False);
}
