#include "viewer.h"
#include "die.h"
#include "scene.h"

#include <GL/glut.h>

#include <vexo/manipulator.h>

#include <cassert>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <string>

#include "platform.h"
#include "projection.h"
#include "quit_menu.h"

#ifndef VEXO_VERSION
#define VEXO_VERSION "unknown"
#endif

namespace {

constexpr ViewerState kStartState{0.0f, 0.0f, 0.0f, 1, 1, 1};

struct {
    ViewerState state = kStartState;
} g;

// The controls as --help lists them, made from data/controls.txt by the build.
struct Control {
    const char* input;
    const char* does;
};
constexpr Control kControls[] = {
#include "controls.inc"
};

void windowShown(bool visible) {
    if (!viewerVisibilityEvent(visible)) return;
    glutIdleFunc(viewerSpins() ? idle : nullptr);
}

}  // namespace

const ViewerState& viewerState() { return g.state; }

void viewerReset() { g.state = kStartState; }

float advanceSpin(float angle, float step) {
    float a = std::fmod(angle, 360.0f) + step;
    if (a >= 360.0f) a -= 360.0f;
    if (a < 0.0f) a += 360.0f;
    return a;
}

ViewerCommand viewerCommand(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) return VIEWER_HELP;
        if (!std::strcmp(argv[i], "--version")) return VIEWER_VERSION;
    }
    return VIEWER_RUN;
}

const char* viewerUsage() {
    static const std::string usage = [] {
        std::string text =
            "Usage: vexo [GLUT options]\n"
            "       vexo --help | --version\n"
            "\n"
            "A six-sided die spinning in a window under three coloured lights.\n"
            "GLUT's own options (-display NAME, -geometry, -sync, ...) are accepted; the\n"
            "window always opens at 250 x 250.\n"
            "\n";
        for (const Control& c : kControls)
            text += std::string("  ") + c.input + "\n      " + c.does + "\n";
        return text;
    }();
    return usage.c_str();
}

const char* viewerVersion() { return VEXO_VERSION; }

int viewerAnswer(ViewerCommand command, std::FILE* out, std::FILE* err) {
    assert(command != VIEWER_RUN && "running is no answer");
    const std::string text =
        command == VIEWER_HELP ? viewerUsage() : std::string("vexo ") + viewerVersion() + "\n";
    if (std::fputs(text.c_str(), out) >= 0 && std::fflush(out) == 0) return 0;
    std::fprintf(err, "vexo: cannot write to standard output: %s\n", std::strerror(errno));
    return 1;
}

int viewerUnknownArgument(int argc, const char* const* argv) {
    static const char* const kWithValue[] = {"-display", "-geometry"};
    static const char* const kFlags[] = {"-iconic", "-indirect", "-direct", "-gldebug", "-sync"};
    auto among = [](const char* arg, auto& names) {
        for (const char* name : names)
            if (!std::strcmp(arg, name)) return true;
        return false;
    };
    for (int i = 1; i < argc; ++i) {
        if (among(argv[i], kFlags)) continue;
        if (among(argv[i], kWithValue) && i + 1 < argc) {
            ++i;
            continue;
        }
        return i;
    }
    return 0;
}

bool viewerRefuses(int argc, const char* const* argv, std::FILE* err) {
    const int unknown = viewerUnknownArgument(argc, argv);
    if (!unknown) return false;
    std::fprintf(err, "vexo: unknown option '%s'\n%s", argv[unknown], viewerUsage());
    return true;
}

bool viewerStart(int* argc, char** argv) {
    glutInit(argc, argv);
    if (viewerRefuses(*argc, argv, stderr)) return false;
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(VIEWER_WINDOW_SIZE, VIEWER_WINDOW_SIZE);
    glutInitWindowPosition(VIEWER_WINDOW_POSITION, VIEWER_WINDOW_POSITION);
    glutCreateWindow("Vexo");
    platformWindowCreated(windowShown);
    platformStateChanged(g.state.animating, g.state.filled);
    initScene();
    createQuitMenu();
    projectionSetBox(-VIEWER_BOX_HALF, VIEWER_BOX_HALF, -VIEWER_BOX_HALF, VIEWER_BOX_HALF,
                     -VIEWER_BOX_DEPTH, VIEWER_BOX_DEPTH);
    manipSetPanGain(1.0f);
    glutReshapeFunc(projectionReshape);
    glutKeyboardFunc(keyboard);
    glutSpecialFunc(manipSpecialCallback);
    glutMotionFunc(manipMotionCallback);
    glutMouseFunc(manipMouseCallback);
    glutIdleFunc(idle);
    glutDisplayFunc(display);
    return true;
}

void applyViewTransform() {
    manipApplyTransform();
    manipApplyKeyRotation();
    glRotatef(g.state.spinX, 1, 0, 0);
    glRotatef(g.state.spinY, 0, 1, 0);
    glRotatef(g.state.spinZ, 0, 0, 1);
}

void renderFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    applyViewTransform();
    drawDie(VIEWER_DIE_SIZE);
    glPopMatrix();
    glFlush();
}

void display() {
    renderFrame();
    glutSwapBuffers();
}

void idle() {
    g.state.spinX = advanceSpin(g.state.spinX, VIEWER_SPIN_STEP[0]);
    g.state.spinY = advanceSpin(g.state.spinY, VIEWER_SPIN_STEP[1]);
    g.state.spinZ = advanceSpin(g.state.spinZ, VIEWER_SPIN_STEP[2]);
    glutPostRedisplay();
}

bool viewerSpins() { return g.state.animating && g.state.visible; }

bool viewerVisibilityEvent(bool visible) {
    const bool spun = viewerSpins();
    g.state.visible = visible;
    return spun != viewerSpins();
}

ViewerKeyAction viewerKeyEvent(unsigned char key, int modifiers) {
    if (manipKeyboardEvent(key, modifiers)) return VIEWER_KEY_REDRAW;
    switch (key) {
        case ' ': g.state.animating = !g.state.animating; return VIEWER_KEY_SPIN;
        case MANIP_KEY_ENTER: g.state.filled = !g.state.filled; return VIEWER_KEY_FILL;
        default: return VIEWER_KEY_IGNORED;
    }
}

void viewerKey(unsigned char key, int modifiers) {
    const ViewerKeyAction action = viewerKeyEvent(key, modifiers);
    switch (action) {
        case VIEWER_KEY_REDRAW: glutPostRedisplay(); break;
        case VIEWER_KEY_SPIN:
            glutIdleFunc(viewerSpins() ? idle : nullptr);
            platformStateChanged(g.state.animating, g.state.filled);
            break;
        case VIEWER_KEY_FILL:
            platformPolygonMode(g.state.filled ? GL_FILL : GL_LINE);
            platformStateChanged(g.state.animating, g.state.filled);
            glutPostRedisplay();
            break;
        case VIEWER_KEY_IGNORED: break;
    }
}

void keyboard(unsigned char key, int, int) { viewerKey(key, glutGetModifiers()); }
