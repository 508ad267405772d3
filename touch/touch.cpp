// Touch on the page, as the drags it stands for: one finger turns as a Shift-drag does, two zoom
// as a Ctrl-drag and pan with their midpoint as an Alt-drag, and a double tap is Home. The page
// (page/) sends gestures in drawing-buffer pixels; these exports are declared in web.h.
#include <GL/glut.h>
#include <emscripten.h>
#include <vexo/manipulator.h>

#include <cmath>

#include "web.h"

namespace {

struct {
    long pinchPixels = 0;          // the Ctrl-drag the pinch in progress stands for so far
    int middleX = 0, middleY = 0;  // the pinch's midpoint, drawing-buffer pixels
} g;

// A left-button event with `modifiers` held, as the manipulator's mouse callback takes it.
void button(int state, int modifiers, int x, int y) {
    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const int width = glutGet(GLUT_WINDOW_WIDTH);
    if (manipMouseEvent(GLUT_LEFT_BUTTON, state, x, y, modifiers, projection, width))
        manipRequestRedisplay();
}

void motion(int x, int y) {
    if (manipMotion(x, y)) manipRequestRedisplay();
}

// A whole drag of `modifiers` from (x0, y0) to (x1, y1): press, one move, release.
void dragStep(int modifiers, int x0, int y0, int x1, int y1) {
    button(GLUT_DOWN, modifiers, x0, y0);
    motion(x1, y1);
    button(GLUT_UP, modifiers, x1, y1);
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void webTurnBegin(int x, int y) { button(GLUT_DOWN, GLUT_ACTIVE_SHIFT, x, y); }
EMSCRIPTEN_KEEPALIVE void webTurnMove(int x, int y) { motion(x, y); }
EMSCRIPTEN_KEEPALIVE void webTurnEnd(int x, int y) { button(GLUT_UP, GLUT_ACTIVE_SHIFT, x, y); }

EMSCRIPTEN_KEEPALIVE void webPinchBegin(int x, int y) {
    g.pinchPixels = 0;
    g.middleX = x, g.middleY = y;
}

// `spread` is the fingers' distance over the one they began with: twice as far apart, twice as
// large.
EMSCRIPTEN_KEEPALIVE void webPinchMove(float spread, int x, int y) {
    // Two fingers that began on one spot have no spread to compare with: they only pan.
    if (spread > 0 && std::isfinite(spread)) {
        const long pixels = std::lround(manipZoomPixels(spread));
        if (pixels != g.pinchPixels) dragStep(GLUT_ACTIVE_CTRL, 0, g.pinchPixels, 0, pixels);
        g.pinchPixels = pixels;
    }
    if (x != g.middleX || y != g.middleY) dragStep(GLUT_ACTIVE_ALT, g.middleX, g.middleY, x, y);
    g.middleX = x, g.middleY = y;
}

EMSCRIPTEN_KEEPALIVE void webResetView() {
    if (manipSpecialEvent(GLUT_KEY_HOME, 0)) manipRequestRedisplay();
}

}  // extern "C"
