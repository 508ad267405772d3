// What the page (page/, through program.js) may call in the program, and nothing else: the keys,
// buttons and motion GLUT hands on (glut.cpp), the canvas's size, the menu's choice and the end;
// touch as the drags it stands for and the view reset (touch/touch.cpp, above the platform).
// Coordinates are drawing-buffer pixels from the canvas's top left.
#pragma once

extern "C" {
// A key pressed, by the name the browser gives it (KeyboardEvent.key), with its modifiers.
void webKey(const char* name, int shift, int ctrl, int alt);
// A button pressed (down 1) or released (0), numbered as GLUT's (left 0, middle 1, right 2),
// and the pointer's position while one is held.
void webMouse(int button, int down, int x, int y, int shift, int ctrl, int alt);
void webMotion(int x, int y);
// The canvas's drawing buffer has a new size, `density` of its pixels to a CSS pixel.
void webReshape(int width, int height, float density);
// One finger: a Shift-drag.
void webTurnBegin(int x, int y);
void webTurnMove(int x, int y);
void webTurnEnd(int x, int y);
// Two fingers: zoom by `spread`, their distance over the one they began with, and pan with
// their midpoint (x, y).
void webPinchBegin(int x, int y);
void webPinchMove(float spread, int x, int y);
// A double tap or the page's button: the start view, as Home.
void webResetView();
// The menu entry chosen.
void webMenuChoose(int value);
// The program has exited (program.js saw its exit): GLUT draws and idles no more.
void webEnd();
}
