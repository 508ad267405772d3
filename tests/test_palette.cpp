#include <gtest/gtest.h>

#include <algorithm>

#include "palette.h"

namespace {

void expectColor(const float* c, float r, float g, float b) {
    ASSERT_NE(c, nullptr);
    EXPECT_FLOAT_EQ(c[0], r);
    EXPECT_FLOAT_EQ(c[1], g);
    EXPECT_FLOAT_EQ(c[2], b);
    EXPECT_FLOAT_EQ(c[3], 1.0f);
}

TEST(Palette, LightColoursAreStableConstants) {
    expectColor(paletteRed(), 1, 0, 0);
    expectColor(paletteGreen(), 0, 1, 0);
    expectColor(paletteBlue(), 0, 0, 1);
    // Pointers into the one table, which lives for the whole run: glLightfv may keep them.
    EXPECT_EQ(paletteRed(), paletteColor(PALETTE_RED));
    EXPECT_EQ(paletteGreen(), paletteColor(PALETTE_GREEN));
    EXPECT_EQ(paletteBlue(), paletteColor(PALETTE_BLUE));
}

// Each colour fits its name: the pure ones full on their channels and off on the others, a
// darker shade its colour scaled, the light and warm ones in the order of their channels; all
// opaque and each its own. Nothing past the end of the table.
TEST(Palette, EachColourFitsItsName) {
    auto c = [](PaletteColor name) { return paletteColor(name); };
    // Red, green and blue as the bits 4, 2 and 1.
    const std::pair<PaletteColor, int> pure[] = {
        {PALETTE_WHITE, 7}, {PALETTE_YELLOW, 6}, {PALETTE_CYAN, 3}, {PALETTE_MAGENTA, 5},
        {PALETTE_RED, 4},   {PALETTE_GREEN, 2},  {PALETTE_BLUE, 1}, {PALETTE_BLACK, 0}};
    for (auto [name, bits] : pure) {
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(c(name)[i], (bits >> (2 - i)) & 1) << name << ", channel " << i;
    }
    const struct {
        PaletteColor shade, of;
        float by;
    } shades[] = {
        {PALETTE_GREY_10, PALETTE_WHITE, .1f},       {PALETTE_GREY_25, PALETTE_WHITE, .25f},
        {PALETTE_GREY_50, PALETTE_WHITE, .5f},       {PALETTE_GREY_75, PALETTE_WHITE, .75f},
        {PALETTE_DARK_YELLOW, PALETTE_YELLOW, .75f}, {PALETTE_OLIVE, PALETTE_YELLOW, .5f},
        {PALETTE_TEAL, PALETTE_CYAN, .5f},           {PALETTE_PURPLE, PALETTE_MAGENTA, .5f},
        {PALETTE_MAROON, PALETTE_RED, .5f},          {PALETTE_DARK_GREEN, PALETTE_GREEN, .5f},
        {PALETTE_NAVY, PALETTE_BLUE, .5f},           {PALETTE_SLATE_BLUE, PALETTE_LIGHT_BLUE, .5f}};
    for (const auto& s : shades) {
        for (int i = 0; i < 3; ++i)
            EXPECT_FLOAT_EQ(c(s.shade)[i], c(s.of)[i] * s.by) << s.shade << ", channel " << i;
    }
    const float *pink = c(PALETTE_PINK), *brown = c(PALETTE_BROWN), *tan = c(PALETTE_TAN);
    const float* lightBlue = c(PALETTE_LIGHT_BLUE);
    EXPECT_TRUE(pink[0] == 1 && pink[1] == pink[2] && pink[1] > 0.5f) << "pink: red, lightened";
    EXPECT_TRUE(brown[0] < 1 && brown[1] == brown[2] && brown[1] < brown[0] / 2)
        << "brown: red, darkened";
    EXPECT_TRUE(tan[0] > tan[1] && tan[1] > tan[2] && tan[2] > 0) << "tan: warm and light";
    EXPECT_TRUE(lightBlue[2] == 1 && lightBlue[0] == lightBlue[1] && lightBlue[0] > 0)
        << "light blue";
    for (int i = 0; i < PALETTE_COUNT; ++i) {
        EXPECT_EQ(paletteColor(PaletteColor(i))[3], 1.0f) << i;
        for (int j = 0; j < i; ++j) {
            EXPECT_FALSE(std::equal(c(PaletteColor(i)), c(PaletteColor(i)) + 3, c(PaletteColor(j))))
                << i << " and " << j << " are the same colour";
        }
    }
    EXPECT_EQ(paletteColor(PALETTE_COUNT), nullptr);
    EXPECT_EQ(paletteColor(static_cast<PaletteColor>(-1)), nullptr);
}

}  // namespace
