#include <GL/glu.h>
#include <GL/glut.h>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>

#include <vexo/manipulator.h>
#include "command_line.h"
#include "die.h"
#include "gl_support.h"
#include "platform.h"
#include "viewer.h"

namespace {

bool isBlack(const DieTexture& t, int r, int c) {
    const unsigned char* p = t.texels + (r * 16 + c) * 3;
    return p[0] == 0 && p[1] == 0 && p[2] == 0;
}

// ---- Face images -----------------------------------------------------------------------

// Each image is white with n black 2 x 2 pips in the blocks at 3, 7 and 11 each way, the middle
// one for the odd counts only, and looks the same after a half turn, as a die's faces do.
TEST(DieTextures, PipsSitInTheirBlocksOnWhite) {
    buildDieTextures();
    static_assert(sizeof(DieTexture) == 768, "16 x 16 RGB bytes, no padding");
    auto inBlock = [](int v) { return v >= 3 && v <= 12 && (v - 3) % 4 < 2; };
    for (int n = 1; n <= 6; ++n) {
        const DieTexture& t = dieTexture(n);
        int blackTexels = 0;
        for (int r = 0; r < 16; ++r) {
            for (int c = 0; c < 16; ++c) {
                const unsigned char* p = t.texels + (r * 16 + c) * 3;
                const bool black = isBlack(t, r, c);
                EXPECT_TRUE(black ? inBlock(r) && inBlock(c)
                                  : p[0] == 255 && p[1] == 255 && p[2] == 255)
                    << n << " pips: texel " << r << "," << c
                    << (black ? " black" : " neither black nor white");
                EXPECT_EQ(black, isBlack(t, 15 - r, 15 - c))
                    << n << " pips: a half turn moves texel " << r << "," << c;
                blackTexels += black;
            }
        }
        EXPECT_EQ(blackTexels, 4 * n) << n << " pips";
        EXPECT_EQ(isBlack(t, 7, 7), n % 2 == 1) << n << " pips: the middle one";
    }
}

TEST(DieTextures, PaintPipStaysInsideTheImage) {
    DieTexture t;
    for (unsigned char& b : t.texels) b = 255;
    paintPip(t, 15, 15);
    EXPECT_TRUE(isBlack(t, 15, 15));
    EXPECT_FALSE(isBlack(t, 15, 14));
}

// ---- Face table ------------------------------------------------------------------------

TEST(DieFaces, FormAClosedDieWithOppositesSummingToSeven) {
    const DieFace* f = dieFaces();
    int seen[7] = {};
    for (int i = 0; i < DIE_FACE_COUNT; ++i) {
        ++seen[f[i].pips];
        for (int j = 0; j < DIE_FACE_COUNT; ++j) {
            const float dot = f[i].normal[0] * f[j].normal[0] + f[i].normal[1] * f[j].normal[1] +
                              f[i].normal[2] * f[j].normal[2];
            if (dot < -0.5f) {
                EXPECT_EQ(f[i].pips + f[j].pips, 7) << "faces " << i << ", " << j;
            }
        }
        // Every corner lies on the face's plane, and the corners wind anticlockwise seen
        // from outside, so the winding agrees with the normal.
        const float(*v)[3] = f[i].corner;
        for (int k = 0; k < 4; ++k) {
            const float d =
                v[k][0] * f[i].normal[0] + v[k][1] * f[i].normal[1] + v[k][2] * f[i].normal[2];
            EXPECT_FLOAT_EQ(d, 1.0f) << "face " << i << " corner " << k;
        }
        const float a[3] = {v[1][0] - v[0][0], v[1][1] - v[0][1], v[1][2] - v[0][2]};
        const float b[3] = {v[2][0] - v[0][0], v[2][1] - v[0][1], v[2][2] - v[0][2]};
        const float cross[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                                a[0] * b[1] - a[1] * b[0]};
        for (int k = 0; k < 3; ++k) EXPECT_GE(cross[k] * f[i].normal[k], 0) << "face " << i;
        EXPECT_EQ(f[i].st[0][0], 0);
        EXPECT_EQ(f[i].st[2][0], 1);
        EXPECT_EQ(f[i].st[2][1], 1);
    }
    for (int n = 1; n <= 6; ++n) EXPECT_EQ(seen[n], 1) << n << " pips";
}

// Where each count's pips lie on the die, in units of half its edge, as one holds it: the one in
// the middle of the back; the six in two columns of three down the front; the two and the three
// each along their own diagonal of the left and the bottom; the four and the five in the corners
// of the top and the right.
using Point = std::array<float, 3>;
const std::set<Point> kPipsOnTheDie[7] = {
    {},
    {{0, 0, -1}},
    {{-1, 0.5f, -0.5f}, {-1, -0.5f, 0.5f}},
    {{0, -1, 0}, {-0.5f, -1, 0.5f}, {0.5f, -1, -0.5f}},
    {{0.5f, 1, 0.5f}, {0.5f, 1, -0.5f}, {-0.5f, 1, 0.5f}, {-0.5f, 1, -0.5f}},
    {{1, 0, 0}, {1, 0.5f, 0.5f}, {1, 0.5f, -0.5f}, {1, -0.5f, 0.5f}, {1, -0.5f, -0.5f}},
    {{0.5f, 0.5f, 1},
     {0.5f, 0, 1},
     {0.5f, -0.5f, 1},
     {-0.5f, 0.5f, 1},
     {-0.5f, 0, 1},
     {-0.5f, -0.5f, 1}},
};

TEST(DieFaces, EachFacesPipsLieWhereTheDieHasThem) {
    buildDieTextures();
    for (const DieFace* f = dieFaces(); f < dieFaces() + DIE_FACE_COUNT; ++f) {
        const DieTexture& image = dieTexture(f->pips);
        auto black = [&](int r, int c) {
            return r >= 0 && c >= 0 && image.texels[(r * DIE_TEXTURE_SIZE + c) * 3] == 0;
        };
        std::set<Point> pips;
        for (int r = 0; r < DIE_TEXTURE_SIZE; ++r) {
            for (int c = 0; c < DIE_TEXTURE_SIZE; ++c) {
                if (!black(r, c) || black(r - 1, c) || black(r, c - 1)) continue;
                // The pip's centre on the face, between the corners by their texture coordinates.
                const float s = (c + 1.0f) / DIE_TEXTURE_SIZE, t = (r + 1.0f) / DIE_TEXTURE_SIZE;
                Point p{};
                for (int k = 0; k < 4; ++k) {
                    const float w = (f->st[k][0] ? s : 1 - s) * (f->st[k][1] ? t : 1 - t);
                    for (int j = 0; j < 3; ++j) p[j] += w * f->corner[k][j];
                }
                for (float& v : p) v = std::round(v * 2) / 2;
                pips.insert(p);
            }
        }
        EXPECT_EQ(pips, kPipsOnTheDie[f->pips]) << "the " << f->pips << " face";
    }
}

// ---- Spin ------------------------------------------------------------------------------

TEST(Spin, StepsStayFullSizeHoweverLongItHasSpun) {
    EXPECT_FLOAT_EQ(advanceSpin(0.0f, 0.31f), 0.31f);
    EXPECT_NEAR(advanceSpin(359.9f, 0.37f), 0.27f, 1e-4);
    EXPECT_EQ(advanceSpin(359.63f, 0.37f), 0.0f) << "a step that lands on 360 is back at 0";
    // A start far beyond where single-precision steps of 0.31 would round away.
    float a = 3.0e7f;
    const float first = advanceSpin(a, 0.31f);
    EXPECT_NEAR(first, std::fmod(3.0e7, 360.0) + 0.31, 1e-3);
    a = first;
    for (int i = 0; i < 100000; ++i) {
        const float next = advanceSpin(a, 0.41f);
        const float moved = std::fmod(next - a + 360.0f, 360.0f);
        ASSERT_NEAR(moved, 0.41f, 1e-3) << "step " << i << " from " << a;
        ASSERT_GE(next, 0.0f);
        ASSERT_LT(next, 360.0f);
        a = next;
    }
}

// ---- Keys, visibility, command line ---------------------------------------------------

TEST(ViewerKeys, SpaceAndEnterAfterTheManipulatorAndHidingKeepsThePause) {
    viewerReset();
    const ViewerState& v = viewerState();
    EXPECT_EQ(viewerKeyEvent(' ', 0), VIEWER_KEY_SPIN);
    EXPECT_EQ(v.animating, 0);
    EXPECT_EQ(viewerKeyEvent(' ', GLUT_ACTIVE_CTRL), VIEWER_KEY_SPIN);
    EXPECT_EQ(v.animating, 1);
    EXPECT_EQ(viewerKeyEvent(MANIP_KEY_ENTER, 0), VIEWER_KEY_FILL);
    EXPECT_EQ(v.filled, 0);
    EXPECT_EQ(viewerKeyEvent(MANIP_KEY_ENTER, GLUT_ACTIVE_SHIFT), VIEWER_KEY_REDRAW);
    EXPECT_EQ(v.filled, 0) << "Shift+Enter is the manipulator's";
    EXPECT_EQ(viewerKeyEvent(MANIP_KEY_ENTER, GLUT_ACTIVE_SHIFT | GLUT_ACTIVE_CTRL),
              VIEWER_KEY_FILL);
    EXPECT_EQ(v.filled, 1);
    EXPECT_EQ(viewerKeyEvent('z', 0), VIEWER_KEY_REDRAW);
    EXPECT_EQ(viewerKeyEvent('q', 0), VIEWER_KEY_IGNORED);

    // Hiding stops the spin and showing brings it back, never touching the user's pause.
    EXPECT_TRUE(viewerVisibilityEvent(false));
    EXPECT_FALSE(viewerSpins());
    EXPECT_EQ(v.animating, 1);
    EXPECT_TRUE(viewerVisibilityEvent(true));
    viewerKeyEvent(' ', 0);
    EXPECT_FALSE(viewerVisibilityEvent(false));
    EXPECT_FALSE(viewerVisibilityEvent(true)) << "paused, the window showing again changes nothing";
    EXPECT_FALSE(viewerSpins());
}

TEST(ViewerCommandLine, HelpAndVersionAreAnsweredTheRestIsGluts) {
    using Args = std::vector<const char*>;
    auto command = [](Args args) { return viewerCommand(int(args.size()), args.data()); };
    EXPECT_EQ(command({"vexo"}), VIEWER_RUN);
    EXPECT_EQ(command({"vexo", "-display", ":0", "-sync"}), VIEWER_RUN);
    EXPECT_EQ(command({"vexo", "--help"}), VIEWER_HELP);
    EXPECT_EQ(command({"vexo", "-sync", "-h"}), VIEWER_HELP);
    EXPECT_EQ(command({"vexo", "--version"}), VIEWER_VERSION);
    EXPECT_EQ(command({"vexo", "--versions"}), VIEWER_RUN);
    EXPECT_NE(std::string(viewerUsage()).find("-display"), std::string::npos);

    // Judged before a display is opened: GLUT's own options, with their values, and nothing else.
    const std::pair<Args, int> unknown[] = {
        {{"vexo"}, 0},
        {{"vexo", "-display", ":0", "-sync", "-geometry", "9x9", "-iconic"}, 0},
        {{"vexo", "-indirect", "-direct", "-gldebug"}, 0},
        {{"vexo", "--bogus"}, 1},
        {{"vexo", "-sync", "-Sync"}, 2},
        {{"vexo", "-display"}, 1},
        {{"vexo", "-geometry", "-sync", "bogus"}, 3},
    };
    for (const auto& [args, index] : unknown)
        EXPECT_EQ(viewerUnknownArgument(int(args.size()), args.data()), index) << args.back();
}

// What was written to a stream.
std::string written(std::FILE* f) {
    std::string text(4096, '\0');
    std::rewind(f);
    text.resize(std::fread(text.data(), 1, text.size(), f));
    return text;
}

TEST(ViewerCommandLine, AnswersWholeAndRefusesWhatGlutLeavesByName) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    ASSERT_TRUE(out && err);
    EXPECT_EQ(viewerAnswer(VIEWER_VERSION, out, err), 0);
    EXPECT_EQ(written(out), "vexo " VEXO_VERSION "\n");

