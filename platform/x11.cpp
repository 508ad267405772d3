// The desktop: freeglut on X11.
#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "platform.h"

namespace {

// How often a hidden window is checked for having been destroyed meanwhile, in milliseconds.
constexpr unsigned kHiddenCheckMs = 1000;

struct {
    Display* display = nullptr;
    Window window = 0;
    void (*shown)(bool) = nullptr;
    bool hidden = false;
} g;

bool gXError = false;
int noteXError(Display*, XErrorEvent*) {
    gXError = true;
    return 0;
}

// Ends the program when its window has gone: a failure of the window system, not a quit. No
// exit handler runs, since GLUT's would try to destroy the window that is no longer there.
[[noreturn]] void windowWasDestroyed() {
    std::fprintf(stderr, "vexo: the window was destroyed by another program\n");
    std::_Exit(1);
}

// xkill, or the display going away, closes the connection itself: say so in one line rather than
// in the X library's words, and end as for a destroyed window.
[[noreturn]] int connectionClosed(Display*) {
    std::fprintf(stderr,
                 "vexo: the display closed the connection: killed by another program, or "
                 "the display ended\n");
    std::_Exit(1);
}

// A frame already on its way when the window is destroyed fails with an X error about it:
// say what happened in one line. Every other error goes to the handler there was before.
XErrorHandler gPreviousHandler = nullptr;
int onXError(Display* display, XErrorEvent* error) {
    const bool ours = error->resourceid == g.window;
    if (ours && (error->error_code == BadWindow || error->error_code == BadDrawable)) {
        windowWasDestroyed();
    }
    return gPreviousHandler ? gPreviousHandler(display, error) : 0;
}

// GLUT goes on as if nothing happened when another client destroys its window; with the spin
// stopped the process would wait for ever with no window. Ask the server whether it is still
// there, catching the error ourselves rather than letting an X error handler end the process.
bool windowGone() {
    XSync(g.display, False);
    gXError = false;
    XErrorHandler previous = XSetErrorHandler(noteXError);
    XWindowAttributes attributes;
    XGetWindowAttributes(g.display, g.window, &attributes);
    XSync(g.display, False);
    XSetErrorHandler(previous);
    return gXError;
}

void endIfGone() {
    if (windowGone()) windowWasDestroyed();
}

// A destroyed window is first unmapped, so the check runs on every hide; a window destroyed
// while already hidden is caught by the slow check that runs only while hidden.
void checkWhileHidden(int) {
    if (!g.hidden) return;
    endIfGone();
    glutTimerFunc(kHiddenCheckMs, checkWhileHidden, 0);
}

// WM_CLASS ties the window to vexo.desktop in docks and task bars; _NET_WM_PID, with the
// WM_CLIENT_MACHINE it is only meaningful beside, lets them and the tests find its process.
void nameWindow() {
    char name[] = "vexo", klass[] = "Vexo";
    XClassHint hint{name, klass};
    XSetClassHint(g.display, g.window, &hint);

    char host[256] = {};
    gethostname(host, sizeof host - 1);
    char* hostList[] = {host};
    XTextProperty machine;
    if (XStringListToTextProperty(hostList, 1, &machine)) {
        XSetWMClientMachine(g.display, g.window, &machine);
        XFree(machine.value);
    }
    const unsigned long pid = static_cast<unsigned long>(getpid());
    XChangeProperty(g.display, g.window, XInternAtom(g.display, "_NET_WM_PID", False), XA_CARDINAL,
                    32, PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
}

}  // namespace

void platformWindowCreated(void (*shown)(bool visible)) {
    g.display = glXGetCurrentDisplay();
    g.window = glXGetCurrentDrawable();
    g.shown = shown;
    if (!g.display || !g.window) return;
    nameWindow();
    gPreviousHandler = XSetErrorHandler(onXError);
    XSetIOErrorHandler(connectionClosed);
    // A write to a connection the server has closed would end the process by SIGPIPE, silently,
    // before the X library could report it.
    std::signal(SIGPIPE, SIG_IGN);
    glutWindowStatusFunc(platformWindowStatus);
}

// A window fully covered by others rests like a hidden one: nothing of the spin would show.
void platformWindowStatus(int state) {
    const bool hidden = state == GLUT_HIDDEN || state == GLUT_FULLY_COVERED;
    if (hidden) endIfGone();
    if (hidden && !g.hidden) glutTimerFunc(kHiddenCheckMs, checkWhileHidden, 0);
    if (hidden != g.hidden && g.shown) g.shown(!hidden);
    g.hidden = hidden;
}
