#include <GL/glut.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <random>

#include <vexo/manipulator.h>
#include "gl_support.h"
#include "projection.h"
#include "viewer.h"

namespace {

constexpr int SHIFT = GLUT_ACTIVE_SHIFT, CTRL = GLUT_ACTIVE_CTRL, ALT = GLUT_ACTIVE_ALT;
constexpr int LEFT = GLUT_LEFT_BUTTON, MIDDLE = GLUT_MIDDLE_BUTTON;

// The orthographic projection of the viewer's box in a w x h window.
std::vector<float> orthoFor(int w, int h) {
    std::vector<float> m(16, 0.0f);
    ProjectionBox b{};
    const double half = VIEWER_BOX_HALF, depth = VIEWER_BOX_DEPTH;
    if (projectionBounds({-half, half, -half, half, -depth, depth}, w, h, &b)) {
        m[0] = static_cast<float>(2 / (b.right - b.left));
        m[5] = static_cast<float>(2 / (b.top - b.bottom));
    }
    m[10] = static_cast<float>(-1 / depth);
    m[15] = 1;
    return m;
}

const ManipulatorState& s = *manipState();

// Everything the view is drawn with, to compare whole views rather than sums of fields.
using View = std::array<float, 10>;
View view() {
    return {s.panX, s.panY,      s.rotX,      s.rotY,      s.rotZ,
            s.zoom, s.keyAngleX, s.keyAngleY, s.keyAngleZ, s.keyZoom};
}
constexpr View kStartView{0, 0, 0, 0, 0, 1, 0, 0, 0, 1};

class Manip : public ::testing::Test {
protected:
    void SetUp() override { manipReset(); }
    // A left-button press, moves through `path`, and a release, all with `modifiers`.
    static void drag(int modifiers, std::initializer_list<std::pair<int, int>> path, int w = 250,
                     int h = 250) {
        const auto p = orthoFor(w, h);
        const auto* it = path.begin();
        manipMouseEvent(LEFT, GLUT_DOWN, it->first, it->second, modifiers, p.data(), w);
        for (++it; it != path.end(); ++it) manipMotion(it->first, it->second);
        manipMouseEvent(LEFT, GLUT_UP, (path.end() - 1)->first, (path.end() - 1)->second, modifiers,
                        p.data(), w);
    }
};

// ---- Modes and transform ---------------------------------------------------------------

TEST_F(Manip, ModeTable) {
    EXPECT_EQ(manipModeFromMask(0), MODE_NONE);
    EXPECT_EQ(manipModeFromMask(SHIFT), MODE_SHIFT);
    EXPECT_EQ(manipModeFromMask(SHIFT | ALT), MODE_SHIFT);
    EXPECT_EQ(manipModeFromMask(SHIFT | CTRL), MODE_SHIFT_CTRL);
    EXPECT_EQ(manipModeFromMask(CTRL), MODE_CTRL);
    EXPECT_EQ(manipModeFromMask(ALT), MODE_ALT);
    EXPECT_EQ(manipModeFromMask(CTRL | ALT), MODE_CTRL_ALT);
    EXPECT_EQ(manipModeFromMask(SHIFT | CTRL | ALT), MODE_CTRL_ALT);
}

// ---- Drags -----------------------------------------------------------------------------

TEST_F(Manip, ShiftAndShiftCtrlTurnOneDegreeAPixel) {
    drag(SHIFT, {{100, 100}, {110, 104}, {130, 110}});
    EXPECT_EQ(s.rotY, 30.0f);
    EXPECT_EQ(s.rotX, 10.0f);
    drag(SHIFT | CTRL, {{0, 0}, {-5, 7}});
    EXPECT_EQ(s.rotZ, -5.0f);
    EXPECT_EQ(s.rotX, 17.0f);
    EXPECT_EQ(s.rotY, 30.0f);
}

TEST_F(Manip, CtrlZoomsTwoPercentPerFivePixels) {
    const auto p = orthoFor(250, 250);
    manipMouseEvent(LEFT, GLUT_DOWN, 50, 0, CTRL, p.data(), 250);
    manipMotion(80, 50);
    EXPECT_NEAR(s.zoom, std::pow(1.02, 10), 1e-5);
    EXPECT_EQ(s.lastX, 50) << "zoom ignores horizontal motion";
    manipReset();
    drag(CTRL, {{0, 0}, {0, 10}, {0, 0}});
    EXPECT_NEAR(s.zoom, 1.0f, 1e-5);
    // A slow drag, one pixel a step, zooms as much as one quick step.
    drag(CTRL,
         {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}, {0, 6}, {0, 7}, {0, 8}, {0, 9}, {0, 10}});
    EXPECT_NEAR(s.zoom, 1.02 * 1.02, 1e-5);
    // The drag that a pinch stands for scales by the pinch's factor, either way.
    for (float factor : {2.0f, 0.25f}) {
        manipReset();
        drag(CTRL, {{0, 0}, {0, static_cast<int>(std::lround(manipZoomPixels(factor)))}});
        EXPECT_NEAR(s.zoom / factor, 1, 0.005) << "factor " << factor;
    }
}

