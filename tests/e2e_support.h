// The end-to-end harness: the built executable started as a user would, driven through the X
// server, and judged by screenshots of its window and by its exit status.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "x_support.h"

// Runs a shell command and returns what it printed, without the trailing newline.
std::string sh(const std::string& command);

void settle(double seconds = 0.3);

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
Die dieIn(const Shot& s);

// One running viewer, found by its process id, ended when the test is done with it.
class Vexo {
public:
    explicit Vexo(const std::vector<std::string>& args = {});
    ~Vexo();
    const std::string& window() const { return win_; }
    pid_t pid() const { return pid_; }
    bool running();
    // Exit status once it has ended within `seconds`, or -1.
    int exitStatus(double seconds = 5);
    void xdo(const std::string& args);
    void keys(const std::string& names);
    void drag(const std::string& modifiers, int x, int y, int dx, int dy);
    void resize(int w, int h);
    // A screenshot; a failed capture fails the test.
    Shot shot();
    // A picture of the die held still by space.
    Shot stillShot();

private:
    pid_t pid_ = -1;
    int status_ = 0;
    bool exited_ = false;
    std::string win_;
};

class EndToEnd : public XServerTest {};

#define START(name, ...)    \
    Vexo name{__VA_ARGS__}; \
    ASSERT_FALSE(name.window().empty()) << "no window of vexo appeared"
