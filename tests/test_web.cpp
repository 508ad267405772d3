// The page's C++ side (platform/web), built natively with the page's script recorded, on the
// viewer's real window: touch as the drags it stands for, what the page is told, key names as
// GLUT's, and the page's own fixed-function arithmetic held against this machine's GL.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <vexo/manipulator.h>
#include <cmath>
#include <string>

#include "emscripten.h"
#include "fixed.h"
#include "gl_support.h"
#include "keys.h"
#include "platform.h"
#include "web.h"

std::string& webNativeCalls() {
    static std::string calls;
    return calls;
}

namespace {

class WebGl : public GlTest {};
const ManipulatorState& s = *manipState();

TEST_F(WebGl, OneFingerTurnsAsAShiftDragAndTwoZoomAndPanFromTheirOwnStart) {
    webTurnBegin(100, 100);
    webTurnMove(130, 120);
    webTurnEnd(130, 120);
    EXPECT_EQ(s.rotY, 30.0f);
    EXPECT_EQ(s.rotX, 20.0f);
    EXPECT_EQ(s.dragFlag, 0) << "the finger lifted ends the drag";

    // Twice as far apart, twice as large, within a zoom step; a second pinch from its own start.
    const float step = std::pow(1.02f, 1 / 5.0f);
    for (auto [spread, zoom] : {std::pair{2.0f, 2.0f}, {1.0f, 2.0f}, {0.5f, 1.0f}}) {
        if (spread != 0.5f) webPinchBegin(125, 125);
        webPinchMove(spread, 125, 125);
        EXPECT_NEAR(s.zoom / zoom, 1, step - 1) << "spread " << spread;
    }
    webPinchMove(0, 135, 125);  // no spread to compare with: a pan only
    const float panned = s.panX;
    EXPECT_GT(panned, 0) << "the midpoint moved right";
    const ManipulatorState at = s;
    manipReset();
    manipMouseEvent(GLUT_LEFT_BUTTON, GLUT_DOWN, 125, 125, GLUT_ACTIVE_ALT, at.projectionSnapshot,
                    at.windowWidth);
    manipMotion(135, 125);
    EXPECT_FLOAT_EQ(s.panX, panned) << "as an Alt-drag of the same 10 pixels";

    webResetView();
    EXPECT_EQ(s.panX, 0.0f);
    EXPECT_EQ(s.zoom, 1.0f);
}

TEST_F(WebGl, ThePageIsToldTheState) {
    webNativeCalls().clear();
    platformStateChanged(true, false);
    EXPECT_EQ(webNativeCalls(), "pageState ");
    EXPECT_EQ(platformFacePrimitive(), GLenum(GL_QUADS));
    platformPolygonMode(GL_LINE);
    EXPECT_EQ(platformFacePrimitive(), GLenum(GL_LINE_LOOP)) << "outlines as line loops";
    platformPolygonMode(GL_FILL);
}

TEST(Web, KeyNamesAsGlutGivesThem) {
    const struct {
        const char* name;
        bool ctrl;
        int key, special;
    } cases[] = {
        // clang-format off
        {"a", false, 'a', 0}, {"A", false, 'A', 0}, {"a", true, 1, 0}, {"Z", true, 26, 0},
        {"+", true, '+', 0}, {" ", false, ' ', 0}, {"~", false, '~', 0}, {"Enter", false, 13, 0},
        {"Escape", false, 27, 0}, {"Tab", false, 9, 0}, {"Backspace", false, 8, 0},
        {"Delete", false, 127, 0}, {"F1", false, 0, GLUT_KEY_F1}, {"F12", false, 0, GLUT_KEY_F12},
        {"F13", false, 0, 0}, {"F", false, 'F', 0}, {"F1x", false, 0, 0}, {"", false, 0, 0},
        {"ArrowLeft", false, 0, GLUT_KEY_LEFT}, {"ArrowDown", true, 0, GLUT_KEY_DOWN},
        {"PageUp", false, 0, GLUT_KEY_PAGE_UP}, {"PageDown", false, 0, GLUT_KEY_PAGE_DOWN},
        {"Home", false, 0, GLUT_KEY_HOME}, {"End", false, 0, GLUT_KEY_END},
        {"Insert", false, 0, GLUT_KEY_INSERT}, {"\xc3\xa9", false, 0, 0}, {"Shift", false, 0, 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        int special = -1;
        EXPECT_EQ(webKeyCode(c.name, c.ctrl, &special), c.key)
            << c.name << (c.ctrl ? " with Ctrl" : "");
        EXPECT_EQ(special, c.special) << c.name;
    }
}

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
        const Rgb expected{int(rgba[0] * 255 + 0.5f), int(rgba[1] * 255 + 0.5f),
                           int(rgba[2] * 255 + 0.5f)};
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