TEST_F(Manip, ZoomStaysFiniteAndComesBack) {
    drag(CTRL, {{0, 0}, {0, 2000000000}});
    EXPECT_EQ(s.zoom, MANIP_ZOOM_MAX);
    drag(CTRL, {{0, 0}, {0, -200000}});
    EXPECT_EQ(s.zoom, MANIP_ZOOM_MIN);
    for (int i = 0; i < 20000; ++i) drag(CTRL, {{0, 0}, {0, -1000}});
    EXPECT_EQ(s.zoom, MANIP_ZOOM_MIN);
    drag(CTRL, {{0, 0}, {0, 2326}});  // 1.02^(2326 / 5) is about 1e4
    EXPECT_NEAR(s.zoom, 1.0f, 0.01f);
}

TEST_F(Manip, AltPanFollowsThePointerInAnyWidth) {
    drag(ALT, {{10, 10}, {20, 17}});
    EXPECT_NEAR(s.panX, 10 * 7.0 / 250, 1e-6);
    EXPECT_NEAR(s.panY, -7 * 7.0 / 250, 1e-6) << "window y grows downwards";
    manipReset();
    drag(ALT, {{10, 10}, {11, 11}}, 500, 250);
    EXPECT_NEAR(s.panX, 0.028, 1e-6);
    EXPECT_NEAR(s.panY, -0.028, 1e-6);
    manipReset();
    manipSetPanGain(2.0f);
    drag(ALT, {{0, 0}, {1, 0}});
    EXPECT_NEAR(s.panX, 0.056, 1e-6);
    manipSetPanGain(1.0f);
}

TEST_F(Manip, PanWithNoPixelSizeLeavesTheDieInPlace) {
    const float zero[16] = {};
    manipMouseEvent(LEFT, GLUT_DOWN, 0, 0, ALT, orthoFor(250, 250).data(), 0);
    manipMotion(40, 40);
    manipMouseEvent(LEFT, GLUT_DOWN, 0, 0, ALT, zero, 250);
    manipMotion(40, 40);
    EXPECT_EQ(s.panX, 0.0f);
    EXPECT_EQ(s.panY, 0.0f);
    float tiny[16] = {};
    tiny[0] = 1e-45f;  // a pixel wider than single precision reaches
    manipMouseEvent(LEFT, GLUT_DOWN, 0, 0, ALT, tiny, 250);
    manipMotion(40, 40);
    EXPECT_EQ(s.panX, 0.0f);
    drag(ALT, {{0, 0}, {25, 0}});
    EXPECT_NEAR(s.panX, 0.7, 1e-6) << "the next good snapshot pans again";
}

