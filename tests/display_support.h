// What every test that needs a window system shares: a fixture that fails under CI when there
// is none, waiting for a condition, real input in the viewer window's coordinates (XTest on
// X11, x_input.cpp; SendInput on Windows, windows_input.cpp) with keys named by their X11
// keysyms, and colour probes. Pixel coordinates are window pixels, origin top left, y down.
#pragma once

#include <gtest/gtest.h>

#ifdef _WIN32
#include "windows_keysyms.h"
#else
#include <X11/keysym.h>
#endif

#include <functional>
#include <string>

// Fixture for tests that need a window system: on X11 it fails under CI (CI=true) and skips
// elsewhere when there is no X server.
class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override;
};

// Calls `step` (by default a 20 ms sleep) between checks of `done` until it holds or `seconds`
// pass; true if it held.
bool waitUntil(const std::function<bool()>& done, double seconds = 5.0,
               const std::function<void()>& step = {});

// Real input at window coordinates of the viewer's window. Modifiers are named as xdotool names
// them: "shift+ctrl", "alt", "".
void xMove(int x, int y);
void xKey(unsigned long keysym, bool down);
void xTap(unsigned long keysym);
void xButton(unsigned button, bool down);
// A left-button drag from (x, y) by (dx, dy) in five moves, with `modifiers` held throughout.
void xDrag(const std::string& modifiers, int x, int y, int dx, int dy);

struct Rgb {
    int r, g, b;
};
std::string toString(const Rgb& c);

// Each channel within `tolerance`; the message says where, expected versus observed.
::testing::AssertionResult nearRgb(const Rgb& expected, const Rgb& observed, int tolerance,
                                   const std::string& where);

// The viewer's grey background, and whether a pixel is it.
constexpr int kBackgroundTolerance = 3;
Rgb background();
bool isBackground(const unsigned char rgb[3]);
