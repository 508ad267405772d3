#include "display_support.h"

// What the tests share whatever the window system: waiting, drags made of the input below,
// colour probes.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <thread>
#include <vector>

#include "viewer.h"

namespace {

std::vector<unsigned long> modifierKeys(const std::string& names) {
    std::vector<unsigned long> keys;
    std::stringstream in(names);
    std::string name;
    while (std::getline(in, name, '+')) {
        if (name == "shift") keys.push_back(XK_Shift_L);
        if (name == "ctrl") keys.push_back(XK_Control_L);
        if (name == "alt") keys.push_back(XK_Alt_L);
    }
    return keys;
}

}  // namespace

bool waitUntil(const std::function<bool()>& done, double seconds,
               const std::function<void()>& step) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        if (step) {
            step();
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    return done();
}

void xTap(unsigned long keysym) {
    xKey(keysym, true);
    xKey(keysym, false);
}

void xDrag(const std::string& modifiers, int x, int y, int dx, int dy) {
    const std::vector<unsigned long> keys = modifierKeys(modifiers);
    xMove(x, y);
    for (unsigned long k : keys) xKey(k, true);
    xButton(1, true);
    for (int i = 1; i <= 5; ++i) xMove(x + dx * i / 5, y + dy * i / 5);
    xButton(1, false);
    for (unsigned long k : keys) xKey(k, false);
}

std::string toString(const Rgb& c) {
    char text[48];
    std::snprintf(text, sizeof text, "(%d, %d, %d)", c.r, c.g, c.b);
    return text;
}

::testing::AssertionResult nearRgb(const Rgb& expected, const Rgb& observed, int tolerance,
                                   const std::string& where) {
    const bool ok = std::abs(expected.r - observed.r) <= tolerance &&
                    std::abs(expected.g - observed.g) <= tolerance &&
                    std::abs(expected.b - observed.b) <= tolerance;
    if (ok) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << where << ": expected " << toString(expected) << " ±"
                                         << tolerance << ", observed " << toString(observed);
}

Rgb background() {
    const int grey = static_cast<int>(std::lround(VIEWER_BACKGROUND * 255));
    return {grey, grey, grey};
}

bool isBackground(const unsigned char rgb[3]) {
    const int grey = background().r;
    for (int i = 0; i < 3; ++i) {
        if (std::abs(rgb[i] - grey) > kBackgroundTolerance) return false;
    }
    return true;
}