    // --help gives every control of the one list with what it does.
    std::FILE* help = std::tmpfile();
    EXPECT_EQ(viewerAnswer(VIEWER_HELP, help, err), 0);
    const std::string usage = written(help);
    std::ifstream list(VEXO_CONTROLS_FILE);
    int controls = 0;
    for (std::string line; std::getline(list, line);) {
        const size_t bar = line.find(" | ");
        if (line.empty() || line[0] == '#' || line.find("| page") != std::string::npos) continue;
        const std::string input = line.substr(0, bar), does = line.substr(bar + 3);
        EXPECT_NE(usage.find("  " + input + "\n      " + does + "\n"), std::string::npos) << line;
        ++controls;
    }
    EXPECT_GT(controls, 10) << VEXO_CONTROLS_FILE;
    EXPECT_EQ(written(err), "");

    // A stream that takes nothing: the answer fails with status 1 and says so.
    const char* name = "viewer-test-read-only.txt";
    std::fclose(std::fopen(name, "w"));
    std::FILE* readOnly = std::fopen(name, "r");
    EXPECT_EQ(viewerAnswer(VIEWER_HELP, readOnly, err), 1);
    EXPECT_EQ(written(err).rfind("vexo: cannot write to standard output", 0), 0u) << written(err);
    std::fclose(readOnly);
    std::remove(name);

