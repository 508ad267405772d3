// Windows: freeglut on Win32.
#include <windows.h>
// After windows.h, which GL's header needs first.
#include <GL/freeglut.h>

#include <cstdio>

#include "platform.h"

namespace {

struct {
    void (*shown)(bool) = nullptr;
    bool hidden = false;
    WNDPROC glutProcedure = nullptr;
} g;

// Vexo is a windowed program, so Windows opens no console for it. Run from one, what it says
// (--help, --version, a refused option) goes to that console, unless it is redirected already.
const bool gConsole = [] {
    if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN) return false;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
    return std::freopen("CONOUT$", "w", stdout) && std::freopen("CONOUT$", "w", stderr);
}();

// Alt let go on its own, as at the end of every Alt-drag, opens the window menu's keyboard loop
// (SC_KEYMENU): the next keys would go to that menu and GLUT's loop would wait for another.
// The window has no menu for the keyboard: the message is swallowed.
LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_SYSCOMMAND && (w & 0xFFF0) == SC_KEYMENU) return 0;
    return CallWindowProc(g.glutProcedure, window, message, w, l);
}

}  // namespace

void platformWindowCreated(void (*shown)(bool visible)) {
    g.shown = shown;
    HWND window = WindowFromDC(wglGetCurrentDC());
    if (!window) return;
    g.glutProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(windowProcedure)));
    glutWindowStatusFunc(platformWindowStatus);
}

// GLUT on Windows tells hidden (minimised) and shown; a window covered by others keeps spinning.
void platformWindowStatus(int state) {
    const bool hidden = state == GLUT_HIDDEN || state == GLUT_FULLY_COVERED;
    if (hidden != g.hidden && g.shown) g.shown(!hidden);
    g.hidden = hidden;
}
