// Shared by the GL tests (in-process, real GLUT window on the test's X server) and the
// end-to-end tests (the built executable): the X connection, pumping GLUT, XTest input and
// pixel probes. Pixel coordinates are window pixels, origin top left, y down.
#pragma once

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <functional>
#include <string>

// The test's own X connection, or null. Tests that need it use the fixtures below, which
// fail under CI (CI=true) and skip elsewhere when there is no display.
Display* testDisplay();

// Fixture for in-process GL tests: the viewer started once in this process (window 250 x 250
// at (50, 50), scene, menu, callbacks), mapped and reshaped, the manipulator reset.
class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
};

// Fixture for tests that only need an X server.
class XServerTest : public ::testing::Test {
protected:
    void SetUp() override;
};

// Runs GLUT's event processing until `done` holds or `seconds` pass; true if it held.
bool pumpUntil(const std::function<bool()>& done, double seconds = 5.0);
void pumpFor(double seconds);

// Real input through XTest, at window coordinates of the viewer's window.
void xMove(int x, int y);
void xKey(unsigned long keysym, bool down);
void xTap(unsigned long keysym);
void xButton(unsigned button, bool down);

struct Rgb {
    int r, g, b;
};
std::string toString(const Rgb& c);

// Reads one pixel of the current read buffer, window coordinates.
Rgb readPixel(int x, int y);

// Each channel within `tolerance`; the message says expected versus observed.
::testing::AssertionResult near(const Rgb& expected, const Rgb& observed, int tolerance,
                                const char* where);
