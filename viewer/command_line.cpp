#include "command_line.h"

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <string>

#ifndef VEXO_VERSION
#define VEXO_VERSION "unknown"
#endif

namespace {

// The controls as --help lists them, made from data/controls.txt by the build.
struct Control {
    const char* input;
    const char* does;
};
constexpr Control kControls[] = {
#include "controls.inc"
};

}  // namespace

ViewerCommand viewerCommand(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) return VIEWER_HELP;
        if (!std::strcmp(argv[i], "--version")) return VIEWER_VERSION;
    }
    return VIEWER_RUN;
}

const char* viewerUsage() {
    static const std::string usage = [] {
        std::string text =
            "Usage: vexo [GLUT options]\n"
            "       vexo --help | --version\n"
            "\n"
            "A six-sided die spinning in a window under three coloured lights.\n"
            "GLUT's own options (-display NAME, -geometry, -sync, ...) are accepted; the\n"
            "window always opens at 250 x 250.\n"
            "\n";
        for (const Control& c : kControls)
            text += std::string("  ") + c.input + "\n      " + c.does + "\n";
        return text;
    }();
    return usage.c_str();
}

const char* viewerVersion() { return VEXO_VERSION; }

int viewerAnswer(ViewerCommand command, std::FILE* out, std::FILE* err) {
    assert(command != VIEWER_RUN && "running is no answer");
    const std::string text =
        command == VIEWER_HELP ? viewerUsage() : std::string("vexo ") + viewerVersion() + "\n";
    if (std::fputs(text.c_str(), out) >= 0 && std::fflush(out) == 0) return 0;
    std::fprintf(err, "vexo: cannot write to standard output: %s\n", std::strerror(errno));
    return 1;
}

int viewerUnknownArgument(int argc, const char* const* argv) {
    static const char* const kWithValue[] = {"-display", "-geometry"};
    static const char* const kFlags[] = {"-iconic", "-indirect", "-direct", "-gldebug", "-sync"};
    auto among = [](const char* arg, auto& names) {
        return std::any_of(std::begin(names), std::end(names),
                           [arg](const char* name) { return !std::strcmp(arg, name); });
    };
    for (int i = 1; i < argc; ++i) {
        if (among(argv[i], kFlags)) continue;
        if (among(argv[i], kWithValue) && i + 1 < argc) {
            ++i;
            continue;
        }
        return i;
    }
    return 0;
}

bool viewerRefuses(int argc, const char* const* argv, std::FILE* err) {
    const int unknown = viewerUnknownArgument(argc, argv);
    if (!unknown) return false;
    std::fprintf(err, "vexo: unknown option '%s'\n%s", argv[unknown], viewerUsage());
    return true;
}
