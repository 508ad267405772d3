// Frame benchmark. In one run, on one X server and in one 250 x 250 window, it times the
// viewer's real frame (idle then display, six image uploads included) against the floor of
// any frame (clear and swap), in interleaved rounds so that a noisy machine cannot favour
// either; then glxgears at the same size, counted the same way (buffer swaps over a fixed
// time); then the vexo executable's time to its first drawn frame and its peak memory.
// Prints a Markdown table. Usage: frame_bench [PATH_TO_VEXO]
#include <GL/freeglut.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "die.h"
#include "viewer.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRounds = 7;
constexpr double kRoundSeconds = 0.5;

double seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

double cpuSeconds() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Figures {
    double fps = 0, cpuMicros = 0;
};

// Frames per second and CPU microseconds per frame of `frame`, over one round.
Figures timeRound(void (*frame)()) {
    const double cpu0 = cpuSeconds();
    const auto t0 = Clock::now();
    long frames = 0;
    double elapsed = 0;
    while (elapsed < kRoundSeconds) {
        frame();
        glutMainLoopEvent();
        ++frames;
        elapsed = seconds(t0, Clock::now());
    }
    return {frames / elapsed, (cpuSeconds() - cpu0) * 1e6 / frames};
}

void realFrame() {
    idle();
    display();
}

// The same picture with the six images kept in texture objects: what the per-face uploads
// cost. Used for comparison only; the viewer sends each image every frame.
GLuint gTextures[6];
void boundFrame() {
    idle();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    applyViewTransform();
    const float h = VIEWER_DIE_SIZE / 2;
    for (int i = 0; i < DIE_FACE_COUNT; ++i) {
        const DieFace& f = dieFaces()[i];
        glBindTexture(GL_TEXTURE_2D, gTextures[f.pips - 1]);
        glBegin(GL_QUADS);
        glNormal3fv(f.normal);
        for (int k = 0; k < 4; ++k) {
            glTexCoord2fv(f.st[k]);
            glVertex3f(f.corner[k][0] * h, f.corner[k][1] * h, f.corner[k][2] * h);
        }
        glEnd();
    }
    glPopMatrix();
    glFlush();
    glutSwapBuffers();
    glBindTexture(GL_TEXTURE_2D, 0);  // the viewer's uploads go to the default texture
}

void makeTextures() {
    glGenTextures(6, gTextures);
    for (int n = 1; n <= 6; ++n) {
        glBindTexture(GL_TEXTURE_2D, gTextures[n - 1]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, 3, DIE_TEXTURE_SIZE, DIE_TEXTURE_SIZE, 0, GL_RGB,
                     GL_UNSIGNED_BYTE, dieTexture(n).texels);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
}

void floorFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}

struct Child {
    pid_t pid = -1;
    int out = -1;  // its standard output
};

// Starts `args`, its standard output piped to the bench; ends the bench if it cannot.
Child spawn(const std::vector<std::string>& args) {
    int pipefd[2];
    Child c;
    if (pipe(pipefd) == 0) c.pid = fork();
    if (c.pid < 0) {
        std::fprintf(stderr, "frame_bench: cannot start %s: %s\n", args[0].c_str(),
                     std::strerror(errno));
        std::exit(1);
    }
    if (c.pid == 0) {
        dup2(pipefd[1], 1);
        close(pipefd[0]);
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipefd[1]);
    c.out = pipefd[0];
    return c;
}

// Ends the child and returns its resource usage.
rusage reap(const Child& c) {
    kill(c.pid, SIGTERM);
    rusage usage{};
    int status;
    wait4(c.pid, &status, 0, &usage);
    if (c.out >= 0) close(c.out);
    return usage;
}