TEST_F(Manip, DragLifecycle) {
    const auto p = orthoFor(250, 250);
    // No modifier: nothing starts, nothing moves.
    EXPECT_EQ(manipMouseEvent(LEFT, GLUT_DOWN, 5, 5, 0, p.data(), 250), 0);
    EXPECT_EQ(manipMotion(50, 50), 0);
    EXPECT_EQ(s.rotX, 0.0f);

    // A release with the modifier held ends the drag and asks one redraw.
    EXPECT_EQ(manipMouseEvent(LEFT, GLUT_DOWN, 0, 0, SHIFT, p.data(), 250), 1);
    EXPECT_EQ(s.dragFlag, 1);
    EXPECT_EQ(manipMouseEvent(LEFT, GLUT_UP, 3, 4, SHIFT, p.data(), 250), 1);
    EXPECT_EQ(s.dragFlag, 0);
    EXPECT_EQ(manipMotion(60, 60), 0);

    // A release after the modifier was let go leaves the flag: later plain drags only redraw.
    manipMouseEvent(LEFT, GLUT_DOWN, 0, 0, SHIFT, p.data(), 250);
    EXPECT_EQ(manipMouseEvent(LEFT, GLUT_UP, 9, 9, 0, p.data(), 250), 0);
    EXPECT_EQ(s.dragFlag, 1);
    EXPECT_EQ(manipMotion(30, 30), 1);
    EXPECT_EQ(s.rotX, 0.0f);
    EXPECT_EQ(s.rotY, 0.0f);
    // ... and when a key then makes them steps, they start from where the pointer really was.
    manipMouseEvent(LEFT, GLUT_DOWN, 100, 100, 0, p.data(), 250);
    manipKeyboardEvent('X', SHIFT);
    manipMotion(102, 101);
    EXPECT_EQ(s.rotY, 2.0f);
    EXPECT_EQ(s.rotX, 1.0f);
    manipReset();

    // A key pressed during a drag switches its kind from the next step on.
    manipMouseEvent(LEFT, GLUT_DOWN, 0, 0, SHIFT, p.data(), 250);
    manipMotion(0, 5);
    manipSpecialEvent(GLUT_KEY_F1, CTRL);
    manipMotion(0, 10);
    EXPECT_EQ(s.rotX, 5.0f);
    EXPECT_NEAR(s.zoom, 1.02f, 1e-6);

    // A wheel notch, buttons 3 and 4 pressed and let go, is not the manipulator's: the drag goes
    // on.
    for (int wheel : {3, 4}) {
        for (int state : {GLUT_DOWN, GLUT_UP})
            EXPECT_EQ(manipMouseEvent(wheel, state, 0, 0, 0, p.data(), 250), 0);
    }
    EXPECT_EQ(manipMotion(0, 15), 1);
    EXPECT_NEAR(s.zoom, 1.02f * 1.02f, 1e-6);

    // A middle-button event stops the motion steps until the next left event.
    EXPECT_EQ(manipMouseEvent(MIDDLE, GLUT_DOWN, 0, 0, SHIFT, p.data(), 250), 0);
    EXPECT_EQ(manipMotion(0, 100), 0);
    EXPECT_NEAR(s.zoom, 1.02f * 1.02f, 1e-6);
    EXPECT_EQ(s.mode, MODE_CTRL) << "other buttons leave the mode alone";
}

float slotX = 0, slotY = 0;
int changes = 0;
void countChange() { ++changes; }

TEST_F(Manip, CtrlAltDrivesTwoBoundedParameters) {
    drag(CTRL | ALT, {{0, 0}, {40, 40}});
    EXPECT_EQ(s.lastX, 40) << "no slot: only the pointer position changes";
    EXPECT_EQ(view(), kStartView);

    slotX = 0, slotY = 5, changes = 0;
    manipSetParamSlot(0, &slotX, 0.5f, -10, 10);
    manipSetParamSlot(1, &slotY, -1, 0, 8);
    manipSetChangeHook(countChange);
    drag(CTRL | ALT, {{0, 0}, {4, 2}, {100, -2}});
    EXPECT_EQ(slotX, 10.0f) << "clamped to the maximum";
    EXPECT_EQ(slotY, 7.0f);
    EXPECT_EQ(changes, 2);
    drag(CTRL | ALT, {{0, 0}, {-100, 100}});
    EXPECT_EQ(slotX, -10.0f);
    EXPECT_EQ(slotY, 0.0f) << "clamped to the minimum";
    manipSetParamSlot(0, nullptr, 0, 0, 0);
    manipSetParamSlot(1, nullptr, 0, 0, 0);
    manipSetChangeHook(nullptr);
}

