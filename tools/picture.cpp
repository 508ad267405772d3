#include "picture.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

bool pictureRead(const std::string& path, Picture* out, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxval = 0;
    if (!(in >> magic >> out->width >> out->height >> maxval) || magic != "P6" || maxval != 255 ||
        out->width <= 0 || out->height <= 0 || in.get() == EOF) {
        *error = path + ": not a binary PPM of 8-bit channels";
        return false;
    }
    out->rgb.assign(std::istreambuf_iterator<char>(in), {});
    if (out->rgb.size() != size_t(out->width) * out->height * 3) {
        *error = path + ": " + std::to_string(out->rgb.size()) + " bytes of pixels for " +
                 std::to_string(out->width) + "x" + std::to_string(out->height);
        return false;
    }
    return true;
}

PictureDifference pictureCompare(const Picture& expected, const Picture& observed, int background) {
    PictureDifference d;
    const auto off = [](const unsigned char* p, const auto& level, int tolerance) {
        for (int c = 0; c < 3; ++c)
            if (std::abs(p[c] - level(c)) > tolerance) return true;
        return false;
    };
    const auto grey = [background](int) { return background; };
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            const unsigned char* e = &expected.rgb[(size_t(y) * expected.width + x) * 3];
            const unsigned char* o = &observed.rgb[(size_t(y) * expected.width + x) * 3];
            d.die += off(e, grey, 3) || off(o, grey, 3);
            const auto expectedLevel = [e](int c) { return int(e[c]); };
            if (!off(o, expectedLevel, kPictureTolerance)) continue;
            if (!d.differing++) {
                d.x = x, d.y = y;
                for (int c = 0; c < 3; ++c) d.expected[c] = e[c], d.observed[c] = o[c];
            }
        }
    }
    return d;
}

std::string pictureReport(const PictureDifference& d) {
    std::ostringstream s;
    if (d.differing) {
        s << "Probe color at (" << d.x << "," << d.y << ")\n  Expected: " << d.expected[0] << " "
          << d.expected[1] << " " << d.expected[2] << "\n  Observed: " << d.observed[0] << " "
          << d.observed[1] << " " << d.observed[2] << "\n";
    }
    s << d.differing << " of the die's " << d.die << " pixels differ by more than "
      << kPictureTolerance << " levels\n";
    return s.str();
}