    const char* left[] = {"vexo", "--verison", "-x"};
    std::FILE* refusal = std::tmpfile();
    EXPECT_TRUE(viewerRefuses(3, left, refusal));
    EXPECT_EQ(written(refusal), std::string("vexo: unknown option '--verison'\n") + viewerUsage());
    std::FILE* none = std::tmpfile();
    EXPECT_FALSE(viewerRefuses(1, left, none));
    EXPECT_EQ(written(none), "");
    for (std::FILE* f : {out, err, help, refusal, none}) std::fclose(f);
}

#ifndef _WIN32
// The built program's answers, judged before any display is opened: each on its own stream, with
// its status, and a failure to write said as one.
TEST(ViewerCommandLine, TheProgramAnswersOnItsStreamsWithNoDisplay) {
    const struct {
        const char* args;
        std::string out, err;
        int status;
    } cases[] = {
        {"--version", "vexo " VEXO_VERSION "\n", "", 0},
        {"--help", viewerUsage(), "", 0},
        {"--help >/dev/full", "",
         "vexo: cannot write to standard output: No space left on device\n", 1},
        {"-sync --verison", "", std::string("vexo: unknown option '--verison'\n") + viewerUsage(),
         1},
    };
    for (const auto& c : cases) {
        std::FILE* err = std::tmpfile();
        const std::string run = std::string("env -u DISPLAY timeout -s KILL 5 " VEXO_EXE " ") +
                                c.args + " 2>/dev/fd/" + std::to_string(fileno(err)) + "; echo $?";
        std::string out;
        if (std::FILE* p = popen(run.c_str(), "r")) {
            for (int ch; (ch = std::fgetc(p)) != EOF;) out += char(ch);
            pclose(p);
        }
        const size_t end = out.rfind('\n', out.size() - 2) + 1;  // the status is the last line
        EXPECT_EQ(out.substr(0, end), c.out) << c.args;
        EXPECT_EQ(out.substr(end), std::to_string(c.status) + "\n") << c.args;
        EXPECT_EQ(written(err), c.err) << c.args;
        std::fclose(err);
    }
}
#endif

