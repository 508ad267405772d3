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

TEST(Palette, WholeTableIsReachableAndOpaque) {
    expectColor(paletteColor(PALETTE_WHITE), 1, 1, 1);
    expectColor(paletteColor(PALETTE_GREY_10), 0.1f, 0.1f, 0.1f);
    expectColor(paletteColor(PALETTE_TAN), 0.8f, 0.6f, 0.4f);
    expectColor(paletteColor(PALETTE_PINK), 1, 0.65f, 0.65f);
    expectColor(paletteColor(PALETTE_SLATE_BLUE), 0.25f, 0.25f, 0.5f);
    for (int i = 0; i < PALETTE_COUNT; ++i) {
        EXPECT_FLOAT_EQ(paletteColor(static_cast<PaletteColor>(i))[3], 1.0f) << "entry " << i;
    }
    EXPECT_EQ(paletteColor(PALETTE_COUNT), nullptr);
    EXPECT_EQ(paletteColor(static_cast<PaletteColor>(-1)), nullptr);
}

}  // namespace
