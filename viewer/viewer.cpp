#include "viewer.h"

#include <GL/glut.h>

#include <cmath>

#include "manipulator.h"
#include "projection.h"
#include "quit_menu.h"

namespace {

constexpr int kWindowSize = 250;
constexpr int kWindowPosition = 50;
constexpr float kBoxHalf = 3.5f;
constexpr float kBoxDepth = 500.0f;
constexpr float kDieSize = 3.6f;
constexpr float kSpinStepX = 0.31f;
constexpr float kSpinStepY = 0.37f;
constexpr float kSpinStepZ = 0.41f;

struct {
    ViewerState state{0.0f, 0.0f, 0.0f, 1, 1};
} g;

}  // namespace

const ViewerState& viewerState() { return g.state; }

float advanceSpin(float angle, float step) {
    float a = std::fmod(angle, 360.0f) + step;
    if (a >= 360.0f) a -= 360.0f;
    if (a < 0.0f) a += 360.0f;
    return a;
}

void viewerStart(int* argc, char** argv) {
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(kWindowSize, kWindowSize);
    glutInitWindowPosition(kWindowPosition, kWindowPosition);
    glutCreateWindow("Vexo");
    initScene();
    createQuitMenu();
    projectionSetBox(-kBoxHalf, kBoxHalf, -kBoxHalf, kBoxHalf, -kBoxDepth, kBoxDepth);
    manipSetPanGain(1.0f);
    glutReshapeFunc(projectionReshape);
    glutKeyboardFunc(keyboard);
    glutSpecialFunc(manipSpecialCallback);
    glutMotionFunc(manipMotionCallback);
    glutMouseFunc(manipMouseCallback);
    glutIdleFunc(idle);
    glutDisplayFunc(display);
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
    drawDie(kDieSize);
    glPopMatrix();
    glFlush();
}

void display() {
    renderFrame();
    glutSwapBuffers();
}

void idle() {
    g.state.spinX = advanceSpin(g.state.spinX, kSpinStepX);
    g.state.spinY = advanceSpin(g.state.spinY, kSpinStepY);
    g.state.spinZ = advanceSpin(g.state.spinZ, kSpinStepZ);
    glutPostRedisplay();
}

void keyboard(unsigned char key, int x, int y) {
    if (manipKeyboard(key, x, y)) {
        glutPostRedisplay();
        return;
    }
    switch (key) {
        case ' ':
            g.state.animating = !g.state.animating;
            glutIdleFunc(g.state.animating ? idle : nullptr);
            break;
        case 13:
            g.state.filled = !g.state.filled;
            glPolygonMode(GL_FRONT_AND_BACK, g.state.filled ? GL_FILL : GL_LINE);
            glutPostRedisplay();
            break;
        default: break;
    }
}
