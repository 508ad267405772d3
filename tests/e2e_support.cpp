#include "e2e_support.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

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

void settle(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

Die dieIn(const Shot& s) {
    Die d;
    for (int y = 0; y < s.h; ++y) {
        for (int x = 0; x < s.w; ++x) {
            if (!isBackground(&s.rgb[(y * s.w + x) * 3])) ++d.area, d.cx += x, d.cy += y;
        }
    }
    if (d.area) d.cx /= d.area, d.cy /= d.area;
    return d;
}

Vexo::Vexo(const std::vector<std::string>& args) {
    pid_ = fork();
    if (pid_ == 0) {
        std::vector<char*> argv{const_cast<char*>(VEXO_EXE)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(VEXO_EXE, argv.data());
        _exit(127);
    }
    win_ = sh(std::string(VEXO_SCRIPTS "/vexo-window.sh ") + std::to_string(pid_));
    if (!win_.empty()) {
        xdo("windowfocus --sync " + win_);
        xMove(125, 125);
        settle(0.2);
    }
}

Vexo::~Vexo() {
    if (running()) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

bool Vexo::running() {
    if (exited_) return false;
    if (waitpid(pid_, &status_, WNOHANG) == pid_) exited_ = true;
    return !exited_;
}

int Vexo::exitStatus(double seconds) {
    waitUntil([&] { return !running(); }, seconds);
    if (!exited_) return -1;
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_);
}

void Vexo::xdo(const std::string& args) { sh("xdotool " + args); }

void Vexo::keys(const std::string& names) {
    xdo("key --delay 30 " + names);
    settle();
}

void Vexo::drag(const std::string& modifiers, int x, int y, int dx, int dy) {
    xDrag(modifiers, x, y, dx, dy);
    settle();
}

void Vexo::resize(int w, int h) {
    xdo("windowsize --sync " + win_ + " " + std::to_string(w) + " " + std::to_string(h));
    settle(0.5);
}

Shot Vexo::shot() {
    Shot s;
    FILE* p = popen(("xwd -silent -id " + win_ + " | convert xwd:- ppm:-").c_str(), "r");
    if (p) {
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
    }
    if (s.rgb.empty()) ADD_FAILURE() << "no screenshot of window " << win_ << " could be taken";
    return s;
}

Shot Vexo::stillShot() {
    Shot a = shot();
    waitUntil(
        [&] {
            Shot b = shot();
            const bool same = a == b;
            a = b;
            return same;
        },
        1.5, [] { settle(0.1); });
    return a;
}