// One client's scene: what a caller gets wrong is refused in every build and leaves every byte
// of the state alone; a reset brings back the start view and keeps the client's hooks, slots
// and pan gain.
TEST_F(Manip, MisuseIsRefusedAndAResetKeepsTheClientsSettings) {
    manipSetChangeHook(countChange), manipSetRedisplayHook(countChange),
        manipSetQuitHook(countChange);
    manipSetPanGain(3);
    ASSERT_EQ(manipSetParamSlot(1, &slotY, 1, 2, 2), 1) << "min == max holds the value still";
    ManipulatorState before;
    std::memcpy(&before, &s, sizeof s);
    const float nan = NAN;
    const struct {
        int slot;
        float gain, min, max;
    } slots[] = {{2, 1, 0, 10},  {-1, 1, 0, 10}, {1 << 30, 1, 0, 10}, {0, 1, 10, 0},
                 {0, nan, 0, 1}, {1, 1, nan, 1}, {1, 1, 0, nan},      {0, INFINITY, 0, 1}};
    for (const auto& c : slots) {
        EXPECT_EQ(manipSetParamSlot(c.slot, &slotX, c.gain, c.min, c.max), 0)
            << "slot " << c.slot << " gain " << c.gain << " [" << c.min << ", " << c.max << "]";
        EXPECT_EQ(std::memcmp(&before, &s, sizeof s), 0) << "slot " << c.slot;
    }
    EXPECT_EQ(manipMouseEvent(LEFT, GLUT_DOWN, 5, 5, SHIFT, nullptr, 250), 0);
    EXPECT_EQ(std::memcmp(&before, &s, sizeof s), 0) << "a null projection";
    for (float factor : {0.0f, -1.0f, nan, -INFINITY}) EXPECT_EQ(manipZoomPixels(factor), 0.0f);
    EXPECT_EQ(manipVersion(), MANIP_VERSION);
    EXPECT_EQ(MANIP_VERSION / 10000, VEXO_MANIPULATOR_VERSION_MAJOR) << "1.0's names stay";

    drag(SHIFT, {{0, 0}, {10, 10}});
    manipReset();
    EXPECT_EQ(view(), kStartView);
    EXPECT_TRUE(!std::memcmp(before.slot, s.slot, sizeof s.slot) && s.panGain == 3 &&
                s.changeHook == countChange && s.redisplayHook == countChange &&
                s.quitHook == countChange)
        << "the client's settings after a reset";
    manipSetChangeHook(nullptr), manipSetRedisplayHook(nullptr), manipSetQuitHook(nullptr);
    manipSetParamSlot(1, nullptr, 0, 0, 0);
    manipSetPanGain(1);
}

// ---- Keys ------------------------------------------------------------------------------

