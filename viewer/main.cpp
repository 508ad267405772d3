// Vexo: a six-sided die spinning under three coloured lights.
#include <GL/glut.h>

#include "viewer.h"

int main(int argc, char** argv) {
    viewerStart(&argc, argv);
    glutMainLoop();
    return 0;
}
