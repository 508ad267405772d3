// What the page's script (glue.js) may call in the program, and nothing else: touch as the
// drags it stands for, the view reset, the menu's choice and a drag's motion. Coordinates are
// drawing-buffer pixels, as GLUT measures the pointer.
#pragma once

extern "C" {
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
// The menu entry chosen, and the pointer's current position during a drag.
void webMenuChoose(int value);
void webMotion(int x, int y);
}
