// The page's program built natively, whole: the page's GLUT (glut.cpp) and fixed-function calls
// (gl.cpp) under the viewer, WebGL played by this machine's GL on a window of the test's own, the
// browser's timers and frames played by the test, the page's script recorded. What a visitor would
// see, seen without a browser: the desktop's picture, one spin step a frame, the keys the page's
// table says the program takes, the modifiers, touch, and every ending told.
#include <gtest/gtest.h>
// After GoogleTest, which has a None of its own.
#include <GL/glut.h>
#include <GL/glx.h>

#include <unistd.h>

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <utility>
#include <vector>

#include <vexo/manipulator.h>
#include "display_support.h"
#include "emscripten.h"
#include "emscripten/eventloop.h"
#include "emscripten/html5.h"
#include "keys.h"
#include "picture.h"
#include "platform.h"
#include "viewer.h"
#include "web.h"

// ---- The browser, played by the test ---------------------------------------------------------

std::string& webNativeCalls() {
    static std::string calls;
    return calls;
}
std::map<std::string, int>& webNativeAnswers() {
    static std::map<std::string, int> answers;
    return answers;
}
double emscripten_get_now() { return 0; }
void emscripten_exit_with_live_runtime() {}

namespace {
std::vector<std::function<void()>> timers, frames;  // due, and asked for the next frame
}  // namespace

long emscripten_set_timeout(void (*callback)(void*), double, void* data) {
    timers.push_back([=] { callback(data); });
    return 1;
}
long emscripten_request_animation_frame(EM_BOOL (*callback)(double, void*), void* data) {
    frames.push_back([=] { callback(0, data); });
    return 1;
}

