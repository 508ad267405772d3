// The one comparison every picture test uses (tools/picture.h): what counts as the die, what
// differs, where the first difference is said to be, and pictures it cannot read.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "picture.h"

namespace {

constexpr int kGrey = 128;

TEST(Picture, CountsTheDieInEitherAndNamesTheFirstDifference) {
    Picture a{4, 2, std::vector<unsigned char>(4 * 2 * 3, kGrey)}, b = a;
    EXPECT_EQ(pictureCompare(a, b, kGrey).differing, 0);
    EXPECT_EQ(pictureCompare(a, b, kGrey).die, 0);
    // A pixel of die in one picture only, a pixel a little off in both, and one off by the
    // tolerance: the first two are the die's, the first differs.
    b.rgb[(1 * 4 + 2) * 3 + 1] = 250;
    a.rgb[0] = b.rgb[0] = a.rgb[1] = 10, b.rgb[1] = 10 + kPictureTolerance;
    const PictureDifference d = pictureCompare(a, b, kGrey);
    EXPECT_EQ(d.die, 2);
    EXPECT_EQ(d.differing, 1);
    EXPECT_EQ(pictureReport(d),
              "Probe color at (2,1)\n  Expected: 128 128 128\n  Observed: 128 250 128\n"
              "1 of the die's 2 pixels differ by more than 8 levels\n");
}

TEST(Picture, ReadsBinaryPpmsAndSaysWhyNot) {
    const std::string path = ::testing::TempDir() + "picture_test.ppm";
    const struct {
        std::string bytes;
        bool read;
    } files[] = {{std::string("P6\n2 1\n255\n") + std::string(6, 'x'), true},
                 {std::string("P6\n2 1\n255\n") + std::string(5, 'x'), false},
                 {std::string("P3\n2 1\n255\n") + std::string(6, 'x'), false},
                 {std::string("P6\n2 1\n65535\n") + std::string(12, 'x'), false}};
    for (const auto& f : files) {
        std::ofstream(path, std::ios::binary) << f.bytes;
        Picture p;
        std::string error;
        EXPECT_EQ(pictureRead(path, &p, &error), f.read) << f.bytes.substr(0, 12);
        EXPECT_EQ(error.empty(), f.read) << error;
    }
    std::remove(path.c_str());
}

}  // namespace
