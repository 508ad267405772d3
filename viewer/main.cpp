// Vexo: a six-sided die spinning under three coloured lights.
#include <GL/glut.h>

#include <cstdio>

#include "viewer.h"

int main(int argc, char** argv) {
    // Answered before GLUT opens a display; every other argument is GLUT's.
    switch (viewerCommand(argc, argv)) {
        case VIEWER_HELP: std::fputs(viewerUsage(), stdout); return 0;
        case VIEWER_VERSION: std::printf("vexo %s\n", viewerVersion()); return 0;
        case VIEWER_RUN: break;
    }
    viewerStart(&argc, argv);
    glutMainLoop();
    return 0;
}
