// Aspect-preserving orthographic projection. The application states once which box of
// world space it wants to see; on every reshape the box is kept across the window's
// shorter side and widened along the longer one, so a world unit covers as many pixels
// across as down and nothing is stretched. The module also owns the viewport.
// Sizes are window pixels; bounds are world units, stored in double precision.
#pragma once

// The six bounds of an orthographic view volume, as glOrtho takes them.
struct ProjectionBox {
    double left, right, bottom, top, nearPlane, farPlane;
};

// Stores the box to keep in view; it takes effect at the next reshape. No GL call.
void projectionSetBox(float left, float right, float bottom, float top, float nearPlane,
                      float farPlane);

// The box the application asked for (all zero before projectionSetBox).
const ProjectionBox& projectionBox();

// The bounds to hand glOrtho for a window of width x height pixels: the box itself across
// the shorter side, widened by the aspect ratio along the longer. Returns false, and leaves
// *out alone, for a window with no area, which has no sensible projection.
bool projectionBounds(const ProjectionBox& box, int width, int height, ProjectionBox* out);

// GLUT reshape callback: sets the viewport and the projection for the new size, then
// leaves the modelview matrix current and at the identity. A zero-sized window (minimised,
// or squeezed to nothing) keeps the previous viewport and projection; the next reshape
// with an area restores the view.
void projectionReshape(int width, int height);