// WebGL, played by this machine's GL. The shaders are WebGL's: GLSL ES 1.00.
// `ret` and `params` are a type and a parameter list, which parentheses would break.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define WEBGL(ret, name, params, args)                                   \
    extern "C" ret emscripten_##name params {                            \
        static const auto gl = reinterpret_cast<ret(*) params>(          \
            glXGetProcAddress(reinterpret_cast<const GLubyte*>(#name))); \
        return gl args;                                                  \
    }
// NOLINTEND(bugprone-macro-parentheses)
WEBGL(void, glEnable, (GLenum c), (c))
WEBGL(void, glDisable, (GLenum c), (c))
WEBGL(void, glGetFloatv, (GLenum n, GLfloat* v), (n, v))
WEBGL(GLuint, glCreateShader, (GLenum t), (t))
WEBGL(void, glCompileShader, (GLuint s), (s))
WEBGL(GLuint, glCreateProgram, (), ())
WEBGL(void, glAttachShader, (GLuint p, GLuint s), (p, s))
WEBGL(void, glBindAttribLocation, (GLuint p, GLuint i, const char* n), (p, i, n))
WEBGL(void, glLinkProgram, (GLuint p), (p))
WEBGL(void, glUseProgram, (GLuint p), (p))
WEBGL(void, glGenBuffers, (GLsizei n, GLuint* b), (n, b))
WEBGL(void, glBindBuffer, (GLenum t, GLuint b), (t, b))
WEBGL(void, glBufferData, (GLenum t, GLsizeiptr n, const void* d, GLenum u), (t, n, d, u))
WEBGL(void, glEnableVertexAttribArray, (GLuint i), (i))
WEBGL(void, glVertexAttribPointer,
      (GLuint i, GLint n, GLenum t, GLboolean z, GLsizei s, const void* p), (i, n, t, z, s, p))
WEBGL(void, glDrawArrays, (GLenum m, GLint f, GLsizei n), (m, f, n))
WEBGL(void, glGetProgramiv, (GLuint p, GLenum n, GLint* v), (p, n, v))
WEBGL(void, glViewport, (GLint x, GLint y, GLsizei w, GLsizei h), (x, y, w, h))
WEBGL(void, glTexImage2D,
      (GLenum t, GLint l, GLint f, GLsizei w, GLsizei h, GLint b, GLenum e, GLenum y,
       const void* p),
      (t, l, f, w, h, b, e, y, p))
WEBGL(void, glShaderSource, (GLuint s, GLsizei, const char* const* text, const GLint*),
      (s, 2, std::array<const char*, 2>{"#version 100\n", *text}.data(), nullptr))
extern "C" intptr_t emscripten_webgl_get_current_context() { return 1; }
extern "C" int emscripten_webgl_enable_extension(intptr_t, const char*) { return 0; }

namespace {

// The browser's next frame: the timers due first, then what asked for the frame.
void browserFrame() {
    for (int i = 0; i < 1000 && !timers.empty(); ++i) {
        const auto timer = timers.front();
        timers.erase(timers.begin());
        timer();
    }
    for (const auto& frame : std::exchange(frames, {})) frame();
}
// Draws the frames asked for, until none is.
void drawFramesAsked() {
    for (int i = 0; i < 10 && !frames.empty(); ++i) browserFrame();
}

// A window of the test's own with a GL context, current, for the page's GL to draw on; all of
// it let go at exit, or the driver's memory would be seen as leaked.
Display* connection = nullptr;
GLXContext context = nullptr;
bool makeContext() {
    connection = XOpenDisplay(nullptr);
    int wanted[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 16, None};
    XVisualInfo* visual =
        connection ? glXChooseVisual(connection, DefaultScreen(connection), wanted) : nullptr;
    if (!visual) return false;
    const Window root = RootWindow(connection, visual->screen);
    XSetWindowAttributes set{};
    set.colormap = XCreateColormap(connection, root, visual->visual, AllocNone);
    const Window window = XCreateWindow(connection, root, 0, 0, 300, 300, 0, visual->depth,
                                        InputOutput, visual->visual, CWColormap, &set);
    context = glXCreateContext(connection, visual, nullptr, True);
    XFree(visual);
    std::atexit([] {
        glXMakeCurrent(connection, None, nullptr);
        glXDestroyContext(connection, context);
        XCloseDisplay(connection);
    });
    return glXMakeCurrent(connection, window, context);
}

// What a command printed.
std::string run(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        for (int c; (c = std::fgetc(p)) != EOF;) out += char(c);
        pclose(p);
    }
    return out;
}

class WebPage : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        if (IsSkipped() || HasFailure()) return;
        static const bool started = [] {
            if (!makeContext()) return false;
            webNativeAnswers() = {{"pageCreateContext", 1},
                                  {"pageCanvasWidth", VIEWER_WINDOW_SIZE},
                                  {"pageCanvasHeight", VIEWER_WINDOW_SIZE}};
            static int argc = 1;
            static char name[] = "vexo";
            static char* argv[] = {name, nullptr};
            return viewerStart(&argc, argv);
        }();
        ASSERT_TRUE(started) << "no GL context for the page's program";
        manipReset();
        viewerReset();
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glutIdleFunc(nullptr);
        webReshape(VIEWER_WINDOW_SIZE, VIEWER_WINDOW_SIZE, 1);
        glutDisplayFunc(nullptr);  // the frames asked for so far come, and draw nothing
        drawFramesAsked();
        glutDisplayFunc(display);
        timers.clear();
        webNativeCalls().clear();
    }
};
const ManipulatorState& s = *manipState();

// ---- The picture, the spin, the keys ---------------------------------------------------------

// The frame the page's own GL draws on this machine's GL, against the frames tool's of the
// desktop in the same views: every face's colour and pip, and the outlines' colours, to a few
// pixels on edges, as the browsers' pictures are held in the page's tests.
TEST_F(WebPage, DrawsTheDesktopsPicture) {
    const struct {
        int w, h, spin;  // spin: the idle callback's steps, before the keys
        std::vector<const char*> keys;
        double tolerance;  // of the die's pixels; outlines are a pixel wide
    } views[] = {
        {250, 250, 0, {}, 0.01},
        {250, 250, 0, {"x", "x", "x", "x", "x", "x", "y", "y", "y", "y", "y", "y", "y"}, 0.01},
        {300, 200, 0, {"Enter", "y", "y", "y", "y", "y", "y", "z", "z", "x", "x", "x"}, 0.08},
        {250, 250, 140, {}, 0.01},
    };
    for (const auto& view : views) {
        std::string keys, where = std::to_string(view.w) + "x" + std::to_string(view.h);
        for (int i = 0; i < view.spin; ++i) idle();
        if (view.spin) where += " +" + std::to_string(view.spin);
        for (const char* key : view.keys) webKey(key, 0, 0, 0), keys += std::string(" ") + key;
        webReshape(view.w, view.h, 1);
        drawFramesAsked();
        Picture page{view.w, view.h, std::vector<unsigned char>(size_t(view.w) * view.h * 3)};
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, view.w, view.h, GL_RGB, GL_UNSIGNED_BYTE, page.rgb.data());
        for (int y = 0; y < view.h / 2; ++y)  // rows from the top, as pictures keep them
            std::swap_ranges(&page.rgb[size_t(y) * view.w * 3],
                             &page.rgb[size_t(y + 1) * view.w * 3],
                             &page.rgb[size_t(view.h - 1 - y) * view.w * 3]);
        char ppm[] = "/tmp/vexo-frame-XXXXXX";
        const int fd = mkstemp(ppm);
        ASSERT_NE(fd, -1) << "mkstemp: " << std::strerror(errno);
        close(fd);
        run(FRAMES_EXE " " + std::string(ppm) + " " + where + keys);
        Picture desktop;
        std::string error;
        ASSERT_TRUE(pictureRead(ppm, &desktop, &error)) << where + keys << ": " << error;
        std::remove(ppm);
        const PictureDifference d = pictureCompare(desktop, page, background().r);
        EXPECT_LE(d.differing, view.tolerance * d.die) << where + keys << ":\n" << pictureReport(d);
        SetUp();
    }
}

