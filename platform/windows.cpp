// Windows: freeglut on Win32.
#include <windows.h>
// After windows.h, which GL's header needs first.
#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>

#include "platform.h"

namespace {

struct {
    void (*shown)(bool) = nullptr;
    bool hidden = false;
    WNDPROC glutProcedure = nullptr;
    bool hadXWindow = false;
} g;

// Under Wine the window is also an X window, which another X client can destroy (a window
// manager's kill, `xdotool windowclose`): Wine then drops the property that names it, but the
// window lives on without pixels and GLUT would spin for ever. Looked for four times a second;
// on Windows itself the property never exists and the check finds nothing.
constexpr char kXWindowProperty[] = "__wine_x11_whole_window";
constexpr UINT_PTR kGoneTimer = 1;
constexpr UINT kGoneCheckMs = 250;

// Ends the program when its window has gone, as on Linux: a failure, not a quit.
void checkWindowGone(HWND window) {
    const bool xWindow = GetPropA(window, kXWindowProperty) != nullptr;
    if (g.hadXWindow && !xWindow) {
        std::fprintf(stderr, "vexo: the window was destroyed by another program\n");
        std::fflush(stderr);
        std::_Exit(1);
    }
    g.hadXWindow = xWindow;
}

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
//
// Windows reads Ctrl+Alt as AltGr, for which Escape makes no character, so Ctrl+Alt+Escape would
// never reach GLUT's keyboard callback: it is given the Escape character that every other set
// of modifiers gives, unless the key's translation, already queued, brought one.
LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    // Seen with any message, not only at the check: a window destroyed before the first check
    // must not pass for one that never had an X window.
    if (!g.hadXWindow) g.hadXWindow = GetPropA(window, kXWindowProperty) != nullptr;
    if (message == WM_SYSCOMMAND && (w & 0xFFF0) == SC_KEYMENU) return 0;
    if (message == WM_TIMER && w == kGoneTimer) {
        checkWindowGone(window);
        return 0;
    }
    if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && w == VK_ESCAPE &&
        GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) < 0) {
        MSG queued;
        if (!PeekMessage(&queued, window, WM_CHAR, WM_CHAR, PM_NOREMOVE) &&
            !PeekMessage(&queued, window, WM_SYSCHAR, WM_SYSCHAR, PM_NOREMOVE))
            PostMessage(window, WM_CHAR, VK_ESCAPE, l);
    }
    return CallWindowProc(g.glutProcedure, window, message, w, l);
}

}  // namespace

void platformWindowCreated(void (*shown)(bool visible)) {
    g.shown = shown;
    HWND window = WindowFromDC(wglGetCurrentDC());
    if (!window) return;
    g.glutProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(windowProcedure)));
    SetTimer(window, kGoneTimer, kGoneCheckMs, nullptr);
    glutWindowStatusFunc(platformWindowStatus);
}

// GLUT on Windows tells hidden (minimised) and shown; a window covered by others keeps spinning.
void platformWindowStatus(int state) {
    const bool hidden = state == GLUT_HIDDEN || state == GLUT_FULLY_COVERED;
    if (hidden != g.hidden && g.shown) g.shown(!hidden);
    g.hidden = hidden;
}
