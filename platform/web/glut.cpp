// GLUT for the page, under GLUT's own names: the window is the canvas the page gives the program
// (its own, or one handed to the worker the program runs on), frames come with the browser's,
// idle runs once after each frame, and input comes from the page (page/, through
// web/program.js) to the functions below. Menus are drawn by the page. Linked wherever GLUT is,
// below every module.
#include <GL/glut.h>
#include <emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include <cstdlib>

#include "gl.h"
#include "keys.h"
#include "web.h"

namespace {

constexpr int kAgain = 5;  // frames drawn again after the last that something asked for

struct {
    unsigned displayMode = 0;
    int width = 0, height = 0;  // the canvas's drawing buffer
    int x = 0, y = 0;           // the pointer, as last seen
    int modifiers = 0;          // GLUT_ACTIVE_* of the event being handled
    bool posted = false, framePending = false, idlePending = false, drawn = false;
    int again = 0;
    void (*display)() = nullptr;
    void (*reshape)(int, int) = nullptr;
    void (*keyboard)(unsigned char, int, int) = nullptr;
    void (*special)(int, int, int) = nullptr;
    void (*mouse)(int, int, int, int) = nullptr;
    void (*motion)(int, int) = nullptr;
    void (*idle)() = nullptr;
    void (*menu)(int) = nullptr;
} g;

// The page, through program.js. The JavaScript inside EM_JS is no C++: clang-format's versions
// lay it out differently.
// clang-format off
EM_JS(void, pageAddMenuEntry, (const char* label, int value), {
    tellPage([ 'menuEntry', UTF8ToString(label), value ]);
});
EM_JS(void, pageAttachMenu, (int button), { tellPage([ 'attachMenu', button ]); });
EM_JS(void, pageFirstFrame, (), { tellPage(['started']); });
EM_JS(void, pageNoWebGL, (), { tellPage(['noWebGL']); });
// The canvas's WebGL context, made GL's current one; 0 if the browser gives none. The canvas may
// be the page's own or one handed to a worker, where no document could find it.
EM_JS(int, pageCreateContext, (int alpha, int depth, int stencil, int antialias), {
    var handle = GL.createContext(Module['canvas'], {
        majorVersion : 1,
        alpha : !!alpha,
        depth : !!depth,
        stencil : !!stencil,
        antialias : !!antialias
    });
    if (handle) GL.makeContextCurrent(handle);
    return handle;
});
EM_JS(int, pageCanvasWidth, (), { return Module['canvas'].width; });
EM_JS(int, pageCanvasHeight, (), { return Module['canvas'].height; });
// clang-format on

void idleSoon();
void frameSoon();

// Until the page's shaders are linked a draw would wait for them, a long stall of the page:
// the first frame waits instead, a browser frame at a time.
EM_BOOL frame(double, void*) {
    g.framePending = false;
    if (!webGlReady()) {
        frameSoon();
        return EM_FALSE;
    }
    if (g.posted && g.display) {
        g.posted = false;
        g.display();
        if (!g.drawn) g.drawn = true, pageFirstFrame();
        // WebKit shows a worker's frame only once a later one is drawn, and may drop those drawn
        // as the page loads: the last frame for now is drawn a few times more, so that a die
        // held still shows as it was left.
        g.again = kAgain;
        frameSoon();
    } else if (g.again && g.display) {
        --g.again;
        g.display();
        if (g.again) frameSoon();
    }
    idleSoon();
    return EM_FALSE;
}

void frameSoon() {
    if (g.framePending) return;
    g.framePending = true;
    emscripten_request_animation_frame(frame, nullptr);
}

// Idle is called when the last frame asked for is drawn, so a spin advances once a frame.
void runIdle(void*) {
    g.idlePending = false;
    if (!g.idle) return;
    g.idle();
    if (!g.framePending) idleSoon();
}

void idleSoon() {
    if (g.idlePending || !g.idle) return;
    g.idlePending = true;
    emscripten_set_timeout(runIdle, 0, nullptr);
}

void setModifiers(int shift, int ctrl, int alt) {
    g.modifiers = (shift ? GLUT_ACTIVE_SHIFT : 0) | (ctrl ? GLUT_ACTIVE_CTRL : 0) |
                  (alt ? GLUT_ACTIVE_ALT : 0);
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void webKey(const char* name, int shift, int ctrl, int alt) {
    int special = 0;
    const int key = webKeyCode(name, ctrl, &special);
    setModifiers(shift, ctrl, alt);
    if (special && g.special) g.special(special, g.x, g.y);
    if (key && g.keyboard) g.keyboard(static_cast<unsigned char>(key), g.x, g.y);
    g.modifiers = 0;
}

// The page's buttons are numbered as GLUT's: left 0, middle 1, right 2.
EMSCRIPTEN_KEEPALIVE void webMouse(int button, int down, int x, int y, int shift, int ctrl,
                                   int alt) {
    g.x = x, g.y = y;
    setModifiers(shift, ctrl, alt);
    if (g.mouse) g.mouse(button, down ? GLUT_DOWN : GLUT_UP, x, y);
    g.modifiers = 0;
}

EMSCRIPTEN_KEEPALIVE void webMotion(int x, int y) {
    g.x = x, g.y = y;
    if (g.motion) g.motion(x, y);
}

EMSCRIPTEN_KEEPALIVE void webReshape(int width, int height, float density) {
    g.width = width, g.height = height;
    webGlSetDensity(density);
    if (g.reshape)
        g.reshape(width, height);
    else
        glViewport(0, 0, width, height);
    glutPostRedisplay();
}

EMSCRIPTEN_KEEPALIVE void webMenuChoose(int value) {
    if (g.menu) g.menu(value);
}

// The program called exit(), which cannot end a page: no frame or idle call comes after it.
EMSCRIPTEN_KEEPALIVE void webEnd() {
    g.idle = nullptr;
    g.display = nullptr;
}

}  // extern "C"

void glutInit(int*, char**) {}
void glutInitDisplayMode(unsigned int mode) { g.displayMode = mode; }
void glutInitWindowSize(int, int) {}      // the page sizes the canvas
void glutInitWindowPosition(int, int) {}  // and places it

// With no WebGL there is no window: the page is told, to run the program where it can or to say
// so, and the program ends, as the desktop's GLUT ends one that can open no window.
int glutCreateWindow(const char*) {
    const auto has = [](unsigned mode) { return (g.displayMode & mode) != 0; };
    if (!pageCreateContext(has(GLUT_ALPHA), has(GLUT_DEPTH), has(GLUT_STENCIL),
                           has(GLUT_MULTISAMPLE))) {
        pageNoWebGL();
        std::exit(1);
    }
    g.width = pageCanvasWidth(), g.height = pageCanvasHeight();
    return 1;
}

void glutDisplayFunc(void (*callback)()) { g.display = callback; }
void glutReshapeFunc(void (*callback)(int, int)) { g.reshape = callback; }
void glutKeyboardFunc(void (*callback)(unsigned char, int, int)) { g.keyboard = callback; }
void glutSpecialFunc(void (*callback)(int, int, int)) { g.special = callback; }
void glutMouseFunc(void (*callback)(int, int, int, int)) { g.mouse = callback; }
void glutMotionFunc(void (*callback)(int, int)) { g.motion = callback; }
void glutIdleFunc(void (*callback)()) {
    g.idle = callback;
    idleSoon();
}

void glutPostRedisplay() {
    g.posted = true;
    frameSoon();
}
void glutSwapBuffers() {}  // the browser shows each frame once drawn

int glutGet(GLenum query) {
    switch (query) {
        case GLUT_WINDOW_WIDTH: return g.width;
        case GLUT_WINDOW_HEIGHT: return g.height;
        case GLUT_WINDOW_X:
        case GLUT_WINDOW_Y: return 0;
        case GLUT_ELAPSED_TIME: return static_cast<int>(emscripten_get_now());
        default: return -1;
    }
}
int glutGetModifiers() { return g.modifiers; }

int glutCreateMenu(void (*callback)(int)) {
    g.menu = callback;
    return 1;
}
void glutAddMenuEntry(const char* label, int value) { pageAddMenuEntry(label, value); }
void glutAttachMenu(int button) { pageAttachMenu(button); }

// The first frame's size, then the browser's frames; the page keeps running after main.
void glutMainLoop() {
    webReshape(g.width, g.height, 1);
    emscripten_exit_with_live_runtime();
}
