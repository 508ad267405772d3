#include "projection.h"

#include <GL/gl.h>

namespace {

struct {
    ProjectionBox box{};
} g;

}  // namespace

void projectionSetBox(float left, float right, float bottom, float top, float nearPlane,
                      float farPlane) {
    g.box = ProjectionBox{left, right, bottom, top, nearPlane, farPlane};
}

const ProjectionBox& projectionBox() { return g.box; }

bool projectionBounds(const ProjectionBox& box, int width, int height, ProjectionBox* out) {
    if (width <= 0 || height <= 0) return false;
    const double w = width;
    const double h = height;
    *out = box;
    if (w <= h) {
        out->bottom = h * box.bottom / w;
        out->top = h * box.top / w;
    } else {
        out->left = w * box.left / h;
        out->right = w * box.right / h;
    }
    return true;
}

void projectionReshape(int width, int height) {
    ProjectionBox b;
    if (!projectionBounds(g.box, width, height, &b)) return;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(b.left, b.right, b.bottom, b.top, b.nearPlane, b.farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
