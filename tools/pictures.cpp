// Draws the README's screenshot and the picture the icons are cut from, in-process and at a
// fixed orientation, so that every run gives the same files. Writes binary PPM images.
// Usage: pictures SCREENSHOT.ppm ICON.ppm
#include <GL/freeglut.h>

#include <cstdio>
#include <vector>

#include "viewer.h"

namespace {

// Spin steps from the start: the die turned to show three faces.
constexpr int kSpinSteps = 140;
constexpr int kIconSize = 512;  // pixels, drawn large and scaled down by the script

bool writeFrame(const char* path) {
    const int w = glutGet(GLUT_WINDOW_WIDTH), h = glutGet(GLUT_WINDOW_HEIGHT);
    renderFrame();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    std::vector<unsigned char> rgb(size_t(w) * h * 3);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    FILE* out = std::fopen(path, "wb");
    if (!out) return false;
    std::fprintf(out, "P6\n%d %d\n255\n", w, h);
    for (int y = h - 1; y >= 0; --y) std::fwrite(&rgb[size_t(y) * w * 3], 1, size_t(w) * 3, out);
    return std::fclose(out) == 0;
}

// Runs GLUT's events until the window has the given size and has been reshaped to it.
bool settle(int size) {
    for (int i = 0; i < 100000; ++i) {
        glutMainLoopEvent();
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        if (viewport[2] == size && viewport[3] == size) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: pictures SCREENSHOT.ppm ICON.ppm\n");
        return 2;
    }
    int glutArgc = 1;
    if (!viewerStart(&glutArgc, argv)) return 2;
    glutIdleFunc(nullptr);
    for (int i = 0; i < kSpinSteps; ++i) idle();
    if (!settle(VIEWER_WINDOW_SIZE) || !writeFrame(argv[1])) return 1;
    glutReshapeWindow(kIconSize, kIconSize);
    if (!settle(kIconSize) || !writeFrame(argv[2])) return 1;
    return 0;
}
