#include "viewer.h"
#include "die.h"
#include "scene.h"

#include <GL/glut.h>

#include <vexo/manipulator.h>

#include <cmath>

#include "command_line.h"
#include "platform.h"
#include "projection.h"
#include "quit_menu.h"

namespace {

constexpr ViewerState kStartState{0.0f, 0.0f, 0.0f, 1, 1, 1};

struct {
    ViewerState state = kStartState;
} g;

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

ViewerKeyAction viewerPressEvent(int key, int special, int modifiers) {
    if (special)
        return manipSpecialEvent(special, modifiers) ? VIEWER_KEY_REDRAW : VIEWER_KEY_IGNORED;
    if (key <= 0 || key > 255) return VIEWER_KEY_IGNORED;
    return viewerKeyEvent(static_cast<unsigned char>(key), modifiers);
}

void viewerKey(unsigned char key, int modifiers) { viewerKeyDone(viewerKeyEvent(key, modifiers)); }

void viewerKeyDone(ViewerKeyAction action) {
    switch (action) {
        case VIEWER_KEY_REDRAW: glutPostRedisplay(); break;
        case VIEWER_KEY_SPIN:
            glutIdleFunc(viewerSpins() ? idle : nullptr);
            platformStateChanged(g.state.animating, g.state.filled);
            break;
        case VIEWER_KEY_FILL:
            glPolygonMode(GL_FRONT_AND_BACK, g.state.filled ? GL_FILL : GL_LINE);
            platformStateChanged(g.state.animating, g.state.filled);
            glutPostRedisplay();
            break;
        case VIEWER_KEY_IGNORED: break;
    }
}

void keyboard(unsigned char key, int, int) { viewerKey(key, glutGetModifiers()); }
