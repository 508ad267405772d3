/* A lit teapot whose light two Ctrl+Alt drags turn: a GLUT program in C that uses every hook and
 * both parameter slots of the view manipulator (its guide, manipulator.md).
 *
 * Shift, Shift+Ctrl, Ctrl and Alt drags turn, zoom and pan the view, and the keys step it, as the
 * manipulator gives them. A Ctrl+Alt drag across moves the light's azimuth, up and down its
 * elevation, each within bounds; the change hook aims the light and prints where it points. The
 * redisplay hook shows the view's turns in the title before it asks for the frame. Escape runs
 * the quit hook, which says where the light was left, and ends the program. */
#include <GL/glut.h>
#include <math.h>
#include <stdio.h>
#include <vexo/manipulator.h>

#define DEGREE 0.017453292f    /* radians */
#define AZIMUTH_GAIN 0.5f      /* degrees per pixel across */
#define ELEVATION_GAIN (-0.5f) /* degrees per pixel down: dragging up raises the light */
#define AZIMUTH_LIMIT 90.0f    /* degrees either side of straight ahead */
#define ELEVATION_LIMIT 80.0f  /* degrees above or below the horizon */
#define HALF_VIEW 2.0          /* world units across the window's shorter side, halved */

static float azimuth = 30.0f, elevation = 30.0f; /* degrees: where the light comes from */
static int window;

/* Change hook: after each Ctrl+Alt step, aim the light, fixed to the viewer. */
static void aimLight(void) {
    const GLfloat direction[4] = {cosf(elevation * DEGREE) * sinf(azimuth * DEGREE),
                                  sinf(elevation * DEGREE),
                                  cosf(elevation * DEGREE) * cosf(azimuth * DEGREE), 0.0f};
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, direction);
    glPopMatrix();
    printf("light azimuth %.1f elevation %.1f\n", azimuth, elevation);
    fflush(stdout);
}

/* Redisplay hook: the manipulator asks for a frame; show the view's turns, then ask for it. */
static void redraw(void) {
    const ManipulatorState* view = manipState();
    char title[80];
    snprintf(title, sizeof title, "Light: view turned %.0f %.0f %.0f", view->rotX, view->rotY,
             view->rotZ);
    glutSetWindowTitle(title);
    glutPostWindowRedisplay(window);
}

/* Quit hook: Escape ends the program right after it. */
static void farewell(void) {
    printf("quit with the light at azimuth %.1f elevation %.1f\n", azimuth, elevation);
    fflush(stdout);
}

static void display(void) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    manipApplyTransform();
    manipApplyKeyRotation();
    glutSolidTeapot(1.0);
    glPopMatrix();
    glutSwapBuffers();
}

/* The view keeps its proportions: HALF_VIEW units each way across the shorter side. */
static void reshape(int width, int height) {
    const double aspect = (double)width / (height > 0 ? height : 1);
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (aspect >= 1) {
        glOrtho(-HALF_VIEW * aspect, HALF_VIEW * aspect, -HALF_VIEW, HALF_VIEW, -10, 10);
    } else {
        glOrtho(-HALF_VIEW, HALF_VIEW, -HALF_VIEW / aspect, HALF_VIEW / aspect, -10, 10);
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

/* Every key goes to the manipulator; this program has none of its own. */
static void keyboard(unsigned char key, int x, int y) {
    if (manipKeyboard(key, x, y)) manipRequestRedisplay();
}

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(300, 300);
    window = glutCreateWindow("Light");
    /* The library linked in, which for a static library is the header's. */
    printf("vexo-manipulator %d.%d.%d\n", manipVersion() / 10000, manipVersion() / 100 % 100,
           manipVersion() % 100);

    glClearColor(0.2f, 0.2f, 0.25f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_NORMALIZE);
    aimLight();

    if (!manipSetParamSlot(0, &azimuth, AZIMUTH_GAIN, -AZIMUTH_LIMIT, AZIMUTH_LIMIT) ||
        !manipSetParamSlot(1, &elevation, ELEVATION_GAIN, -ELEVATION_LIMIT, ELEVATION_LIMIT)) {
        fprintf(stderr, "light: the manipulator refused a slot\n");
        return 1;
    }
    manipSetChangeHook(aimLight);
    manipSetRedisplayHook(redraw);
    manipSetQuitHook(farewell);

    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    glutKeyboardFunc(keyboard);
    glutSpecialFunc(manipSpecialCallback);
    glutMouseFunc(manipMouseCallback);
    glutMotionFunc(manipMotionCallback);
    glutMainLoop();
    return 0;
}
