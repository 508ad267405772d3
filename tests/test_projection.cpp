#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gl_support.h"
#include "projection.h"

namespace {

const ProjectionBox kBox{-3.5, 3.5, -3.5, 3.5, -500, 500};

TEST(ProjectionBounds, KeepsTheBoxAcrossTheShorterSide) {
    struct Case {
        int w, h;
        double left, right, bottom, top;
    } cases[] = {
        {250, 250, -3.5, 3.5, -3.5, 3.5},  {500, 250, -7.0, 7.0, -3.5, 3.5},
        {250, 500, -3.5, 3.5, -7.0, 7.0},  {1, 1000, -3.5, 3.5, -3500, 3500},
        {1000, 1, -3500, 3500, -3.5, 3.5},
    };
    for (const Case& c : cases) {
        ProjectionBox b{};
        ASSERT_TRUE(projectionBounds(kBox, c.w, c.h, &b));
        const std::string size = std::to_string(c.w) + " x " + std::to_string(c.h);
        EXPECT_DOUBLE_EQ(b.left, c.left) << size;
        EXPECT_DOUBLE_EQ(b.right, c.right) << size;
        EXPECT_DOUBLE_EQ(b.bottom, c.bottom) << size;
        EXPECT_DOUBLE_EQ(b.top, c.top) << size;
        EXPECT_EQ(b.nearPlane, -500);
        EXPECT_EQ(b.farPlane, 500);
    }
}

TEST(ProjectionBounds, RefusesAWindowWithNoArea) {
    ProjectionBox b{1, 2, 3, 4, 5, 6};
    EXPECT_FALSE(projectionBounds(kBox, 0, 250, &b));
    EXPECT_FALSE(projectionBounds(kBox, 250, 0, &b));
    EXPECT_FALSE(projectionBounds(kBox, -4, 250, &b));
    EXPECT_EQ(b.left, 1);
}

class ProjectionGl : public GlTest {
protected:
    static void projection(float m[16]) { glGetFloatv(GL_PROJECTION_MATRIX, m); }
};

// The window's reshape reaches the projection: orthographic, x scale 2 / (right - left).
TEST_F(ProjectionGl, ReshapeSetsAnUnstretchedOrtho) {
    struct Case {
        int w, h;
        float xScale, yScale;
    } cases[] = {{500, 250, 1 / 7.0f, 2 / 7.0f},
                 {250, 500, 2 / 7.0f, 1 / 7.0f},
                 {250, 250, 2 / 7.0f, 2 / 7.0f}};
    for (const Case& c : cases) {
        glTranslatef(1, 2, 3);  // the modelview the reshape must leave at the identity
        resizeWindow(c.w, c.h);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), std::vector<GLint>({0, 0, c.w, c.h}));
        float m[16];
        projection(m);
        EXPECT_NEAR(m[0], c.xScale, 1e-6) << c.w << " x " << c.h;
        EXPECT_NEAR(m[5], c.yScale, 1e-6) << c.w << " x " << c.h;
        EXPECT_NEAR(m[10], -2 / 1000.0f, 1e-7);
        EXPECT_EQ(m[12], 0.0f);
        EXPECT_EQ(m[13], 0.0f);
        float mv[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, mv);
        EXPECT_EQ(mv[0], 1.0f);
        EXPECT_EQ(mv[12], 0.0f);
    }
}

TEST_F(ProjectionGl, ZeroSizedWindowKeepsTheViewUntilTheNextReshape) {
    projectionReshape(500, 250);
    float before[16];
    projection(before);
    projectionReshape(0, 250);
    projectionReshape(500, 0);
    float after[16];
    projection(after);
    for (int i = 0; i < 16; ++i) {
        ASSERT_TRUE(std::isfinite(after[i]));
        EXPECT_EQ(after[i], before[i]) << "element " << i;
    }
    projectionReshape(250, 250);
    projection(after);
    EXPECT_NEAR(after[0], 2 / 7.0f, 1e-6);
}

}  // namespace