// A die held still asks for no frames once the last is drawn a few times more (for engines that
// show a worker's frame late); what changes it is drawn at the next; the page hears "started"
// once, after the very first.
TEST_F(WebPage, FramesComeWhenSomethingChangesAndStop) {
    static int drawn;
    drawn = 0;
    glutDisplayFunc([] { ++drawn, display(); });
    webResetView();
    browserFrame();
    EXPECT_EQ(drawn, 1) << "the reset, at the next frame";
    for (int i = 0; i < 100 && !frames.empty(); ++i) browserFrame();
    EXPECT_TRUE(frames.empty()) << "a still die asks for frames forever";
    EXPECT_GT(drawn, 2) << "the last frame is not drawn again";
    const std::string& told = webNativeCalls();
    EXPECT_EQ(told.find("pageFirstFrame"), told.rfind("pageFirstFrame"))
        << "more than once: " << told;
}

TEST_F(WebPage, TheSpinStepsOnceABrowserFrame) {
    glutIdleFunc(idle);
    browserFrame();
    for (int i = 0; i < 5; ++i) {
        const float before = viewerState().spinX;
        browserFrame();
        EXPECT_NEAR(viewerState().spinX - before, VIEWER_SPIN_STEP[0], 1e-4) << "frame " << i;
    }
}

// The table the page decides keys by, as the build writes it, against what the program does with
// each key through the page's GLUT, from its start: it draws, or tells the page its state.
TEST_F(WebPage, TheKeyTableSaysWhichKeysTheProgramTakes) {
    const std::string json = run(KEY_TABLE_EXE);  // {"name":sets,...}, with \" and \\ escaped
    std::map<std::string, int> table;
    for (size_t at = json.find('"'); at != std::string::npos; at = json.find('"', at)) {
        std::string name;
        while (++at < json.size() && json[at] != '"') {
            if (json[at] == '\\' && json[++at] != '"' && json[at] != '\\') ADD_FAILURE() << json;
            name += json[at];
        }
        table[name] = std::atoi(&json[at + 2]);
        at = json.find_first_of(",}", at);
    }
    ASSERT_GT(table.size(), 10u) << json;
    for (const char* name : {" ", "Enter", "x", "X", "Home", "PageUp", "ArrowLeft"})
        EXPECT_NE(table[name], 0) << "'" << name << "' is a control";
    EXPECT_EQ(table["Escape"], 255) << "Escape quits with any modifiers (its own test)";
    for (int i = 0; const char* name = webKeyName(i); ++i) {
        for (int set = 0; set < 8 && std::strcmp(name, "Escape") != 0; ++set) {
            SetUp();
            webKey(name, set & 1, set & 2, set & 4);
            const bool taken = !frames.empty() || !webNativeCalls().empty();
            EXPECT_EQ(taken, (table[name] >> set & 1) == 1)
                << name << (set & 1 ? " +Shift" : "") << (set & 2 ? " +Ctrl" : "")
                << (set & 4 ? " +Alt" : "") << ": " << webNativeCalls();
        }
    }
}

