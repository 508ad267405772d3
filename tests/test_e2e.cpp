// The built executable driven as a person would and judged by screenshots of its window and
// by its exit status.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "e2e_support.h"

namespace {

TEST_F(EndToEnd, OpensTitledAtFixedSizeAndPlace) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, std::vector<std::string>{"-geometry", "400x300+10+20"}}) {
        START(vexo, args);
        EXPECT_EQ(sh("xdotool getwindowname " + vexo.window()), "Vexo");
        const std::string geometry = sh("xdotool getwindowgeometry " + vexo.window());
        EXPECT_NE(geometry.find("Position: 50,50"), std::string::npos) << geometry;
        EXPECT_NE(geometry.find("Geometry: 250x250"), std::string::npos) << geometry;
        EXPECT_EQ(sh("xprop -id " + vexo.window() + " WM_CLASS"),
                  "WM_CLASS(STRING) = \"vexo\", \"Vexo\"");
        EXPECT_TRUE(vexo.running());
    }
}

TEST_F(EndToEnd, SpinsAtOnceAndSpaceFreezesAndResumes) {
    START(vexo);
    const Shot a = vexo.shot();
    EXPECT_TRUE(vexo.changesFrom(a)) << "the die spins";
    EXPECT_GT(dieIn(a).area, 10000);
    vexo.keys("space");
    EXPECT_TRUE(vexo.rested()) << "space stops the spin";
    const Shot still = vexo.shot();
    sleepFor(0.3);
    EXPECT_TRUE(still == vexo.shot()) << "space holds the picture still";
    vexo.xdo("key space");
    EXPECT_TRUE(vexo.changesFrom(still)) << "space again resumes the spin";
}

// What a key, a drag or a resize does to the picture is the GL tests' (test_viewer,
// test_manipulator, test_projection), with real input in the viewer's own window; here, what only
// the running program shows: its window, its ending, its status and what it says.
TEST_F(EndToEnd, EscapeQuitsCleanlyWhateverIsHeld) {
    for (const char* key : {"Escape", "ctrl+Escape", "shift+Escape"}) {
        START(vexo);
        vexo.keys(key);
        EXPECT_EQ(vexo.exitStatus(), 0) << key;
    }
}

TEST_F(EndToEnd, MenuQuitterQuitsAndDismissingChangesNothing) {
    START(vexo);
    vexo.keys("space");
    const Shot still = vexo.stillShot();
    // Open the menu, then click outside it.
    vexo.xdo("mousemove --window " + vexo.window() + " 150 150 click 3");
    sleepFor();
    vexo.xdo("mousemove --window " + vexo.window() + " 20 20 click 1");
    sleepFor();
    ASSERT_TRUE(vexo.running()) << "dismissing the menu must not quit";
    EXPECT_TRUE(still == vexo.stillShot());

    // Open it again and choose its one entry, just below and right of the pointer.
    vexo.xdo("mousemove --window " + vexo.window() + " 100 100 click 3");
    sleepFor();
    vexo.xdo("mousemove --window " + vexo.window() + " 115 108 click 1");
    EXPECT_EQ(vexo.exitStatus(), 0);
}

// Ended from outside, Vexo says why in one line and ends with status 1: its window destroyed by
// another program, spinning or paused, shown or hidden (when a slow check finds it), or its
// connection closed by xkill.
TEST_F(EndToEnd, HiddenOrCoveredWindowRestsAndOneEndedFromOutsideEndsTheProgram) {
    const std::string destroyed = "vexo: the window was destroyed by another program";
    enum Ending { kSpinningShown, kPausedHidden, kPausedShown, kKilled };
    for (Ending ending : {kSpinningShown, kPausedHidden, kPausedShown, kKilled}) {
        SCOPED_TRACE(ending == kSpinningShown  ? "destroyed spinning"
                     : ending == kPausedHidden ? "destroyed paused while hidden"
                     : ending == kPausedShown  ? "destroyed paused while shown"
                                               : "killed");
        START(vexo);
        if (ending == kPausedHidden || ending == kPausedShown) vexo.keys("space");
        if (ending == kSpinningShown || ending == kPausedHidden) {
            vexo.xdo("windowunmap --sync " + vexo.window());
            EXPECT_TRUE(vexo.rested()) << "hidden, it rests";
        }
        if (ending == kSpinningShown) {
            vexo.xdo("windowmap --sync " + vexo.window());
            EXPECT_TRUE(vexo.works()) << "shown again, it spins again";

            // A second window, newer and so on top, first right over it, then over one corner.
            START(cover);
            EXPECT_TRUE(vexo.rested()) << "fully covered, it rests";
            cover.xdo("windowmove --sync " + cover.window() + " 250 250");
            EXPECT_TRUE(vexo.works()) << "with one corner covered, it spins";
        }
        if (ending == kKilled) {
            // Where the X library writes to the closed connection first (XWayland), SIGPIPE would
            // end it silently: it must be ignored.
            const std::string ignored =
                sh("awk '/^SigIgn/ { print $2 }' /proc/" + std::to_string(vexo.pid()) + "/status");
            EXPECT_TRUE(std::stoull(ignored, nullptr, 16) >> (SIGPIPE - 1) & 1) << ignored;
            sh("timeout 10 xkill -id " + vexo.window());
        } else {
            vexo.xdo("windowclose " + vexo.window());
        }
        // Hidden, the check for it runs once a second: well within the bound, however busy.
        EXPECT_EQ(vexo.exitStatus(10), 1);
        EXPECT_EQ(vexo.errors(), ending == kKilled ? "vexo: the display closed the connection: "
                                                     "killed by another program, or the display "
                                                     "ended"
                                                   : destroyed);
    }
}

TEST_F(EndToEnd, SurvivesARandomStorm) {
    START(vexo);
    std::mt19937 random(8122026);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const char* mods[] = {"",           "shift",     "ctrl",     "alt",
                          "shift+ctrl", "shift+alt", "ctrl+alt", "shift+ctrl+alt"};
    const char* keys[] = {"x",     "Y",    "z",      "Left",  "Up", "Right", "Down",
                          "Prior", "Next", "Return", "space", "a",  "F1"};
    for (int i = 0; i < 60; ++i) {
        const std::string m = mods[pick(8)];
        switch (pick(3)) {
            case 0: vexo.xdo("key " + (m.empty() ? "" : m + "+") + keys[pick(13)]); break;
            case 1: {
                const int x = pick(250), y = pick(250);
                xDrag(m, x, y, pick(250) - x, pick(250) - y);
                break;
            }
            default:
                vexo.xdo("windowsize --sync " + vexo.window() + " " +
                         std::to_string(1 + pick(400)) + " " + std::to_string(1 + pick(400)));
        }
        ASSERT_TRUE(vexo.running()) << "step " << i;
    }
    // Wherever the storm left it, spinning or not, Home brings the die back.
    vexo.xdo("windowsize --sync " + vexo.window() + " 1 1");
    vexo.xdo("windowsize --sync " + vexo.window() + " 250 250");
    vexo.xdo("key Home");
    Die back;
    EXPECT_TRUE(waitUntil([&] {
        back = dieIn(vexo.shot());
        return back.area > 100 && std::abs(back.cx - 124.5) <= 3 && std::abs(back.cy - 124.5) <= 3;
    })) << "the die at "
        << back.cx << ", " << back.cy << ", " << back.area << " pixels";
    vexo.keys("Escape");
    EXPECT_EQ(vexo.exitStatus(), 0);
}

}  // namespace