// ---- The frame, on a real GL context ---------------------------------------------------

// Lit colour of a white texel whose eye-space normal is n: GL's default material (ambient
// 0.2, diffuse 0.8) and scene ambient 0.2, plus each light's diffuse colour times n . L.
Rgb litWhite(const float n[3]) {
    const float dirs[3][3] = {{1, 1, 1}, {-1, 1, 1}, {0, -1, 1}};  // green, blue, red
    double rgb[3] = {0.2 * 0.2, 0.2 * 0.2, 0.2 * 0.2};
    const int channel[3] = {1, 2, 0};
    for (int i = 0; i < 3; ++i) {
        const double len =
            std::sqrt(dirs[i][0] * dirs[i][0] + dirs[i][1] * dirs[i][1] + dirs[i][2] * dirs[i][2]);
        const double cosine = (n[0] * dirs[i][0] + n[1] * dirs[i][1] + n[2] * dirs[i][2]) / len;
        rgb[channel[i]] += 0.8 * std::max(0.0, cosine);
    }
    auto byte = [](double v) { return static_cast<int>(std::lround(std::min(v, 1.0) * 255)); };
    return {byte(rgb[0]), byte(rgb[1]), byte(rgb[2])};
}

class ViewerGl : public GlTest {};

// 4 x 4 column-major matrices, as GL keeps them.
using Mat = std::array<float, 16>;
Mat mul(const Mat& a, const Mat& b) {
    Mat r{};
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k) r[c * 4 + row] += a[k * 4 + row] * b[c * 4 + k];
    return r;
}
Mat rotation(float degrees, int axis) {
    const float a = degrees * static_cast<float>(M_PI) / 180, c = std::cos(a), s = std::sin(a);
    const int i = (axis + 1) % 3, j = (axis + 2) % 3;
    Mat m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    m[i * 4 + i] = c, m[j * 4 + j] = c, m[i * 4 + j] = s, m[j * 4 + i] = -s;
    return m;
}
Mat scaling(float k) { return {k, 0, 0, 0, 0, k, 0, 0, 0, 0, k, 0, 0, 0, 0, 1}; }
Mat translation(float x, float y) { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, 0, 1}; }

