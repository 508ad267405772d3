// What the compiler's GLUT lacks or does differently, filled in under GLUT's own names: menus,
// which the page draws (web/glue.js), a motion callback that sees the pointer's current
// position, and a glShadeModel that keeps quiet. Linked wherever GLUT is, below every module.
#include <GL/glut.h>
#include <emscripten.h>

#include "web.h"

namespace {

struct {
    void (*menu)(int) = nullptr;
    void (*motion)(int, int) = nullptr;
} g;

EM_JS(void, pageAddMenuEntry, (const char* label, int value),
      { vexoPage.addMenuEntry(UTF8ToString(label), value); });
EM_JS(void, pageAttachMenu, (int button), { vexoPage.attachMenu(button); });

}  // namespace

// Called by the page with the menu entry chosen, and with the pointer's current position during
// a drag (the compiler's GLUT hands the motion callback the previous one).
extern "C" EMSCRIPTEN_KEEPALIVE void webMenuChoose(int value) {
    if (g.menu) g.menu(value);
}
extern "C" EMSCRIPTEN_KEEPALIVE void webMotion(int x, int y) {
    if (g.motion) g.motion(x, y);
}

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
