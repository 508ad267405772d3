#include "display_support.h"

// What the tests share whatever the window system: waiting, drags made of the input below,
// colour probes.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#include "viewer.h"

namespace {

// Every test in a process that links these helpers bounds itself, far below CTest's limit: one
// still running after kTestBound seconds (VEXO_TEST_BOUND, if set) has hung in a call that never
// returns, and ends the process at once with its name and the wait it was in.
constexpr int kTestBound = 60;  // seconds

struct Watch {
    std::mutex mutex;
    bool armed = false;
    std::chrono::steady_clock::time_point deadline;
    std::string test;
    double waiting = 0;  // the bound of the wait in progress, seconds; 0 outside any
};
// Never destroyed: the watchdog thread looks at it until the process ends.
Watch& watch = *new Watch;

// Arms the watch for the test running now, for its whole bound; the watch's mutex held.
void arm() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const char* bound = std::getenv("VEXO_TEST_BOUND");
    if (!test) return;
    watch.test = std::string(test->test_suite_name()) + "." + test->name();
    watch.deadline = std::chrono::steady_clock::now() +
                     std::chrono::seconds(bound ? std::atoi(bound) : kTestBound);
    watch.armed = true;
}

void watchdog() {
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        std::lock_guard<std::mutex> lock(watch.mutex);
        if (!watch.armed || std::chrono::steady_clock::now() < watch.deadline) continue;
        std::fprintf(stderr, "%s: a hang, still running after its bound; ", watch.test.c_str());
        if (watch.waiting > 0)
            std::fprintf(stderr, "in a wait of %g s that never came back\n", watch.waiting);
        else
            std::fprintf(stderr, "outside any wait\n");
        std::fflush(stderr);
        std::_Exit(1);
    }
}

class Watchdog : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        std::lock_guard<std::mutex> lock(watch.mutex);
        arm();
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        std::lock_guard<std::mutex> lock(watch.mutex);
        watch.armed = false;
    }
};

// A test that ends its process through exit() before it has finished would pass for one that
// succeeded: it fails instead, unless it runs as a death test's child, where ending is the point.
void exitedEarly() {
    std::lock_guard<std::mutex> lock(watch.mutex);
    if (!watch.armed || !GTEST_FLAG_GET(internal_run_death_test).empty()) return;
    std::fprintf(stderr, "%s: the process exited in the middle of the test\n", watch.test.c_str());
    std::fflush(stderr);
    std::_Exit(1);
}

const bool watched = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
    std::thread(watchdog).detach();
    std::atexit(exitedEarly);
    return true;
}();

// A death test's child hears of no test starting (gtest forwards it no events): its first wait
// arms the watch for the test it runs.
void waiting(double seconds) {
    std::lock_guard<std::mutex> lock(watch.mutex);
    watch.waiting = seconds;
    if (!watch.armed) arm();
}

std::vector<unsigned long> modifierKeys(const std::string& names) {
    std::vector<unsigned long> keys;
    std::stringstream in(names);
    std::string name;
    while (std::getline(in, name, '+')) {
        if (name == "shift") keys.push_back(XK_Shift_L);
        if (name == "ctrl") keys.push_back(XK_Control_L);
        if (name == "alt") keys.push_back(XK_Alt_L);
    }
    return keys;
}

}  // namespace

bool waitUntil(const std::function<bool()>& done, double seconds,
               const std::function<void()>& step) {
    waiting(seconds);
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    bool held = false;
    while (!held && std::chrono::steady_clock::now() < end) {
        held = done();
        if (held) break;
        if (step) {
            step();
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    held = held || done();
    waiting(0);
    return held;
}

void xTap(unsigned long keysym) {
    xKey(keysym, true);
    xKey(keysym, false);
}

void xDrag(const std::string& modifiers, int x, int y, int dx, int dy) {
    const std::vector<unsigned long> keys = modifierKeys(modifiers);
    xMove(x, y);
    for (unsigned long k : keys) xKey(k, true);
    xButton(1, true);
    for (int i = 1; i <= 5; ++i) xMove(x + dx * i / 5, y + dy * i / 5);
    xButton(1, false);
    for (unsigned long k : keys) xKey(k, false);
}

std::string toString(const Rgb& c) {
    char text[48];
    std::snprintf(text, sizeof text, "(%d, %d, %d)", c.r, c.g, c.b);
    return text;
}

::testing::AssertionResult nearRgb(const Rgb& expected, const Rgb& observed, int tolerance,
                                   const std::string& where) {
    const bool ok = std::abs(expected.r - observed.r) <= tolerance &&
                    std::abs(expected.g - observed.g) <= tolerance &&
                    std::abs(expected.b - observed.b) <= tolerance;
    if (ok) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << where << ": expected " << toString(expected) << " ±"
                                         << tolerance << ", observed " << toString(observed);
}

Rgb background() {
    const int grey = static_cast<int>(std::lround(VIEWER_BACKGROUND * 255));
    return {grey, grey, grey};
}

bool isBackground(const unsigned char rgb[3]) {
    const int grey = background().r;
    for (int i = 0; i < 3; ++i) {
        if (std::abs(rgb[i] - grey) > kBackgroundTolerance) return false;
    }
    return true;
}
