// What differs between the desktop programs (GLUT on X11 or on Windows) and the web page (its
// own GLUT and fixed-function pipeline over WebGL, in web/). Every side takes the same plain
// OpenGL 1.1 and GLUT calls; the platform knows nothing of the viewer above it, which tells it
// what it needs through these calls.
#pragma once

// Called once the window exists and its context is current, before the scene is set. `shown`
// is told when the window is hidden (false: unmapped, minimised or fully covered by other
// windows) and when any part of it shows again (true). On X11 a window destroyed by another
// client ends the program with a message and status 1.
void platformWindowCreated(void (*shown)(bool visible));

#ifndef __EMSCRIPTEN__
// The window status callback that platformWindowCreated registers with GLUT, for GLUT_HIDDEN,
// GLUT_FULLY_COVERED, GLUT_PARTIALLY_RETAINED and GLUT_FULLY_RETAINED. Tests call it as GLUT does.
void platformWindowStatus(int state);
#endif

// The viewer's state, told at start-up and whenever it changes: whether the user lets the die
// spin, and filled faces or outlines. The page's buttons and announcements follow it; the
// desktop shows nothing more than the window.
void platformStateChanged(bool animating, bool filled);
