// Vexo's command line, judged before GLUT opens a display: --help and --version answered, and
// anything but GLUT's own options refused.
#pragma once

#include <cstdio>

// What the command line asks before GLUT sees it: --help or -h, --version, or to run
// (every argument then goes to GLUT, and viewerStart refuses what GLUT leaves).
enum ViewerCommand { VIEWER_RUN, VIEWER_HELP, VIEWER_VERSION };
ViewerCommand viewerCommand(int argc, const char* const* argv);

// Answers --help or --version on `out`. Returns the exit status: 0, or 1 when `out` cannot take
// the answer (a full disk, a closed pipe), which is then said on `err`.
int viewerAnswer(ViewerCommand command, std::FILE* out, std::FILE* err);

// The index of the first argument that is not one of GLUT's own options (-display NAME,
// -geometry WxH+X+Y, -iconic, -indirect, -direct, -gldebug, -sync), or 0 when all are. An option
// that lacks its value is not GLUT's. Judged before GLUT opens a display, which it would fail
// to do with none, whatever the command line.
int viewerUnknownArgument(int argc, const char* const* argv);

// Refuses a command line with anything but GLUT's own options: names the first such argument
// and gives the usage on `err`, and returns true; returns false, saying nothing, otherwise.
bool viewerRefuses(int argc, const char* const* argv, std::FILE* err);

// The usage text of --help, with every control, and the version that --version prints.
const char* viewerUsage();
const char* viewerVersion();