TEST(WebKeys, NamesAsGlutGivesThem) {
    const struct {
        const char* name;
        bool ctrl;
        int key, special;
    } cases[] = {
        // clang-format off
        {"a", false, 'a', 0}, {"A", false, 'A', 0}, {"a", true, 1, 0}, {"Z", true, 26, 0},
        {"+", true, '+', 0}, {" ", false, ' ', 0}, {"~", false, '~', 0}, {"Enter", false, 13, 0},
        {"Escape", false, 27, 0}, {"Tab", false, 9, 0}, {"Backspace", false, 8, 0},
        {"Delete", false, 127, 0}, {"F1", false, 0, GLUT_KEY_F1}, {"F12", false, 0, GLUT_KEY_F12},
        {"F13", false, 0, 0}, {"F", false, 'F', 0}, {"F1x", false, 0, 0}, {"", false, 0, 0},
        {"ArrowLeft", false, 0, GLUT_KEY_LEFT}, {"ArrowDown", true, 0, GLUT_KEY_DOWN},
        {"ArrowRight", false, 0, GLUT_KEY_RIGHT}, {"ArrowUp", false, 0, GLUT_KEY_UP},
        {"PageUp", false, 0, GLUT_KEY_PAGE_UP}, {"PageDown", false, 0, GLUT_KEY_PAGE_DOWN},
        {"Home", false, 0, GLUT_KEY_HOME}, {"End", false, 0, GLUT_KEY_END},
        {"Insert", false, 0, GLUT_KEY_INSERT}, {"\xc3\xa9", false, 0, 0}, {"Shift", false, 0, 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        int special = -1;
        EXPECT_EQ(webKeyCode(c.name, c.ctrl, &special), c.key)
            << c.name << (c.ctrl ? " with Ctrl" : "");
        EXPECT_EQ(special, c.special) << c.name;
    }
}

// Each modifier reaches the program as itself, for buttons and keys alike, and only during its
// event.
TEST_F(WebPage, ModifiersReachTheProgramAsGlutGivesThem) {
    const std::pair<int, ManipMode> modes[] = {
        {1, MANIP_MODE_SHIFT}, {2, MANIP_MODE_CTRL}, {4, MANIP_MODE_ALT}, {6, MANIP_MODE_CTRL_ALT}};
    for (auto [set, mode] : modes) {
        webMouse(GLUT_LEFT_BUTTON, 1, 100, 100, set & 1, set & 2, set & 4);
        EXPECT_EQ(s.mode, mode) << "a press with set " << set;
        webMouse(GLUT_LEFT_BUTTON, 0, 100, 100, set & 1, set & 2, set & 4);
        webKey("Home", set & 1, set & 2, set & 4);
        EXPECT_EQ(s.mode, mode) << "a key with set " << set;
        EXPECT_EQ(glutGetModifiers(), 0) << "after the event";
    }
}

// The controls as relations, given as the page gives them: letters undo each other, Home undoes a
// storm of keys and drags, a Ctrl-drag zooms 2 % per 5 pixels, an Alt-drag moves the die with the
// pointer.
TEST_F(WebPage, ControlsHoldTheirRelations) {
    struct Die {
        std::vector<unsigned char> rgb;
        double area = 0, cx = 0, cy = 0;
    };
    const auto shot = [] {
        Die d{std::vector<unsigned char>(size_t(VIEWER_WINDOW_SIZE) * VIEWER_WINDOW_SIZE * 3)};
        glutPostRedisplay();
        drawFramesAsked();
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, VIEWER_WINDOW_SIZE, VIEWER_WINDOW_SIZE, GL_RGB, GL_UNSIGNED_BYTE,
                     d.rgb.data());
        for (size_t i = 0; i < d.rgb.size(); i += 3) {
            if (isBackground(&d.rgb[i])) continue;
            const auto pixel = int(i / 3), x = pixel % VIEWER_WINDOW_SIZE,
                       y = VIEWER_WINDOW_SIZE - 1 -
                           pixel / VIEWER_WINDOW_SIZE;  // rows from the bottom
            d.area += 1, d.cx += x, d.cy += y;
        }
        d.cx /= d.area, d.cy /= d.area;
        return d;
    };
    const auto drag = [](int modifiers, int x, int y, int dx, int dy) {
        const int shift = modifiers & 1, ctrl = modifiers & 2, alt = modifiers & 4;
        webMouse(GLUT_LEFT_BUTTON, 1, x, y, shift, ctrl, alt);
        webMotion(x + dx, y + dy);
        webMouse(GLUT_LEFT_BUTTON, 0, x + dx, y + dy, shift, ctrl, alt);
    };
    const Die start = shot();
    for (const char* key : {"x", "x", "x", "x", "x", "X", "X", "X", "X", "X"}) webKey(key, 0, 0, 0);
    EXPECT_EQ(shot().rgb, start.rgb) << "X undoes x";

    std::mt19937 random(1);
    const auto pick = [&](int n) { return int(random() % unsigned(n)); };
    const char* keys[] = {"x", "Y", "z", "ArrowLeft", "PageUp", "ArrowDown", "PageDown"};
    for (int i = 0; i < 40; ++i) {
        const int modifiers = pick(8);
        if (i % 2)
            drag(modifiers, pick(250), pick(250), pick(80) - 40, pick(80) - 40);
        else
            webKey(keys[pick(7)], modifiers & 1, modifiers & 2, modifiers & 4);
    }
    webKey("Home", 0, 0, 0);
    EXPECT_EQ(shot().rgb, start.rgb) << "Home gives back the start";

    drag(2, 125, 150, 0, -50);  // smaller, so that the die stays whole in view
    const Die small = shot();
    EXPECT_NEAR(small.area / start.area, std::pow(1.02, -20), 0.03)
        << "a Ctrl-drag of 50 pixels up";
    drag(4, 100, 150, 25, -20);
    const Die moved = shot();
    EXPECT_NEAR(moved.cx - small.cx, 25, 1) << "an Alt-drag moves the die with the pointer";
    EXPECT_NEAR(moved.cy - small.cy, -20, 1);
}