TEST_F(ViewerGl, FrameMatrixIsPanRotationsZoomKeyAnglesSpin) {
    const ViewerState& v = viewerState();
    for (int i = 0; i < 40; ++i) idle();
    EXPECT_NEAR(v.spinX, 40 * 0.31, 1e-3);
    EXPECT_NEAR(v.spinY, 40 * 0.37, 1e-3);
    EXPECT_NEAR(v.spinZ, 40 * 0.41, 1e-3);
    const ManipulatorState& s = *manipState();
    constexpr int SHIFT = GLUT_ACTIVE_SHIFT, CTRL = GLUT_ACTIVE_CTRL, ALT = GLUT_ACTIVE_ALT;
    float p[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    manipMouseEvent(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0, SHIFT, p, VIEWER_WINDOW_SIZE);
    manipMotion(25, 40);
    manipSpecialEvent(GLUT_KEY_F1, SHIFT | CTRL);
    manipMotion(35, 40);
    manipSpecialEvent(GLUT_KEY_F1, ALT);
    manipMotion(60, 20);
    manipSpecialEvent(GLUT_KEY_F1, CTRL);
    manipMotion(60, 45);
    manipKeyboardEvent('x', 0), manipKeyboardEvent('y', 0), manipKeyboardEvent('Z', 0);
    manipSpecialEvent(GLUT_KEY_UP, SHIFT);

    Mat expected = translation(s.panX, s.panY);
    for (const Mat& m :
         {rotation(s.rotX, 0), rotation(s.rotY, 1), rotation(s.rotZ, 2), scaling(s.zoom),
          rotation(s.keyAngleX, 0), rotation(s.keyAngleY, 1), rotation(s.keyAngleZ, 2),
          scaling(s.keyZoom), rotation(v.spinX, 0), rotation(v.spinY, 1), rotation(v.spinZ, 2)}) {
        expected = mul(expected, m);
    }
    ASSERT_NE(s.panX * s.rotX * s.rotZ * (s.zoom - 1), 0.0f) << "every part is in play";

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    applyViewTransform();
    Mat observed;
    glGetFloatv(GL_MODELVIEW_MATRIX, observed.data());
    glPopMatrix();
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(observed[i], expected[i], 1e-4) << "element " << i;
}

// Which face carries which count, by the direction it faces: opposite faces sum to seven.
int pipsFacing(const float n[3]) {
    if (std::abs(n[0]) > 0.5f) return n[0] > 0 ? 5 : 2;
    if (std::abs(n[1]) > 0.5f) return n[1] > 0 ? 4 : 3;
    return n[2] > 0 ? 6 : 1;
}

// Turned so that three faces show, then turned half round so that the other three do, each
// face's every texel, found through the matrices the die was drawn with: pips black where its
// image has them, the ground lit as the lighting equation says for the face's normal in eye
// space.
TEST_F(ViewerGl, EveryFaceShowsItsPipsInItsLitColours) {
    for (int i = 0; i < 15; ++i) manipKeyboardEvent('x', 0);  // 30 degrees about x
    for (int i = 0; i < 4; ++i) manipSpecialEvent(GLUT_KEY_LEFT, GLUT_ACTIVE_ALT);  // -40 about y
    int seen[7] = {};
    for (int turn : {0, 180}) {  // a Shift-drag turns the whole view about the screen's y
        float snapshot[16];
        glGetFloatv(GL_PROJECTION_MATRIX, snapshot);
        manipMouseEvent(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0, GLUT_ACTIVE_SHIFT, snapshot,
                        VIEWER_WINDOW_SIZE);
        manipMotion(turn, 0);
        // Turned round, smaller too: the normals are scaled, and the faces lit just the same.
        if (turn) manipSpecialEvent(GLUT_KEY_RIGHT, GLUT_ACTIVE_SHIFT);
        renderFrame();
        glReadBuffer(GL_BACK);
        GLdouble modelview[16], projection[16];
        GLint viewport[4];
        glPushMatrix();
        glLoadIdentity();
        applyViewTransform();
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        glPopMatrix();
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);

        int shown = 0;
        for (const DieFace* f = dieFaces(); f < dieFaces() + DIE_FACE_COUNT; ++f) {
            float n[3];  // the face's unit normal in eye space
            for (int r = 0; r < 3; ++r) {
                n[r] = static_cast<float>(modelview[r] * f->normal[0] +
                                          modelview[4 + r] * f->normal[1] +
                                          modelview[8 + r] * f->normal[2]);
            }
            const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
            for (float& v : n) v /= length;
            if (n[2] < 0.3f) continue;  // turned away, or too nearly edge-on to probe
            ++shown;
            const int pips = pipsFacing(f->normal);
            ++seen[pips];
            int wrong = 0;
            std::string first;
            for (int r = 0; r < DIE_TEXTURE_SIZE; ++r) {
                for (int c = 0; c < DIE_TEXTURE_SIZE; ++c) {
                    // The texel's centre on the face, between the corners by their texture
                    // coordinates.
                    const double s = (c + 0.5) / DIE_TEXTURE_SIZE, t = (r + 0.5) / DIE_TEXTURE_SIZE;
                    double p[3] = {}, x, y, z;
                    for (int k = 0; k < 4; ++k) {
                        const double w = (f->st[k][0] ? s : 1 - s) * (f->st[k][1] ? t : 1 - t);
                        for (int j = 0; j < 3; ++j)
                            p[j] += w * f->corner[k][j] * VIEWER_DIE_SIZE / 2;
                    }
                    gluProject(p[0], p[1], p[2], modelview, projection, viewport, &x, &y, &z);
                    const int px = static_cast<int>(x), py = viewport[3] - 1 - static_cast<int>(y);
                    const bool pip = dieTexture(pips).texels[(r * DIE_TEXTURE_SIZE + c) * 3] == 0;
                    const auto verdict =
                        nearRgb(pip ? Rgb{0, 0, 0} : litWhite(n), readPixel(px, py), 3,
                                "texel " + std::to_string(r) + "," + std::to_string(c) + " at (" +
                                    std::to_string(px) + ", " + std::to_string(py) + ")");
                    if (!verdict && !wrong++) first = verdict.message();
                }
            }
            EXPECT_EQ(wrong, 0) << "the " << pips << " face: " << wrong
                                << " of 256 texels wrong, first " << first;
        }
        EXPECT_EQ(shown, 3) << "turned " << turn;
    }
    for (int pips = 1; pips <= 6; ++pips) EXPECT_EQ(seen[pips], 1) << "the " << pips << " face";
}

