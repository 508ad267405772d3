#include <gtest/gtest.h>

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

// Every colour a client may ask for, by name: each entry its own, in its place, opaque.
TEST(Palette, WholeTableIsReachableAndOpaque) {
    const struct {
        PaletteColor name;
        float r, g, b;
    } table[] = {
        {PALETTE_WHITE, 1, 1, 1},
        {PALETTE_YELLOW, 1, 1, 0},
        {PALETTE_CYAN, 0, 1, 1},
        {PALETTE_MAGENTA, 1, 0, 1},
        {PALETTE_RED, 1, 0, 0},
        {PALETTE_GREEN, 0, 1, 0},
        {PALETTE_BLUE, 0, 0, 1},
        {PALETTE_BLACK, 0, 0, 0},
        {PALETTE_GREY_10, .1f, .1f, .1f},
        {PALETTE_GREY_25, .25f, .25f, .25f},
        {PALETTE_GREY_50, .5f, .5f, .5f},
        {PALETTE_GREY_75, .75f, .75f, .75f},
        {PALETTE_DARK_YELLOW, .75f, .75f, 0},
        {PALETTE_OLIVE, .5f, .5f, 0},
        {PALETTE_TEAL, 0, .5f, .5f},
        {PALETTE_PURPLE, .5f, 0, .5f},
        {PALETTE_MAROON, .5f, 0, 0},
        {PALETTE_DARK_GREEN, 0, .5f, 0},
        {PALETTE_NAVY, 0, 0, .5f},
        {PALETTE_TAN, .8f, .6f, .4f},
        {PALETTE_PINK, 1, .65f, .65f},
        {PALETTE_BROWN, .6f, .25f, .25f},
        {PALETTE_LIGHT_BLUE, .5f, .5f, 1},
        {PALETTE_SLATE_BLUE, .25f, .25f, .5f},
    };
    static_assert(sizeof table / sizeof table[0] == PALETTE_COUNT, "every entry, once");
    for (const auto& c : table) {
        SCOPED_TRACE("entry " + std::to_string(c.name));
        expectColor(paletteColor(c.name), c.r, c.g, c.b);
    }
    EXPECT_EQ(paletteColor(PALETTE_COUNT), nullptr);
    EXPECT_EQ(paletteColor(static_cast<PaletteColor>(-1)), nullptr);
}

}  // namespace