// ---- Touch, the canvas's size, the end -------------------------------------------------------

TEST_F(WebPage, OneFingerTurnsAsAShiftDragAndTwoZoomAndPanFromTheirOwnStart) {
    webTurnBegin(100, 100);
    EXPECT_FALSE(frames.empty()) << "a finger down asks for a frame, as a press does";
    webTurnMove(130, 120);
    webTurnEnd(130, 120);
    EXPECT_EQ(s.rotY, 30.0f);
    EXPECT_EQ(s.rotX, 20.0f);
    EXPECT_EQ(s.dragFlag, 0) << "the finger lifted ends the drag";

    // Twice as far apart, twice as large, within a zoom step; a second pinch from its own start.
    const float step = std::pow(1.02f, 1 / 5.0f);
    for (auto [spread, zoom] : {std::pair{2.0f, 2.0f}, {1.0f, 2.0f}, {0.5f, 1.0f}}) {
        if (spread != 0.5f) webPinchBegin(125, 125);
        webPinchMove(spread, 125, 125);
        EXPECT_NEAR(s.zoom / zoom, 1, step - 1) << "spread " << spread;
    }
    webPinchMove(0, 135, 125);  // no spread to compare with: a pan only
    const float panned = s.panX;
    EXPECT_GT(panned, 0) << "the midpoint moved right";
    const ManipulatorState at = s;
    manipReset();
    manipMouseEvent(GLUT_LEFT_BUTTON, GLUT_DOWN, 125, 125, GLUT_ACTIVE_ALT, at.projectionSnapshot,
                    at.windowWidth);
    manipMotion(135, 125);
    EXPECT_FLOAT_EQ(s.panX, panned) << "as an Alt-drag of the same 10 pixels";

    webResetView();
    EXPECT_EQ(s.panX, 0.0f);
    EXPECT_EQ(s.zoom, 1.0f);
}

// A quit exits with status 0, which the page's side (program.js) takes as the end; no WebGL tells
// the page so before the program ends.
TEST_F(WebPage, EveryEndingExitsAsTheDesktopsDoes) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        const char* what;
        void (*end)();
        int status;
        const char* told;
    } endings[] = {
        {"Escape", [] { webKey("Escape", 0, 0, 0); }, 0, ""},
        {"Ctrl+Shift+Escape", [] { webKey("Escape", 1, 1, 0); }, 0, ""},
        {"Quitter", [] { webMenuChoose(0); }, 0, ""},
        {"no WebGL", [] { webNativeAnswers()["pageCreateContext"] = 0, glutCreateWindow(""); }, 1,
         "pageNoWebGL"},
    };
    for (const auto& e : endings) {
        EXPECT_EXIT(
            {
                std::atexit([] { std::fputs(webNativeCalls().c_str(), stderr); });
                e.end();
            },
            ::testing::ExitedWithCode(e.status), e.told)
            << e.what;
    }
}

}  // namespace
