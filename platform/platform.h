// What differs between the desktop programs (GLUT on X11 or on Windows) and the web page (its
// own GLUT and fixed-function pipeline over WebGL, in web/), kept here so that every other
// module reads the same on all. Every side takes the plain OpenGL 1.1 calls of the fixed-function
// pipeline; the page's lacks only the polygon mode. The platform knows nothing of the viewer
// above it: the viewer tells it what it needs through these calls.
#pragma once

#include <GL/gl.h>

#ifdef __EMSCRIPTEN__
constexpr bool PLATFORM_WEB = true;
#else
constexpr bool PLATFORM_WEB = false;
#endif

// Internal format of the face images in glTexImage2D: the desktop's component count 3;
// WebGL accepts only the enumerant.
constexpr GLint PLATFORM_TEXTURE_FORMAT = PLATFORM_WEB ? GL_RGB : 3;

// Called once the window exists and its context is current, before the scene is set. `shown`
// is told when the window is hidden (false: unmapped, minimised or fully covered by other
// windows) and when any part of it shows again (true). On X11 a window destroyed by another
// client ends the program with a message and status 1; on the web, quitting stops the page's
// loop and says that Vexo has ended.
void platformWindowCreated(void (*shown)(bool visible));

#ifndef __EMSCRIPTEN__
// The window status callback that platformWindowCreated registers with GLUT, for GLUT_HIDDEN,
// GLUT_FULLY_COVERED, GLUT_PARTIALLY_RETAINED and GLUT_FULLY_RETAINED. Tests call it as GLUT does.
void platformWindowStatus(int state);
#endif

// The viewer's state, told at start-up and whenever it changes: whether the user lets the die
// spin, and filled faces or outlines. The page's buttons and announcements follow it; the
// desktop shows nothing more than the window.
void platformStateChanged(bool spinning, bool filled);

// Filled faces (GL_FILL) or their outlines (GL_LINE), front and back alike.
void platformPolygonMode(GLenum mode);

// The primitive each face is drawn with: GL_QUADS, or on the web GL_LINE_LOOP for outlines,
// because WebGL has no polygon mode.
GLenum platformFacePrimitive();
