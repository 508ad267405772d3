// Vexo: a six-sided die spinning under three coloured lights.
#include <GL/glut.h>

#include <cstdio>

#include "command_line.h"
#include "viewer.h"

int main(int argc, char** argv) {
    // Answered, or refused, before GLUT opens a display; what is left is GLUT's own.
    const ViewerCommand command = viewerCommand(argc, argv);
    if (command != VIEWER_RUN) return viewerAnswer(command, stdout, stderr);
    if (viewerRefuses(argc, argv, stderr)) return 1;
    if (!viewerStart(&argc, argv)) return 1;
    glutMainLoop();
    return 0;
}
