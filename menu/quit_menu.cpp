#include "quit_menu.h"

#include <GL/glut.h>

#include <cstdlib>

namespace {

struct {
    QuitMenuHook menuQuitHook = nullptr;
} g;

}  // namespace

void createQuitMenu() {
    glutCreateMenu(quitMenuHandler);
    glutAddMenuEntry("Quitter", QUIT_MENU_QUIT);
    glutAttachMenu(GLUT_RIGHT_BUTTON);
}

void quitMenuHandler(int value) {
    if (value == QUIT_MENU_QUIT) {
        if (g.menuQuitHook) g.menuQuitHook();
        std::exit(0);
    }
    glutPostRedisplay();
}

void quitMenuSetHook(QuitMenuHook hook) { g.menuQuitHook = hook; }

QuitMenuHook quitMenuHook() { return g.menuQuitHook; }