TEST_F(Manip, LettersTurnTheKeyAnglesAndUndo) {
    // Each small letter turns its own angle forwards, and its capital turns it back.
    const float* angle[3] = {&s.keyAngleX, &s.keyAngleY, &s.keyAngleZ};
    for (int axis = 0; axis < 3; ++axis) {
        View expected = kStartView;
        for (int i = 0; i < 5; ++i) EXPECT_EQ(manipKeyboardEvent('x' + axis, 0), 1);
        expected[6 + axis] = 10;
        EXPECT_EQ(view(), expected) << char('x' + axis) << " five times";
        EXPECT_EQ(*angle[axis], 10.0f);
        for (int i = 0; i < 5; ++i) manipKeyboardEvent('X' + axis, SHIFT);
        EXPECT_EQ(view(), kStartView) << char('X' + axis) << " five times";
    }
    EXPECT_EQ(manipKeyboardEvent('a', 0), 0);
    EXPECT_EQ(manipKeyboardEvent(13, 0), 0) << "plain Enter is the viewer's";
    EXPECT_EQ(manipKeyboardEvent(13, SHIFT | CTRL), 0);
    EXPECT_EQ(manipKeyboardEvent(24, CTRL), 0) << "Ctrl+x arrives as 24";
    EXPECT_EQ(manipKeyboardEvent(13, SHIFT), 1);
    EXPECT_EQ(s.toggleFlag, 1);
    manipKeyboardEvent(13, SHIFT);
    EXPECT_EQ(s.toggleFlag, 0);
}

TEST_F(Manip, ArrowAndPageKeysStepByModifier) {
    struct Case {
        int modifiers;
        float step;
    } cases[] = {{0, 1}, {ALT, 10}, {SHIFT | CTRL, 1}, {CTRL | ALT, 10}, {SHIFT | CTRL | ALT, 10}};
    for (const Case& c : cases) {
        manipReset();
        manipSpecialEvent(GLUT_KEY_RIGHT, c.modifiers);
        manipSpecialEvent(GLUT_KEY_DOWN, c.modifiers);
        manipSpecialEvent(GLUT_KEY_PAGE_UP, c.modifiers);
        EXPECT_EQ(s.keyAngleY, c.step) << "modifiers " << c.modifiers;
        EXPECT_EQ(s.keyAngleX, c.step);
        EXPECT_EQ(s.keyAngleZ, -c.step);
        manipSpecialEvent(GLUT_KEY_LEFT, c.modifiers);
        manipSpecialEvent(GLUT_KEY_UP, c.modifiers);
        manipSpecialEvent(GLUT_KEY_PAGE_DOWN, c.modifiers);
        EXPECT_EQ(view(), kStartView);
    }
    EXPECT_EQ(manipSpecialEvent(GLUT_KEY_F1, 0), 0);
    EXPECT_EQ(manipSpecialEvent(GLUT_KEY_END, CTRL), 0);
}

TEST_F(Manip, CtrlPresetsDiscardMouseTurnsOnly) {
    drag(SHIFT, {{0, 0}, {30, 20}});
    drag(ALT, {{0, 0}, {5, 5}});
    drag(CTRL, {{0, 0}, {0, 5}});
    const float panX = s.panX, zoom = s.zoom;
    const int expected[6][3] = {{0, 0, 0},   {0, 0, 0},   {0, 180, 0},
                                {180, 0, 0}, {0, 0, 180}, {0, 0, 0}};
    for (int key = GLUT_KEY_LEFT; key <= GLUT_KEY_PAGE_DOWN; ++key) {
        manipKeyboardEvent('x', 0);
        EXPECT_EQ(manipSpecialEvent(key, CTRL), 1);
        const int* e = expected[key - GLUT_KEY_LEFT];
        EXPECT_EQ(s.keyAngleX, e[0]) << "key " << key;
        EXPECT_EQ(s.keyAngleY, e[1]) << "key " << key;
        EXPECT_EQ(s.keyAngleZ, e[2]) << "key " << key;
        EXPECT_EQ(std::vector<float>({s.rotX, s.rotY, s.rotZ}), std::vector<float>(3, 0.0f));
    }
    EXPECT_EQ(s.panX, panX);
    EXPECT_EQ(s.zoom, zoom);

    // Home, with any modifiers, brings back what the presets keep: a die panned out of sight
    // in a window 10 pixels high, then zoomed away, comes back whole, the drag unchanged.
    for (int modifiers : {0, SHIFT | CTRL | ALT}) {
        drag(ALT, {{0, 0}, {100, 0}}, 250, 10);
        drag(CTRL, {{0, 0}, {0, -500}});
        manipSpecialEvent(GLUT_KEY_UP, SHIFT);
        manipKeyboardEvent('x', 0);
        EXPECT_GT(s.panX, 69.99f) << "a pixel of a 10-pixel-high window is 0.7 units";
        EXPECT_EQ(manipSpecialEvent(GLUT_KEY_HOME, modifiers), 1);
        EXPECT_EQ(view(), kStartView) << "modifiers " << modifiers;
    }
}

