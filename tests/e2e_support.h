// The end-to-end harness: the built executable started as a user would, driven through the X
// server, and judged by screenshots of its window and by its exit status.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "display_support.h"

// Runs a shell command and returns what it printed, without the trailing newline.
inline std::string sh(const std::string& command) {
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

inline void sleepFor(double seconds = 0.3) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// A screenshot of the window; empty when none could be taken, and then never equal to another.
struct Shot {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;
    bool operator==(const Shot& o) const {
        return !rgb.empty() && w == o.w && h == o.h && rgb == o.rgb;
    }
};

// The pixels that are not the grey background: how many, and their centroid.
struct Die {
    long area = 0;
    double cx = 0, cy = 0;
};
inline Die dieIn(const Shot& s) {
    Die d;
    for (int y = 0; y < s.h; ++y) {
        for (int x = 0; x < s.w; ++x) {
            if (!isBackground(&s.rgb[(y * s.w + x) * 3])) ++d.area, d.cx += x, d.cy += y;
        }
    }
    if (d.area) d.cx /= d.area, d.cy /= d.area;
    return d;
}

// One running viewer, found by its process id, ended when the test is done with it. What it
// writes on stderr is kept. Every wait is bounded: a viewer that does not do what is expected
// fails the test within seconds.
class Vexo {
public:
    explicit Vexo(const std::vector<std::string>& args = {}) {
        char path[] = "/tmp/vexo-e2e-stderr.XXXXXX";
        const int err = mkstemp(path);
        if (err < 0) {
            ADD_FAILURE() << "no file for the viewer's stderr: " << std::strerror(errno);
            return;
        }
        errPath_ = path;
        pid_ = fork();
        if (pid_ < 0) ADD_FAILURE() << "the viewer could not be started: " << std::strerror(errno);
        if (pid_ == 0) {
            dup2(err, 2);
            std::vector<char*> argv{const_cast<char*>(VEXO_EXE)};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(VEXO_EXE, argv.data());
            _exit(127);
        }
        close(err);
        if (pid_ < 0) return;
        win_ = sh(std::string(VEXO_SCRIPTS "/vexo-window.sh ") + std::to_string(pid_));
        if (win_.empty()) return;
        xdo("windowfocus --sync " + win_);
        xMove(125, 125);
        sleepFor(0.2);
    }
    // Only a viewer that was started is signalled: kill(-1) would reach every process.
    ~Vexo() {
        if (running()) kill(pid_, SIGKILL), waitpid(pid_, nullptr, 0);
        if (!errPath_.empty()) unlink(errPath_.c_str());
    }
    const std::string& window() const { return win_; }
    pid_t pid() const { return pid_; }
    bool running() {
        if (pid_ <= 0) return false;
        if (!exited_ && waitpid(pid_, &status_, WNOHANG) == pid_) exited_ = true;
        return !exited_;
    }
    // Exit status once it has ended within `seconds`, or -1.
    int exitStatus(double seconds = 5) {
        if (!waitUntil([&] { return !running(); }, seconds)) return -1;
        return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_);
    }
    // What it has written on stderr so far.
    std::string errors() const { return sh("cat " + errPath_); }
    // NOLINTNEXTLINE(readability-convert-member-functions-to-static): read as the viewer's own
    void xdo(const std::string& args) { sh("timeout 10 xdotool " + args); }
    // Input to a die held still, then a wait for the viewer to have taken it and to rest again.
    // Input to a spinning die goes through xdo, and the test waits for what it should change.
    void keys(const std::string& names) { xdo("key --delay 30 " + names), rested(2); }
    // CPU seconds used so far, its own, which a busy machine does not inflate: utime and stime,
    // fields 14 and 15 of its stat.
    double cpu() const {
        const std::string ticks =
            sh("awk '{print $14 + $15}' /proc/" + std::to_string(pid_) + "/stat");
        return ticks.empty() ? 0 : std::stod(ticks) / sysconf(_SC_CLK_TCK);
    }
    // Waits up to `seconds` for the viewer to rest: no CPU time used over a tenth of a second,
    // however busy the machine, with every thread asleep, or ended. Returns whether it did.
    bool rested(double seconds = 10) {
        return waitUntil(
            [&] {
                if (!running()) return true;
                const double before = cpu();
                sleepFor(0.1);
                return cpu() == before && asleep();
            },
            seconds);
    }
    // Waits up to 10 s for the viewer to work: CPU time used over half a second.
    bool works() const {
        return waitUntil([&] {
            const double before = cpu();
            sleepFor(0.5);
            return cpu() - before > 0.02;
        });
    }
    // Waits up to 5 s for the picture to change from `before`.
    bool changesFrom(const Shot& before) {
        return waitUntil([&] { return !(before == shot()); }, 5, [] { sleepFor(0.05); });
    }
    // A screenshot; a failed capture fails the test.
    Shot shot() {
        Shot s;
        const std::string take = "timeout 10 xwd -silent -id " + win_ + " | convert xwd:- ppm:-";
        if (FILE* p = popen(take.c_str(), "r")) {
            // A binary PPM header: P6, width, height, maximum; xwd's window name comes as a
            // # comment line.
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
        }
        if (s.rgb.empty()) ADD_FAILURE() << "no screenshot of window " << win_ << " could be taken";
        return s;
    }
    // A picture of the die held still by space.
    Shot stillShot() {
        Shot a = shot();
        waitUntil(
            [&] {
                Shot b = shot();
                const bool same = a == b;
                a = std::move(b);
                return same;
            },
            1.5, [] { sleepFor(0.1); });
        return a;
    }

private:
    // Every thread of the process asleep, none runnable: the GL driver draws on threads of its own.
    bool asleep() const {
        return sh("cat /proc/" + std::to_string(pid_) +
                  "/task/*/stat | awk '$3 !~ /[SIZ]/' | wc -l") == "0";
    }
    pid_t pid_ = -1;
    int status_ = 0;
    bool exited_ = false;
    std::string win_, errPath_;
};

class EndToEnd : public DisplayTest {};

#define START(name, ...)    \
    Vexo name{__VA_ARGS__}; \
    ASSERT_FALSE(name.window().empty()) << "no window of vexo appeared"
