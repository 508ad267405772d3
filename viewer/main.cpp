// Vexo: a six-sided die spinning under three coloured lights.
#include <GL/glut.h>

#include <cstdio>

#include "viewer.h"

int main(int argc, char** argv) {
    // Answered before GLUT opens a display; every other argument is GLUT's.
    const ViewerCommand command = viewerCommand(argc, argv);
    if (command != VIEWER_RUN) return viewerAnswer(command, stdout, stderr);
    if (!viewerStart(&argc, argv)) return 1;
    glutMainLoop();
    return 0;
}
