// The web page: what the page needs of the program. The page's own side is page.js, which talks
// with the program through program.js; GLUT for the page is glut.cpp, and the fixed-function
// pipeline over WebGL gl.cpp.
#include <GL/glut.h>
#include <emscripten.h>
#include <vexo/manipulator.h>

#include <cmath>

#include "platform.h"
#include "quit_menu.h"
#include "web.h"

namespace {

struct {
    GLenum polygonMode = GL_FILL;
    long pinchPixels = 0;          // the Ctrl-drag the pinch in progress stands for so far
    int middleX = 0, middleY = 0;  // the pinch's midpoint, drawing-buffer pixels
} g;

// The page, through program.js.
EM_JS(void, pageEnded, (), { tellPage(['ended']); });
EM_JS(void, pageState, (int spinning, int filled), {
    tellPage([ 'state', !!spinning, !!filled ]);
});

// exit() cannot end a page: stop the spin and let the page say that Vexo has ended.
void ended() {
    glutIdleFunc(nullptr);
    pageEnded();
}

// A left-button event with `modifiers` held, as the manipulator's mouse callback takes it.
void button(int state, int modifiers, int x, int y) {
    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const int width = glutGet(GLUT_WINDOW_WIDTH);
    if (manipMouseEvent(GLUT_LEFT_BUTTON, state, x, y, modifiers, projection, width)) {
        manipRequestRedisplay();
    }
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

// Touch, as the drags it stands for, in drawing-buffer pixels. One finger turns as a
// Shift-drag does.
extern "C" EMSCRIPTEN_KEEPALIVE void webTurnBegin(int x, int y) {
    button(GLUT_DOWN, GLUT_ACTIVE_SHIFT, x, y);
}
extern "C" EMSCRIPTEN_KEEPALIVE void webTurnMove(int x, int y) { motion(x, y); }
extern "C" EMSCRIPTEN_KEEPALIVE void webTurnEnd(int x, int y) {
    button(GLUT_UP, GLUT_ACTIVE_SHIFT, x, y);
}

// Two fingers zoom as a Ctrl-drag does, by `spread`, their distance over the one they began
// with (twice as far apart, twice as large), and pan with their midpoint as an Alt-drag does.
extern "C" EMSCRIPTEN_KEEPALIVE void webPinchBegin(int x, int y) {
    g.pinchPixels = 0;
    g.middleX = x, g.middleY = y;
}
extern "C" EMSCRIPTEN_KEEPALIVE void webPinchMove(float spread, int x, int y) {
    // Two fingers that began on one spot have no spread to compare with: they only pan.
    if (spread > 0 && std::isfinite(spread)) {
        const long pixels = std::lround(manipZoomPixels(spread));
        if (pixels != g.pinchPixels) dragStep(GLUT_ACTIVE_CTRL, 0, g.pinchPixels, 0, pixels);
        g.pinchPixels = pixels;
    }
    if (x != g.middleX || y != g.middleY) dragStep(GLUT_ACTIVE_ALT, g.middleX, g.middleY, x, y);
    g.middleX = x, g.middleY = y;
}

// A double tap and the page's button: the view back at its start, as Home.
extern "C" EMSCRIPTEN_KEEPALIVE void webResetView() {
    if (manipSpecialEvent(GLUT_KEY_HOME, 0)) manipRequestRedisplay();
}

void platformWindowCreated(void (*)(bool)) {
    // WebGL has no default texture object: bind one for good, and the per-face uploads and
    // the filtering set by the scene all go to it. A hidden page's timers and frames are
    // already throttled by the browser.
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    manipSetQuitHook(ended);
    quitMenuSetHook(ended);
}

void platformPolygonMode(GLenum mode) { g.polygonMode = mode; }

GLenum platformFacePrimitive() { return g.polygonMode == GL_LINE ? GL_LINE_LOOP : GL_QUADS; }

void platformStateChanged(bool spinning, bool filled) { pageState(spinning, filled); }
