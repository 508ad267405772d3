// Draws the viewer's frame as the program starts, its spin held, after the spin steps and keys
// given, at the size given, and writes it as a binary PPM: the README's screenshot, the icons, and
// the desktop's pictures that the page's are held against. Keys are named as the browser names
// them, modifiers first: x, Enter, Shift+ArrowUp, Ctrl+Alt+PageDown.
// Usage: frames OUT.ppm [WIDTHxHEIGHT] [+SPIN_STEPS] [KEY...]
#include <GL/freeglut.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <vexo/manipulator.h>
#include "keys.h"
#include "viewer.h"

namespace {

// Writes the frame to `path`, or says why it could not.
bool writeFrame(const char* path) {
    const int w = glutGet(GLUT_WINDOW_WIDTH), h = glutGet(GLUT_WINDOW_HEIGHT);
    renderFrame();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    std::vector<unsigned char> rgb(size_t(w) * h * 3);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    FILE* out = std::fopen(path, "wb");
    if (out) {
        std::fprintf(out, "P6\n%d %d\n255\n", w, h);
        for (int y = h - 1; y >= 0; --y)
            std::fwrite(&rgb[size_t(y) * w * 3], 1, size_t(w) * 3, out);
    }
    if (out && !std::ferror(out) && std::fclose(out) == 0) return true;
    std::fprintf(stderr, "frames: cannot write %s: %s\n", path, std::strerror(errno));
    return false;
}

// Runs GLUT's events until the window has the given size and has been reshaped to it, or says
// that the window system never gave it.
bool resized(int width, int height) {
    for (int i = 0; i < 100000; ++i) {
        glutMainLoopEvent();
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        if (viewport[2] == width && viewport[3] == height) return true;
    }
    std::fprintf(stderr, "frames: the window was never reshaped to %dx%d\n", width, height);
    return false;
}

// Gives the viewer a key named as the browser names it, as GLUT's callbacks would; false for a
// name that is no key of GLUT's.
bool press(const char* name) {
    static const struct {
        const char* prefix;
        int mask;
    } kModifiers[] = {
        {"Shift+", GLUT_ACTIVE_SHIFT}, {"Ctrl+", GLUT_ACTIVE_CTRL}, {"Alt+", GLUT_ACTIVE_ALT}};
    int modifiers = 0;
    for (bool more = true; more;) {
        more = false;
        for (const auto& m : kModifiers) {
            const size_t n = std::strlen(m.prefix);
            if (std::strncmp(name, m.prefix, n) != 0 || !name[n]) continue;
            name += n, modifiers |= m.mask, more = true;
        }
    }
    int special = 0;
    const int key = webKeyCode(name, modifiers & GLUT_ACTIVE_CTRL, &special);
    viewerKeyDone(viewerPressEvent(key, special, modifiers));
    return special || key;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: frames OUT.ppm [WIDTHxHEIGHT] [+SPIN_STEPS] [KEY...]\n");
        return 2;
    }
    int glutArgc = 1;
    if (!viewerStart(&glutArgc, argv)) return 2;
    glutIdleFunc(nullptr);
    int width = VIEWER_WINDOW_SIZE, height = VIEWER_WINDOW_SIZE;
    for (int i = 2; i < argc; ++i) {
        int w = 0, h = 0;
        char end = 0;
        if (std::sscanf(argv[i], "%dx%d%c", &w, &h, &end) == 2 && w > 0 && h > 0) {
            width = w, height = h;
            continue;
        }
        if (argv[i][0] == '+' && argv[i][1]) {
            for (int steps = std::atoi(argv[i] + 1); steps > 0; --steps) idle();
        } else if (!press(argv[i])) {
            std::fprintf(stderr, "frames: no key is named '%s'\n", argv[i]);
            return 2;
        }
    }
    if (!resized(VIEWER_WINDOW_SIZE, VIEWER_WINDOW_SIZE)) return 1;
    glutReshapeWindow(width, height);
    return resized(width, height) && writeFrame(argv[1]) ? 0 : 1;
}
