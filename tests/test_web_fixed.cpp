// The page's own fixed-function arithmetic (platform/web/fixed.cpp) held against this machine's
// GL, on the viewer's window: matrices, and the colour of lit points.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "fixed.h"
#include "gl_support.h"

namespace {

class WebGl : public GlTest {};

// The same matrices as GL's for one chain of every operation, and the same colour as GL's
// lighting gives a point under the scene's lights (one made positional), for normals turned
// and scaled.
TEST_F(WebGl, TheFixedPipelineArithmeticIsGLs) {
    float ours[16], gls[16];
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    fixedIdentity(ours);
    glRotatef(30, 1, 2, 3), fixedRotate(ours, 30, 1, 2, 3);
    glTranslatef(1, -2, 0.5f), fixedTranslate(ours, 1, -2, 0.5f);
    glScalef(2, 0.5f, -1), fixedScale(ours, 2, 0.5f, -1);
    glRotatef(-75, 0, 0, 1), fixedRotate(ours, -75, 0, 0, 1);
    glOrtho(-3, 4, -2, 5, 1, 9), fixedOrtho(ours, -3, 4, -2, 5, 1, 9);
    glGetFloatv(GL_MODELVIEW_MATRIX, gls);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(ours[i], gls[i], 1e-5f) << "element " << i;

    float red[4];
    const float lamp[4] = {-2, 1, 2, 1};
    glGetLightfv(GL_LIGHT2, GL_POSITION, red);
    glLoadIdentity();
    glLightfv(GL_LIGHT2, GL_POSITION, lamp);
    FixedLight lights[3];
    for (int i = 0; i < 3; ++i) {
        glGetLightfv(GL_LIGHT0 + i, GL_POSITION, lights[i].position);
        glGetLightfv(GL_LIGHT0 + i, GL_AMBIENT, lights[i].ambient);
        glGetLightfv(GL_LIGHT0 + i, GL_DIFFUSE, lights[i].diffuse);
    }
    glDisable(GL_TEXTURE_2D);
    glPointSize(9);
    const struct {
        float degrees, axis[3], scale[3], normal[3];
    } cases[] = {
        {0, {0, 0, 1}, {1, 1, 1}, {0, 0, 1}},     {0, {0, 0, 1}, {1, 1, 1}, {1, 1, 1}},
        {0, {0, 0, 1}, {1, 1, 1}, {0, -1, 0}},    {90, {0, 1, 0}, {1, 1, 1}, {-1, 0, 0}},
        {45, {1, 0, 0}, {3, 1, 0.5f}, {0, 1, 1}}, {120, {1, 1, 0}, {-1, 2, 1}, {0.2f, -0.5f, 1}},
        {0, {0, 0, 1}, {1, 1, 1}, {0, 0, -1}},
    };
    for (const auto& c : cases) {
        glLoadIdentity();
        glTranslatef(1, 0.5f, 0);  // 36 pixels right and 18 up: window pixel (160, 107)
        glRotatef(c.degrees, c.axis[0], c.axis[1], c.axis[2]);
        glScalef(c.scale[0], c.scale[1], c.scale[2]);
        glGetFloatv(GL_MODELVIEW_MATRIX, gls);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBegin(GL_POINTS);
        glNormal3fv(c.normal);
        glVertex3f(0, 0, 0);
        glEnd();
        float normal[3], rgba[4];
        const float eye[4] = {gls[12], gls[13], gls[14], 1};
        fixedNormal(normal, gls, c.normal, true);
        fixedLit(rgba, lights, 3, eye, normal);
        const Rgb expected{int(std::lround(rgba[0] * 255)), int(std::lround(rgba[1] * 255)),
                           int(std::lround(rgba[2] * 255))};
        EXPECT_TRUE(nearRgb(expected, readPixel(160, 107), 2,
                            "normal " + std::to_string(c.normal[0]) + "," +
                                std::to_string(c.normal[1]) + "," + std::to_string(c.normal[2])));
    }
    glPointSize(1);
    glEnable(GL_TEXTURE_2D);
    glLoadIdentity();
    glLightfv(GL_LIGHT2, GL_POSITION, red);
    glPopMatrix();
}

}  // namespace