// With the spin paused, every input that changes the picture asks for a frame of its own.
TEST_F(ViewerGl, EveryInputThatChangesThePictureAsksForARedraw) {
    glutIdleFunc(nullptr);
    xMove(125, 125);
    pumpFor(0.1);
    clearRedisplayRequests();
    idle();
    EXPECT_EQ(redisplayRequests(), 1) << "a spin step";
    const std::pair<const char*, std::function<void()>> inputs[] = {
        {"x", [] { xTap(XK_x); }},
        {"Left", [] { xTap(XK_Left); }},
        {"Page Up", [] { xTap(XK_Prior); }},
        {"Home", [] { xTap(XK_Home); }},
        {"Enter", [] { xTap(XK_Return); }},
        {"Enter again", [] { xTap(XK_Return); }},
        {"a Shift-drag", [] { xDrag("shift", 100, 100, 10, 10); }},
    };
    for (const auto& [what, input] : inputs) {
        clearRedisplayRequests();
        input();
        EXPECT_TRUE(pumpUntil([] { return redisplayRequests() > 0; }, 2)) << what << ": no redraw";
    }
    clearRedisplayRequests();
    xTap(XK_F1);
    pumpFor(0.2);
    EXPECT_EQ(redisplayRequests(), 0) << "F1 is nobody's";
}

