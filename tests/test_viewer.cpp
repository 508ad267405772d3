#include <GL/glut.h>
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <cmath>

#include "support.h"
#include "viewer.h"

namespace {

bool isBlack(const DieTexture& t, int r, int c) {
    const unsigned char* p = t.texels + (r * 16 + c) * 3;
    return p[0] == 0 && p[1] == 0 && p[2] == 0;
}

// ---- Face images -----------------------------------------------------------------------

TEST(DieTextures, PipsSitInTheirBlocksOnWhite) {
    buildDieTextures();
    static_assert(sizeof(DieTexture) == 768, "16 x 16 RGB bytes, no padding");
    // First texels of each face's pips.
    const std::vector<std::pair<int, int>> pips[6] = {
        {{7, 7}},
        {{3, 3}, {11, 11}},
        {{7, 7}, {3, 3}, {11, 11}},
        {{3, 3}, {3, 11}, {11, 3}, {11, 11}},
        {{7, 7}, {3, 3}, {3, 11}, {11, 3}, {11, 11}},
        {{3, 3}, {3, 7}, {3, 11}, {11, 3}, {11, 7}, {11, 11}},
    };
    for (int n = 1; n <= 6; ++n) {
        const DieTexture& t = dieTexture(n);
        bool black[16][16] = {};
        for (auto [r, c] : pips[n - 1]) {
            black[r][c] = black[r + 1][c] = black[r][c + 1] = black[r + 1][c + 1] = true;
        }
        int blackTexels = 0;
        for (int r = 0; r < 16; ++r) {
            for (int c = 0; c < 16; ++c) {
                const unsigned char* p = t.texels + (r * 16 + c) * 3;
                if (black[r][c]) {
                    EXPECT_TRUE(isBlack(t, r, c)) << n << " pips: texel " << r << "," << c;
                } else {
                    EXPECT_TRUE(p[0] == 255 && p[1] == 255 && p[2] == 255)
                        << n << " pips: texel " << r << "," << c << " should be white";
                }
                blackTexels += isBlack(t, r, c);
            }
        }
        EXPECT_EQ(blackTexels, 4 * n) << n << " pips";
    }
}

TEST(DieTextures, PaintPipStaysInsideTheImage) {
    DieTexture t;
    for (unsigned char& b : t.texels) b = 255;
    paintPip(t, 15, 15);
    EXPECT_TRUE(isBlack(t, 15, 15));
    EXPECT_FALSE(isBlack(t, 15, 14));
}

// ---- Face table ------------------------------------------------------------------------

TEST(DieFaces, FormAClosedDieWithOppositesSummingToSeven) {
    const DieFace* f = dieFaces();
    int seen[7] = {};
    for (int i = 0; i < DIE_FACE_COUNT; ++i) {
        ++seen[f[i].pips];
        for (int j = 0; j < DIE_FACE_COUNT; ++j) {
            const float dot = f[i].normal[0] * f[j].normal[0] + f[i].normal[1] * f[j].normal[1] +
                              f[i].normal[2] * f[j].normal[2];
            if (dot < -0.5f) {
                EXPECT_EQ(f[i].pips + f[j].pips, 7) << "faces " << i << ", " << j;
            }
        }
        // Every corner lies on the face's plane, and the corners wind anticlockwise seen
        // from outside, so the winding agrees with the normal.
        const float(*v)[3] = f[i].corner;
        for (int k = 0; k < 4; ++k) {
            const float d =
                v[k][0] * f[i].normal[0] + v[k][1] * f[i].normal[1] + v[k][2] * f[i].normal[2];
            EXPECT_FLOAT_EQ(d, 1.0f) << "face " << i << " corner " << k;
        }
        const float a[3] = {v[1][0] - v[0][0], v[1][1] - v[0][1], v[1][2] - v[0][2]};
        const float b[3] = {v[2][0] - v[0][0], v[2][1] - v[0][1], v[2][2] - v[0][2]};
        const float cross[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                                a[0] * b[1] - a[1] * b[0]};
        for (int k = 0; k < 3; ++k) EXPECT_GE(cross[k] * f[i].normal[k], 0) << "face " << i;
        EXPECT_EQ(f[i].st[0][0], 0);
        EXPECT_EQ(f[i].st[2][0], 1);
        EXPECT_EQ(f[i].st[2][1], 1);
    }
    for (int n = 1; n <= 6; ++n) EXPECT_EQ(seen[n], 1) << n << " pips";
}

// ---- Spin ------------------------------------------------------------------------------

TEST(Spin, StepsStayFullSizeHoweverLongItHasSpun) {
    EXPECT_FLOAT_EQ(advanceSpin(0.0f, 0.31f), 0.31f);
    EXPECT_NEAR(advanceSpin(359.9f, 0.37f), 0.27f, 1e-4);
    // A start far beyond where single-precision steps of 0.31 would round away.
    float a = 3.0e7f;
    const float first = advanceSpin(a, 0.31f);
    EXPECT_NEAR(first, std::fmod(3.0e7, 360.0) + 0.31, 1e-3);
    a = first;
    for (int i = 0; i < 100000; ++i) {
        const float next = advanceSpin(a, 0.41f);
        const float moved = std::fmod(next - a + 360.0f, 360.0f);
        ASSERT_NEAR(moved, 0.41f, 1e-3) << "step " << i << " from " << a;
        ASSERT_GE(next, 0.0f);
        ASSERT_LT(next, 360.0f);
        a = next;
    }
}

// ---- The frame, on a real GL context ---------------------------------------------------

// Lit colour of a white texel whose eye-space normal is n: GL's default material (ambient
// 0.2, diffuse 0.8) and scene ambient 0.2, plus each light's diffuse colour times n . L.
Rgb litWhite(const float n[3]) {
    const float dirs[3][3] = {{1, 1, 1}, {-1, 1, 1}, {0, -1, 1}};  // green, blue, red
    double rgb[3] = {0.2 * 0.2, 0.2 * 0.2, 0.2 * 0.2};
    const int channel[3] = {1, 2, 0};
    for (int i = 0; i < 3; ++i) {
        const double len =
            std::sqrt(dirs[i][0] * dirs[i][0] + dirs[i][1] * dirs[i][1] + dirs[i][2] * dirs[i][2]);
        const double cosine = (n[0] * dirs[i][0] + n[1] * dirs[i][1] + n[2] * dirs[i][2]) / len;
        rgb[channel[i]] += 0.8 * std::max(0.0, cosine);
    }
    auto byte = [](double v) { return static_cast<int>(std::lround(std::min(v, 1.0) * 255)); };
    return {byte(rgb[0]), byte(rgb[1]), byte(rgb[2])};
}

class ViewerGl : public GlTest {};

TEST_F(ViewerGl, FirstFrameShowsTheSixStraightOnUnderThreeLights) {
    ASSERT_EQ(viewerState().spinX, 0.0f);
    renderFrame();
    glReadBuffer(GL_BACK);

    const float front[3] = {0, 0, 1};
    const Rgb ground = litWhite(front);
    const Rgb grey{128, 128, 128};
    const Rgb black{0, 0, 0};
    // 250 pixels show 7 units; the die's front face spans 3.6 units about the centre.
    EXPECT_TRUE(near(ground, readPixel(125, 125), 3, "face centre"));
    EXPECT_TRUE(near(ground, readPixel(70, 180), 3, "face lower left"));
    EXPECT_TRUE(near(ground, readPixel(180, 70), 3, "face upper right"));
    const int pipX[2] = {93, 157}, pipY[3] = {93, 125, 157};
    for (int x : pipX) {
        for (int y : pipY) EXPECT_TRUE(near(black, readPixel(x, y), 3, "pip"));
    }
    EXPECT_TRUE(near(ground, readPixel(125, 93), 3, "between the two pip columns"));
    for (int x : {2, 247}) {
        for (int y : {2, 247}) EXPECT_TRUE(near(grey, readPixel(x, y), 2, "corner"));
    }
    // Just outside the die's edge, 3.6 units wide: grey, and just inside: lit.
    EXPECT_TRUE(near(grey, readPixel(125, 59), 2, "above the die"));
    EXPECT_TRUE(near(ground, readPixel(125, 66), 3, "top edge of the die"));
}

TEST_F(ViewerGl, SpaceStopsAndResumesTheSpin) {
    xMove(125, 125);
    const int before = viewerState().animating;
    xTap(XK_space);
    ASSERT_TRUE(pumpUntil([&] { return viewerState().animating != before; }));
    const float angle = viewerState().spinY;
    xTap(XK_space);
    ASSERT_TRUE(pumpUntil([&] { return viewerState().animating == before; }));
    EXPECT_EQ(viewerState().spinY, angle) << "resumes from the same angles";
}

TEST_F(ViewerGl, EnterSwitchesToOutlinesButShiftEnterDoesNot) {
    xMove(125, 125);
    auto polygonMode = [] {
        GLint mode[2];
        glGetIntegerv(GL_POLYGON_MODE, mode);
        return mode[0];
    };
    ASSERT_EQ(polygonMode(), GL_FILL);
    xTap(XK_Return);
    ASSERT_TRUE(pumpUntil([&] { return polygonMode() == GL_LINE; }));
    EXPECT_EQ(viewerState().filled, 0);

    xKey(XK_Shift_L, true);
    xTap(XK_Return);
    xKey(XK_Shift_L, false);
    pumpFor(0.3);
    EXPECT_EQ(polygonMode(), GL_LINE) << "Shift+Enter belongs to the manipulator";

    xTap(XK_Return);
    ASSERT_TRUE(pumpUntil([&] { return polygonMode() == GL_FILL; }));
}

}  // namespace
