// The built executable driven as a person would, with xdotool, and judged by screenshots
// of its window and by its exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "support.h"

namespace {

void settle(double seconds = 0.3) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// Runs a shell command and returns what it printed, without the trailing newline.
std::string sh(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
        pclose(p);
    }
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

struct Shot {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;
    bool operator==(const Shot& o) const { return w == o.w && h == o.h && rgb == o.rgb; }
};

// The pixels that are not the grey background: how many, and their centroid.
struct Die {
    long area = 0;
    double cx = 0, cy = 0;
};

Die dieIn(const Shot& s) {
    Die d;
    for (int y = 0; y < s.h; ++y) {
        for (int x = 0; x < s.w; ++x) {
            const unsigned char* p = &s.rgb[(y * s.w + x) * 3];
            if (std::abs(p[0] - 127.5) > 3 || std::abs(p[1] - 127.5) > 3 ||
                std::abs(p[2] - 127.5) > 3) {
                ++d.area, d.cx += x, d.cy += y;
            }
        }
    }
    if (d.area) d.cx /= d.area, d.cy /= d.area;
    return d;
}

// One running viewer, ended when the test is done with it.
class Vexo {
public:
    explicit Vexo(const std::vector<std::string>& args = {}) {
        pid_ = fork();
        if (pid_ == 0) {
            std::vector<char*> argv{const_cast<char*>(VEXO_EXE)};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(VEXO_EXE, argv.data());
            _exit(127);
        }
        for (int i = 0; i < 100 && win_.empty() && running(); ++i) {
            win_ = sh("xdotool search --onlyvisible --name '^Vexo$' 2>/dev/null | tail -n 1");
            if (win_.empty()) settle(0.1);
        }
        if (!win_.empty()) {
            xdo("windowfocus --sync " + win_);
            xdo("mousemove --window " + win_ + " 125 125");
            settle(0.2);
        }
    }
    ~Vexo() {
        if (running()) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& window() const { return win_; }
    bool running() {
        if (exited_) return false;
        if (waitpid(pid_, &status_, WNOHANG) == pid_) exited_ = true;
        return !exited_;
    }
    // Exit status once it has ended within `seconds`, or -1.
    int exitStatus(double seconds = 5) {
        for (int i = 0; i < seconds * 20 && running(); ++i) settle(0.05);
        if (!exited_) return -1;
        return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_);
    }
    void xdo(const std::string& args) { sh("xdotool " + args); }
    void keys(const std::string& names) { xdo("key --delay 30 " + names), settle(); }
    // A left-button drag from (x, y) by (dx, dy) in five moves, with `modifier` held.
    void drag(const std::string& modifier, int x, int y, int dx, int dy) {
        xdo("mousemove --window " + win_ + " " + std::to_string(x) + " " + std::to_string(y));
        if (!modifier.empty()) xdo("keydown " + modifier);
        xdo("mousedown 1");
        for (int i = 1; i <= 5; ++i) {
            xdo("mousemove --window " + win_ + " " + std::to_string(x + dx * i / 5) + " " +
                std::to_string(y + dy * i / 5));
        }
        xdo("mouseup 1");
        if (!modifier.empty()) xdo("keyup " + modifier);
        settle();
    }
    void resize(int w, int h) {
        xdo("windowsize --sync " + win_ + " " + std::to_string(w) + " " + std::to_string(h));
        settle(0.5);
    }
    Shot shot() {
        Shot s;
        FILE* p = popen(("xwd -silent -id " + win_ + " | convert xwd:- ppm:-").c_str(), "r");
        if (!p) return s;
        // A binary PPM header: P6, width, height, maximum, with optional # comment lines.
        int header[3] = {}, n = 0, c = fgetc(p);
        const bool p6 = c == 'P' && fgetc(p) == '6';
        while (p6 && n < 3 && (c = fgetc(p)) != EOF) {
            if (c == '#') {
                while (c != '\n' && c != EOF) c = fgetc(p);
            } else if (c >= '0' && c <= '9') {
                ungetc(c, p);
                if (fscanf(p, "%d", &header[n++]) != 1) break;
            }
        }
        s.w = header[0], s.h = header[1];
        if (n == 3 && header[2] == 255 && fgetc(p) != EOF) {
            s.rgb.resize(size_t(s.w) * s.h * 3);
            if (fread(s.rgb.data(), 1, s.rgb.size(), p) != s.rgb.size()) s.rgb.clear();
        }
        pclose(p);
        return s;
    }
    // A picture of the die held still by space.
    Shot stillShot() {
        Shot a = shot();
        for (int i = 0; i < 10; ++i) {
            settle(0.1);
            Shot b = shot();
            if (a == b) return a;
            a = b;
        }
        return a;
    }

private:
    pid_t pid_ = -1;
    int status_ = 0;
    bool exited_ = false;
    std::string win_;
};

class EndToEnd : public XServerTest {};

#define START(name, ...)    \
    Vexo name{__VA_ARGS__}; \
    ASSERT_FALSE(name.window().empty()) << "no window titled Vexo appeared"

TEST_F(EndToEnd, OpensTitledAtFixedSizeAndPlace) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, std::vector<std::string>{"-geometry", "400x300+10+20"}}) {
        START(vexo, args);
        EXPECT_EQ(sh("xdotool getwindowname " + vexo.window()), "Vexo");
        const std::string geometry = sh("xdotool getwindowgeometry " + vexo.window());
        EXPECT_NE(geometry.find("Position: 50,50"), std::string::npos) << geometry;
        EXPECT_NE(geometry.find("Geometry: 250x250"), std::string::npos) << geometry;
        EXPECT_TRUE(vexo.running());
    }
}

