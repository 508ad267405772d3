// What the in-process GL tests share: the viewer's real window in this process, GLUT's event
// processing, and reading back what was drawn.
#pragma once

#include <functional>

#include "display_support.h"

// Fixture for in-process GL tests: the viewer started once in this process (its window,
// scene, menu and callbacks), mapped and reshaped; the window back at 250 x 250 and the viewer
// and the manipulator back at their start for each test. A death test in such a process must
// use the "threadsafe" style, whose child starts afresh: a forked child would share, and break,
// the window's connection.
class GlTest : public DisplayTest {
protected:
    void SetUp() override;
};

// Runs GLUT's event processing until `done` holds or `seconds` pass; true if it held.
bool pumpUntil(const std::function<bool()>& done, double seconds = 5.0);
void pumpFor(double seconds);

// One pixel of the current read buffer, window coordinates.
Rgb readPixel(int x, int y);

// Resizes the window and runs GLUT's events until the viewport follows.
void resizeWindow(int width, int height);

// What the program has asked of GLUT, seen through wrappers linked into the GL tests: how many
// redraws since the count was last cleared, the idle callback registered last, a pixel of the
// frame last swapped to the screen (window coordinates; black before the first), and timers.
int redisplayRequests();
void clearRedisplayRequests();
void (*registeredIdle())();
Rgb shownPixel(int x, int y);
// The timers armed so far, and the last: its delay in milliseconds, its callback and value.
struct ArmedTimer {
    unsigned ms = 0;
    void (*callback)(int) = nullptr;
    int value = 0;
};
int timersArmed();
ArmedTimer lastTimer();