TEST_F(Manip, ShiftArrowsScaleTheKeyZoomWithinBounds) {
    manipSpecialEvent(GLUT_KEY_UP, SHIFT);
    EXPECT_FLOAT_EQ(s.keyZoom, 1.1f);
    manipSpecialEvent(GLUT_KEY_PAGE_DOWN, SHIFT);
    EXPECT_FLOAT_EQ(s.keyZoom, 1.0f);
    for (int i = 0; i < 2000; ++i) manipSpecialEvent(GLUT_KEY_LEFT, SHIFT);
    EXPECT_EQ(s.keyZoom, MANIP_ZOOM_MAX);
    for (int i = 0; i < 4000; ++i) manipSpecialEvent(GLUT_KEY_RIGHT, SHIFT);
    EXPECT_EQ(s.keyZoom, MANIP_ZOOM_MIN);
    for (int i = 0; i < 97; ++i) manipSpecialEvent(GLUT_KEY_UP, SHIFT);
    EXPECT_NEAR(s.keyZoom, 1.0f, 0.05f) << "and back";
}

void announce() { std::fprintf(stderr, "quit hook ran\n"); }

TEST_F(Manip, EscapeQuitsWithStatusZeroWhateverIsHeld) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // see GlTest
    for (int modifiers : {0, CTRL, SHIFT, SHIFT | CTRL | ALT}) {
        EXPECT_EXIT(manipKeyboardEvent(27, modifiers), ::testing::ExitedWithCode(0), "");
    }
    manipSetQuitHook(announce);
    EXPECT_EXIT(manipKeyboardEvent(27, 0), ::testing::ExitedWithCode(0), "quit hook ran");
    manipSetQuitHook(nullptr);
}

// Random keys, drags with every modifier combination and window sizes down to 1 x 1.
TEST_F(Manip, RandomStormLeavesAFiniteState) {
    std::mt19937 random(20261208);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    const int keys[] = {'x', 'y', 'z', 'X', 'Y', 'Z', 13, 'a'};
    for (int round = 0; round < 20000; ++round) {
        const int modifiers = pick(0, 7);
        switch (pick(0, 3)) {
            case 0:
                manipKeyboardEvent(static_cast<unsigned char>(keys[pick(0, 7)]), modifiers);
                break;
            case 1: manipSpecialEvent(pick(GLUT_KEY_LEFT, GLUT_KEY_PAGE_DOWN), modifiers); break;
            default: {
                const int w = pick(0, 2000), h = pick(0, 2000);
                const auto p = orthoFor(w, h);
                manipMouseEvent(pick(0, 1), pick(0, 1), pick(-50, 3000), pick(-50, 3000), modifiers,
                                p.data(), w);
                for (int i = pick(0, 5); i > 0; --i) manipMotion(pick(-50, 3000), pick(-50, 3000));
            }
        }
        const float fields[] = {s.panX, s.panY,      s.rotX,      s.rotY,      s.rotZ,
                                s.zoom, s.keyAngleX, s.keyAngleY, s.keyAngleZ, s.keyZoom};
        for (float f : fields) ASSERT_TRUE(std::isfinite(f)) << "round " << round;
        ASSERT_GT(s.zoom, 0.0f);
        ASSERT_GT(s.keyZoom, 0.0f);
    }
}

// ---- On a real GL context, with real input ---------------------------------------------

class ManipGl : public GlTest {};