TEST_F(EndToEnd, SpinsAtOnceAndSpaceFreezesAndResumes) {
    START(vexo);
    const Shot a = vexo.shot();
    settle(0.2);
    EXPECT_FALSE(a == vexo.shot()) << "the die spins";
    EXPECT_GT(dieIn(a).area, 10000);
    vexo.keys("space");
    const Shot still = vexo.shot();
    settle(0.3);
    EXPECT_TRUE(still == vexo.shot()) << "space holds the picture still";
    vexo.keys("space");
    settle(0.2);
    EXPECT_FALSE(still == vexo.shot()) << "space again resumes the spin";
}

TEST_F(EndToEnd, EnterShowsOutlinesAndBack) {
    START(vexo);
    vexo.keys("space");
    const Shot filled = vexo.stillShot();
    vexo.keys("Return");
    const Die outlines = dieIn(vexo.shot());
    EXPECT_GT(outlines.area, 100);
    EXPECT_LT(outlines.area, dieIn(filled).area / 4)
        << "outlines " << outlines.area << " pixels, filled " << dieIn(filled).area;
    vexo.keys("shift+Return");
    EXPECT_EQ(dieIn(vexo.shot()).area, outlines.area) << "Shift+Enter is not the switch";
    vexo.keys("Return");
    EXPECT_TRUE(filled == vexo.shot());
}

TEST_F(EndToEnd, ResizedWindowKeepsTheDieSizeAndCentred) {
    START(vexo);
    vexo.keys("space");
    const Die square = dieIn(vexo.stillShot());
    EXPECT_NEAR(square.cx, 124.5, 1.0);
    EXPECT_NEAR(square.cy, 124.5, 1.0);
    for (auto [w, h] : {std::pair{500, 250}, std::pair{250, 500}}) {
        vexo.resize(w, h);
        const Shot s = vexo.stillShot();
        ASSERT_EQ(s.w, w);
        const Die d = dieIn(s);
        EXPECT_NEAR(d.area, square.area, square.area * 0.01) << w << " x " << h;
        EXPECT_NEAR(d.cx, (w - 1) / 2.0, 1.0) << w << " x " << h;
        EXPECT_NEAR(d.cy, (h - 1) / 2.0, 1.0) << w << " x " << h;
    }
}

TEST_F(EndToEnd, AltDragPansWithThePointer) {
    for (auto [w, h] : {std::pair{250, 250}, std::pair{500, 250}}) {
        START(vexo);
        vexo.keys("space");
        vexo.resize(w, h);
        vexo.drag("ctrl", 125, 150, 0, -50);  // smaller, so that it stays whole in view
        const Die before = dieIn(vexo.stillShot());
        vexo.drag("alt", 100, 150, 25, -20);
        const Die after = dieIn(vexo.stillShot());
        EXPECT_NEAR(after.cx - before.cx, 25, 1.0) << w << " x " << h;
        EXPECT_NEAR(after.cy - before.cy, -20, 1.0) << w << " x " << h;
    }
}

TEST_F(EndToEnd, CtrlDragZoomsTwoPercentPerFivePixels) {
    START(vexo);
    vexo.keys("space");
    vexo.drag("ctrl", 125, 150, 0, -50);  // smaller first, so the larger die stays in view
    const Die small = dieIn(vexo.stillShot());
    vexo.drag("ctrl", 125, 100, 0, 50);
    const Die large = dieIn(vexo.stillShot());
    EXPECT_NEAR(double(large.area) / small.area, std::pow(1.02, 20), 0.03)
        << small.area << " then " << large.area << " pixels";
}

TEST_F(EndToEnd, KeysAndPresetsGiveBackThePicture) {
    START(vexo);
    vexo.keys("space");
    const Shot start = vexo.stillShot();
    vexo.keys("x x x x x");
    EXPECT_FALSE(start == vexo.shot());
    vexo.keys("X X X X X");
    EXPECT_TRUE(start == vexo.shot()) << "x five times then X five times";

    vexo.drag("shift", 100, 100, 40, 25);
    vexo.drag("shift+ctrl", 100, 100, -20, 30);
    vexo.keys("y Right alt+Next z");
    EXPECT_FALSE(start == vexo.shot());
    vexo.keys("ctrl+Up");
    EXPECT_TRUE(start == vexo.shot()) << "Ctrl+Up undoes turns and key steps";
}

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
    settle();
    vexo.xdo("mousemove --window " + vexo.window() + " 20 20 click 1");
    settle();
    ASSERT_TRUE(vexo.running()) << "dismissing the menu must not quit";
    EXPECT_TRUE(still == vexo.stillShot());

    // Open it again and choose its one entry, just below and right of the pointer.
    vexo.xdo("mousemove --window " + vexo.window() + " 100 100 click 3");
    settle();
    vexo.xdo("mousemove --window " + vexo.window() + " 115 108 click 1");
    EXPECT_EQ(vexo.exitStatus(), 0);
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
                vexo.drag(m, x, y, pick(250) - x, pick(250) - y);
                break;
            }
            default: vexo.resize(1 + pick(400), 1 + pick(400));
        }
        ASSERT_TRUE(vexo.running()) << "step " << i;
    }
    vexo.resize(1, 1);
    vexo.resize(250, 250);
    vexo.keys("ctrl+Up");
    EXPECT_TRUE(vexo.running());
    vexo.keys("Escape");
    EXPECT_EQ(vexo.exitStatus(), 0);
}

}  // namespace
