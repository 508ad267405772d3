// Holds a picture of the die to the desktop's: passes when at most SHARE (0 to 1) of the die's
// pixels differ, and says where the first one does. Usage: picture_diff EXPECTED.ppm OBSERVED.ppm
// SHARE. Exit status 0 when they agree, 1 when they do not, 2 when a picture cannot be read.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "picture.h"
#include "viewer.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: picture_diff EXPECTED.ppm OBSERVED.ppm SHARE\n");
        return 2;
    }
    Picture expected, observed;
    std::string error;
    if (!pictureRead(argv[1], &expected, &error) || !pictureRead(argv[2], &observed, &error)) {
        std::fprintf(stderr, "picture_diff: %s\n", error.c_str());
        return 2;
    }
    if (expected.width != observed.width || expected.height != observed.height) {
        std::printf("the sizes differ: expected %dx%d, observed %dx%d\n", expected.width,
                    expected.height, observed.width, observed.height);
        return 1;
    }
    const int grey = static_cast<int>(std::lround(VIEWER_BACKGROUND * 255));
    const PictureDifference d = pictureCompare(expected, observed, grey);
    std::fputs(pictureReport(d).c_str(), stdout);
    return d.differing <= std::atof(argv[3]) * d.die ? 0 : 1;
}