TEST_F(ManipGl, ModifierModesFromRealButtonsAndKeys) {
    struct Row {
        std::vector<unsigned long> held;
        ManipMode mode;
    } rows[] = {
        {{XK_Shift_L}, MODE_SHIFT},
        {{XK_Shift_L, XK_Control_L}, MODE_SHIFT_CTRL},
        {{XK_Shift_L, XK_Alt_L}, MODE_SHIFT},
        {{XK_Control_L, XK_Alt_L}, MODE_CTRL_ALT},
        {{XK_Control_L}, MODE_CTRL},
        {{XK_Shift_L, XK_Control_L, XK_Alt_L}, MODE_CTRL_ALT},
        {{XK_Alt_L}, MODE_ALT},
        {{}, MODE_NONE},
    };
    xMove(125, 125);
    for (bool byKey : {false, true}) {
        for (const Row& row : rows) {
            for (unsigned long k : row.held) xKey(k, true);
            if (byKey) {
                xTap(XK_End);  // claimed by nobody; Ctrl+Alt+F1 is the server's
            } else {
                xButton(1, true);
                xButton(1, false);
            }
            for (unsigned long k : row.held) xKey(k, false);
            EXPECT_TRUE(pumpUntil([&] { return s.mode == row.mode; }, 2))
                << (byKey ? "End" : "left click") << " with " << row.held.size()
                << " modifiers: expected mode " << row.mode << ", observed " << s.mode;
        }
    }
    pumpFor(0.1);
}

TEST_F(ManipGl, RealDragsTurnZoomAndPan) {
    // Paused, the die follows an Alt-drag while the button is still down: its left edge, 3.6 of
    // the 7 units about the centre, leaves x = 75 and its right edge passes x = 200.
    glutIdleFunc(nullptr);
    display();
    ASSERT_FALSE(nearRgb(background(), shownPixel(75, 125), 3, ""))
        << "before the drag, the die covers (75, 125)";
    xMove(100, 125);
    xKey(XK_Alt_L, true);
    xButton(1, true);
    ASSERT_TRUE(pumpUntil([] { return s.dragFlag == 1; }));
    pumpFor(0.05);  // the press's own frame
    for (int x = 106; x <= 130; x += 6) xMove(x, 125);
    const bool moved = pumpUntil([] { return nearRgb(background(), shownPixel(75, 125), 3, ""); });
    EXPECT_TRUE(moved) << "mid-drag, " << toString(shownPixel(75, 125)) << " at (75, 125): the "
                       << "die has not moved, though the pan is " << s.panX;
    EXPECT_FALSE(nearRgb(background(), shownPixel(200, 125), 3, "")) << "nor reached (200, 125)";
    xButton(1, false);
    xKey(XK_Alt_L, false);
    pumpFor(0.1);
    manipReset();
    glutIdleFunc(idle);

    xDrag("shift", 100, 100, 30, 10);
    ASSERT_TRUE(pumpUntil([] { return s.rotY == 30.0f && s.dragFlag == 0; }))
        << "rotY " << s.rotY << " rotX " << s.rotX;
    EXPECT_EQ(s.rotX, 10.0f);
    xDrag("ctrl", 100, 100, 0, 50);
    ASSERT_TRUE(pumpUntil([] { return s.dragFlag == 0 && s.zoom > 1.2f; }));
    EXPECT_NEAR(s.zoom, std::pow(1.02, 10), 1e-5);
    // A pixel is 7 / 250 units across the shorter side, in a square, wide or tall window.
    for (auto [w, h] : {std::pair{250, 250}, std::pair{500, 250}, std::pair{250, 500}}) {
        resizeWindow(w, h);
        manipReset();
        xDrag("alt", 100, 100, 25, -50);
        ASSERT_TRUE(pumpUntil([] { return s.dragFlag == 0 && s.panY != 0; }))
            << "drag " << s.dragFlag << " pan " << s.panX << ", " << s.panY;
        EXPECT_NEAR(s.panX, 0.7, 1e-5) << w << " x " << h;
        EXPECT_NEAR(s.panY, 1.4, 1e-5) << w << " x " << h;
    }
}

}  // namespace