// The window status GLUT reports: hidden and fully covered windows rest, any part showing spins,
// and the user's pause outlasts both.
TEST_F(ViewerGl, WindowStatusRestsAndResumesTheSpin) {
    const std::pair<int, bool> steps[] = {{GLUT_HIDDEN, false},
                                          {GLUT_FULLY_RETAINED, true},
                                          {GLUT_FULLY_COVERED, false},
                                          {GLUT_PARTIALLY_RETAINED, true}};
    for (auto [status, spins] : steps) {
        platformWindowStatus(status);
        EXPECT_EQ(viewerSpins(), spins) << "status " << status;
        EXPECT_EQ(registeredIdle() == idle, spins) << "status " << status;
    }
    // Hidden and shown again by the window system, the user's pause outlasts both.
    xMove(125, 125);
    xTap(XK_space);
    ASSERT_TRUE(pumpUntil([] { return registeredIdle() == nullptr; }));
    glutHideWindow();
    ASSERT_TRUE(pumpUntil([] { return !viewerState().visible; })) << "never hidden";
    glutShowWindow();
    ASSERT_TRUE(pumpUntil([] { return viewerState().visible; })) << "never shown again";
    EXPECT_EQ(registeredIdle(), nullptr) << "paused by the user, shown again";
    EXPECT_EQ(viewerState().animating, 0);

#ifndef _WIN32
    // Hidden, a window destroyed meanwhile is looked for once a second, for as long as it stays
    // hidden, and no longer once it shows.
    const int armed = timersArmed();
    platformWindowStatus(GLUT_HIDDEN);
    const ArmedTimer check = lastTimer();
    EXPECT_EQ(timersArmed(), armed + 1);
    EXPECT_EQ(check.ms, 1000u);
    platformWindowStatus(GLUT_FULLY_COVERED);
    EXPECT_EQ(timersArmed(), armed + 1) << "one check, however often it is hidden";
    check.callback(check.value);
    EXPECT_EQ(timersArmed(), armed + 2) << "the check is armed again";
    EXPECT_EQ(lastTimer().ms, 1000u);
    platformWindowStatus(GLUT_PARTIALLY_RETAINED);
    check.callback(check.value);
    EXPECT_EQ(timersArmed(), armed + 2) << "shown, it is not armed again";
#endif
}

