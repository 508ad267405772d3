// Vexo: a six-sided die spinning under three coloured lights.
#include <GL/glut.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "viewer.h"

namespace {

// Prints `text` on stdout; a stdout that cannot take it (a full disk, a closed pipe) is an
// error, said on stderr.
int answer(const char* text) {
    if (std::fputs(text, stdout) >= 0 && std::fflush(stdout) == 0) return 0;
    std::fprintf(stderr, "vexo: cannot write to standard output: %s\n", std::strerror(errno));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before GLUT opens a display; every other argument is GLUT's.
    switch (viewerCommand(argc, argv)) {
        case VIEWER_HELP: return answer(viewerUsage());
        case VIEWER_VERSION: return answer((std::string("vexo ") + viewerVersion() + "\n").c_str());
        case VIEWER_RUN: break;
    }
    if (!viewerStart(&argc, argv)) {
        std::fprintf(stderr, "vexo: unknown option '%s'\n%s", argv[1], viewerUsage());
        return 1;
    }
    glutMainLoop();
    return 0;
}
