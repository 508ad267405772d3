// The page's C++ side (platform/web/web.cpp), built natively with the page's script recorded,
// on the viewer's real window: touch as the drags it stands for, what the page is told.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <vexo/manipulator.h>
#include <cmath>
#include <string>

#include "emscripten.h"
#include "gl_support.h"
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

TEST_F(WebGl, ThePageIsToldTheStateAndEveryKeyTaken) {
    webNativeCalls().clear();
    platformStateChanged(true, false);
    platformKeyTaken(false);
    EXPECT_EQ(webNativeCalls(), "pageState ");
    platformKeyTaken(true);
    manipRequestRedisplay();  // the manipulator took an event
    EXPECT_EQ(webNativeCalls(), "pageState pageKeyTaken pageKeyTaken ");
    EXPECT_EQ(platformFacePrimitive(), GLenum(GL_QUADS));
    platformPolygonMode(GL_LINE);
    EXPECT_EQ(platformFacePrimitive(), GLenum(GL_LINE_LOOP)) << "outlines as line loops";
    platformPolygonMode(GL_FILL);
}

}  // namespace
