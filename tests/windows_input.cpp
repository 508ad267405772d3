// The tests' input on Windows: SendInput, as Windows' own input, at window coordinates of the
// viewer's window, the window of the current GL context. There is always a display.
#include <windows.h>

#include <cassert>

#include "display_support.h"

namespace {

HWND viewerWindow() { return WindowFromDC(wglGetCurrentDC()); }

WORD virtualKey(unsigned long keysym) {
    switch (keysym) {
        case XK_space: return VK_SPACE;
        case XK_Return: return VK_RETURN;
        case XK_Escape: return VK_ESCAPE;
        case XK_Home: return VK_HOME;
        case XK_Left: return VK_LEFT;
        case XK_Up: return VK_UP;
        case XK_Right: return VK_RIGHT;
        case XK_Down: return VK_DOWN;
        case XK_Prior: return VK_PRIOR;
        case XK_Next: return VK_NEXT;
        case XK_End: return VK_END;
        case XK_F1: return VK_F1;
        case XK_Shift_L: return VK_LSHIFT;
        case XK_Control_L: return VK_LCONTROL;
        case XK_Alt_L: return VK_LMENU;
    }
    assert(keysym >= 'a' && keysym <= 'z' && "a keysym the tests have no virtual key for");
    return static_cast<WORD>(keysym - 'a' + 'A');
}

// The navigation keys are the extended ones, beside the numeric keypad.
bool extended(WORD key) {
    return key == VK_HOME || key == VK_END || key == VK_PRIOR || key == VK_NEXT ||
           (key >= VK_LEFT && key <= VK_DOWN);
}

void send(INPUT input) { SendInput(1, &input, sizeof input); }

}  // namespace

void DisplayTest::SetUp() {}

void xMove(int x, int y) {
    POINT p{x, y};
    ClientToScreen(viewerWindow(), &p);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    send(input);
}

void xKey(unsigned long keysym, bool down) {
    SetForegroundWindow(viewerWindow());
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey(keysym);
    input.ki.dwFlags =
        (down ? 0 : KEYEVENTF_KEYUP) | (extended(input.ki.wVk) ? KEYEVENTF_EXTENDEDKEY : 0);
    send(input);
}

void xButton(unsigned button, bool down) {
    const DWORD flags[3][2] = {{MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN},
                               {MOUSEEVENTF_MIDDLEUP, MOUSEEVENTF_MIDDLEDOWN},
                               {MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_RIGHTDOWN}};
    assert(button >= 1 && button <= 3);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags[button - 1][down];
    send(input);
}