double cpuOf(const rusage& u) {
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

// glxgears reports the swaps it made in each five seconds; runs it for three reports.
Figures glxgears(double* peakMiB) {
    Child c = spawn({"glxgears", "-geometry", "250x250+400+50"});
    if (c.pid < 0) return {};
    std::string text;
    char buffer[512];
    std::vector<double> fps;
    long frames = 0;
    while (fps.size() < 3) {
        const ssize_t n = read(c.out, buffer, sizeof buffer);
        if (n <= 0) break;
        text.append(buffer, n);
        size_t eol;
        while ((eol = text.find('\n')) != std::string::npos) {
            long f;
            double s, r;
            if (std::sscanf(text.c_str(), "%ld frames in %lf seconds = %lf FPS", &f, &s, &r) == 3) {
                fps.push_back(r);
                frames += f;
            }
            text.erase(0, eol + 1);
        }
    }
    const rusage u = reap(c);
    *peakMiB = u.ru_maxrss / 1024.0;
    if (fps.empty()) return {};
    return {median(fps), cpuOf(u) * 1e6 / std::max(1L, frames)};
}

// The window named `name` below `parent`, other than `other`, or 0.
Window findWindow(Display* d, Window parent, const char* name, Window other = 0) {
    char* title = nullptr;
    if (parent != other && XFetchName(d, parent, &title) && title) {
        const bool match = std::strcmp(title, name) == 0;
        XFree(title);
        if (match) return parent;
    }
    Window root, up, *children = nullptr;
    unsigned n = 0;
    Window found = 0;
    if (XQueryTree(d, parent, &root, &up, &children, &n)) {
        for (unsigned i = 0; i < n && !found; ++i) found = findWindow(d, children[i], name, other);
        if (children) XFree(children);
    }
    return found;
}

// Seconds from starting vexo to the die's first pixels in its window, and its peak memory
// after a second of spinning.
double firstFrame(const char* exe, double* peakMiB) {
    Display* d = XOpenDisplay(nullptr);
    // Windows come and go while it looks: ignore the errors of those already gone.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    const Window own = d ? findWindow(d, DefaultRootWindow(d), "Vexo") : 0;  // this program's
    const auto t0 = Clock::now();
    Child c = spawn({exe});
    double result = -1;
    while (d && result < 0 && seconds(t0, Clock::now()) < 20) {
        if (Window w = findWindow(d, DefaultRootWindow(d), "Vexo", own)) {
            XImage* centre = XGetImage(d, w, 125, 125, 1, 1, AllPlanes, ZPixmap);
            if (centre) {
                const unsigned long p = XGetPixel(centre, 0, 0);
                const int r = (p >> 16) & 0xff, g = (p >> 8) & 0xff;
                if (r != g) result = seconds(t0, Clock::now());  // lit die, not grey
                XDestroyImage(centre);
            }
        }
        usleep(1000);
    }
    sleep(1);
    *peakMiB = reap(c).ru_maxrss / 1024.0;
    if (d) XCloseDisplay(d);
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    const char* exe = argc > 1 ? argv[1] : "vexo";
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "frame_bench: no X display; run it through `make bench`\n");
        return 1;
    }
    XCloseDisplay(display);
    int glutArgc = 1;
    if (!viewerStart(&glutArgc, argv)) return 2;
    for (int i = 0; i < 50; ++i) glutMainLoopEvent();

    makeTextures();

    // Rounds of the three frames, in an order that rotates from round to round.
    std::fprintf(stderr, "bench: %d rounds of the real frame, the floor and texture objects...\n",
                 kRounds);
    void (*frames[3])() = {realFrame, floorFrame, boundFrame};
    std::vector<double> fps[3], cpu[3];
    for (int i = 0; i < kRounds; ++i) {
        for (int k = 0; k < 3; ++k) {
            const int which = (i + k) % 3;
            const Figures f = timeRound(frames[which]);
            fps[which].push_back(f.fps);
            cpu[which].push_back(f.cpuMicros);
        }
    }
    double gearsPeak = 0, vexoPeak = 0;
    std::fprintf(stderr, "bench: glxgears for three of its five-second counts...\n");
    const Figures gears = glxgears(&gearsPeak);
    std::fprintf(stderr, "bench: vexo's start-up and peak memory...\n");
    const double start = firstFrame(exe, &vexoPeak);

    const double fc = median(cpu[1]);
    const char* names[3] = {"Vexo: spin step + display", "Floor: clear + swap",
                            "Vexo's picture from texture objects (for comparison)"};
    std::printf("| Frame (250 x 250) | Frames/s | CPU µs/frame | CPU vs floor |\n");
    std::printf("|---|---:|---:|---:|\n");
    for (int k : {1, 0, 2}) {
        std::printf("| %s | %.0f | %.0f | %.2f |\n", names[k], median(fps[k]), median(cpu[k]),
                    median(cpu[k]) / fc);
    }
    if (gears.fps > 0) {
        std::printf("| glxgears | %.0f | %.0f | %.2f |\n", gears.fps, gears.cpuMicros,
                    gears.cpuMicros / fc);
    } else {
        std::printf("| glxgears | not run | | |\n");
    }
    std::printf("\nMedians of %d interleaved rounds of %.1f s (glxgears: its own 5 s counts).\n",
                kRounds, kRoundSeconds);
    std::printf(
        "vexo start to first drawn frame: %.0f ms; peak memory: vexo %.1f MiB, glxgears %.1f MiB\n",
        start * 1e3, vexoPeak, gearsPeak);
    return 0;
}
