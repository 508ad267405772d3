// Pictures of the die held against each other: the page's and Windows' against the desktop's
// frames. Pixels are RGB bytes, rows from the top. A pixel differs when a channel is more than
// kPictureTolerance levels off; what counts is the share of the die's pixels (those that are not
// the background in either picture) that differ, for edges may round either way.
#pragma once

#include <string>
#include <vector>

constexpr int kPictureTolerance = 8;  // levels of 255, per channel

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
};

// A binary PPM (P6, maxval 255); false, with `error` saying why, for anything else.
bool pictureRead(const std::string& path, Picture* out, std::string* error);

struct PictureDifference {
    long die = 0, differing = 0;  // pixels
    int x = -1, y = -1;           // the first differing pixel, from the top left
    int expected[3] = {}, observed[3] = {};
};

// Compares `observed` with `expected`, which must have the same size; `background` is the grey
// the die is drawn on, 0 to 255.
PictureDifference pictureCompare(const Picture& expected, const Picture& observed, int background);

// The first differing pixel's place, expected and observed, then how many of the die's differ.
std::string pictureReport(const PictureDifference& d);
