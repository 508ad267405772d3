// The web page: the compiler's GLUT and its emulation of the fixed-function pipeline over
// WebGL. What that GLUT lacks or does differently is put right here and in glue.js.
#include <GL/glut.h>
#include <emscripten.h>

#include "manipulator.h"
#include "platform.h"
#include "quit_menu.h"
#include "viewer.h"

namespace {

struct {
    GLenum polygonMode = GL_FILL;
    void (*menu)(int) = nullptr;
    void (*motion)(int, int) = nullptr;
} g;

// The page's side, in web/glue.js.
EM_JS(void, pageAddMenuEntry, (const char* label, int value),
      { vexoPage.addMenuEntry(UTF8ToString(label), value); });
EM_JS(void, pageAttachMenu, (int button), { vexoPage.attachMenu(button); });
EM_JS(void, pageEnded, (), { vexoPage.ended(); });

// exit() cannot end a page: stop the spin and let the page say that Vexo has ended.
void ended() {
    glutIdleFunc(nullptr);
    pageEnded();
}

}  // namespace

// Called by the page with the menu entry chosen and with the pointer's current position
// during a drag (the compiler's GLUT hands the motion callback the previous one).
extern "C" EMSCRIPTEN_KEEPALIVE void webMenuChoose(int value) {
    if (g.menu) g.menu(value);
}
extern "C" EMSCRIPTEN_KEEPALIVE void webMotion(int x, int y) {
    if (g.motion) g.motion(x, y);
}
// What the page shows of the program's state: bit 0 while the die spins, bit 1 for faces.
extern "C" EMSCRIPTEN_KEEPALIVE int webViewerFlags() {
    const ViewerState& s = viewerState();
    return (s.animating ? 1 : 0) | (s.filled ? 2 : 0);
}

// The compiler's GLUT has neither menus nor a motion callback that sees the current position.
int glutCreateMenu(void (*callback)(int)) {
    g.menu = callback;
    return 1;
}
void glutAddMenuEntry(const char* label, int value) { pageAddMenuEntry(label, value); }
void glutAttachMenu(int button) { pageAttachMenu(button); }
void glutMotionFunc(void (*callback)(int, int)) { g.motion = callback; }

// The emulation shades smoothly only, which is what the scene asks for; its own glShadeModel
// does nothing but print a to-do note in the console.
void glShadeModel(GLenum) {}

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