#ifndef _WIN32
// Destroyed by another program, the window ends Vexo at once with status 1 and one line: when
// GLUT says that it is hidden, as X says first of a destroyed window, or when a frame meets it.
TEST_F(ViewerGl, ADestroyedWindowEndsTheProgramAtOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // see GlTest
    const std::pair<const char*, void (*)()> events[] = {
        {"hidden", [] { platformWindowStatus(GLUT_HIDDEN); }},
        {"a frame", [] { display(), XSync(glXGetCurrentDisplay(), False); }},
    };
    for (const auto& [what, event] : events) {
        EXPECT_EXIT(
            {
                Display* other = XOpenDisplay(nullptr);
                XDestroyWindow(other, glXGetCurrentDrawable());
                XCloseDisplay(other);
                event();
            },
            ::testing::ExitedWithCode(1), "^vexo: the window was destroyed by another program\n$")
            << what;
    }
    // The display going away (xkill, a server that ends) closes the connection under it: one
    // line and status 1 too, in Vexo's words rather than the X library's.
    EXPECT_EXIT(
        {
            Display* connection = glXGetCurrentDisplay();
            shutdown(ConnectionNumber(connection), SHUT_RDWR);
            display();
            XSync(connection, False);
        },
        ::testing::ExitedWithCode(1), "^vexo: the display closed the connection: [^\n]*\n$");
}
#endif

TEST_F(ViewerGl, SpaceStopsAndResumesTheSpin) {
    xMove(125, 125);
    const int before = viewerState().animating;
    xTap(XK_space);
    ASSERT_TRUE(pumpUntil([&] { return viewerState().animating != before; }));
    const float angle = viewerState().spinY;
    xTap(XK_space);
    ASSERT_TRUE(pumpUntil([&] { return viewerState().animating == before; }));
    EXPECT_EQ(viewerState().spinY, angle) << "resumes from the same angles";
}

#ifndef _WIN32
// Docks and task bars find the window by its class, tests and window managers its process.
TEST_F(ViewerGl, TheWindowIsNamedForDocksAndFoundByItsProcess) {
    Display* display = glXGetCurrentDisplay();
    const Window window = glXGetCurrentDrawable();
    char* title = nullptr;
    XClassHint hint{};
    Atom type;
    int format;
    unsigned long count = 0, left;
    unsigned char* pid = nullptr;
    ASSERT_TRUE(XFetchName(display, window, &title) && XGetClassHint(display, window, &hint));
    XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), 0, 1, False,
                       XA_CARDINAL, &type, &format, &count, &left, &pid);
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(std::string(title) + " " + hint.res_name + " " + hint.res_class + " " +
                  std::to_string(*reinterpret_cast<unsigned long*>(pid)),
              "Vexo vexo Vexo " + std::to_string(getpid()));
    XFree(title), XFree(hint.res_name), XFree(hint.res_class), XFree(pid);
}
#endif

TEST_F(ViewerGl, EnterSwitchesToOutlinesButShiftEnterDoesNot) {
    xMove(125, 125);
    // Front and back faces alike.
    auto polygonMode = [] {
        GLint mode[2];
        glGetIntegerv(GL_POLYGON_MODE, mode);
        return mode[0] == mode[1] ? mode[0] : -1;
    };
    ASSERT_EQ(polygonMode(), GL_FILL);
    xTap(XK_Return);
    ASSERT_TRUE(pumpUntil([&] { return polygonMode() == GL_LINE; }));
    EXPECT_EQ(viewerState().filled, 0);

    xKey(XK_Shift_L, true);
    xTap(XK_Return);
    xKey(XK_Shift_L, false);
    pumpFor(0.3);
    EXPECT_EQ(polygonMode(), GL_LINE) << "Shift+Enter belongs to the manipulator";

    xTap(XK_Return);
    ASSERT_TRUE(pumpUntil([&] { return polygonMode() == GL_FILL; }));
}

}  // namespace

#ifndef _WIN32
// A test that hangs ends its process within its bound, naming itself and the wait it was in.
TEST(TestBounds, AHangEndsTheProcessNamingTheTestAndItsWait) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // see GlTest
    setenv("VEXO_TEST_BOUND", "1", 1);
    EXPECT_EXIT(waitUntil([] { return false; }, 30), ::testing::ExitedWithCode(1),
                "TestBounds.AHangEndsTheProcessNamingTheTestAndItsWait: a hang.*in a wait of 30 s");
    unsetenv("VEXO_TEST_BOUND");
}
#endif
