// The arithmetic of the fixed-function pipeline that the page draws with over WebGL: 4 x 4
// matrices kept column by column as GL keeps them, and the colour of a lit vertex. Plain
// functions of plain values, so that the desktop's tests can hold them against its own GL.
#pragma once

// One enabled light as glLightfv left it: its position in eye coordinates (w = 0 for a
// direction), its ambient and diffuse colours. The program sets no material, so GL's default
// one holds (ambient 0.2, diffuse 0.8, no specular, no emission) and nothing specular is lit.
struct FixedLight {
    float position[4];
    float ambient[4];
    float diffuse[4];
};

void fixedIdentity(float m[16]);
// m = m * b: b applies first, as glMultMatrix does.
void fixedMultiply(float m[16], const float b[16]);
// m = m * the matrix of glRotatef, glTranslatef, glScalef or glOrtho with the same arguments.
void fixedRotate(float m[16], float degrees, float x, float y, float z);
void fixedTranslate(float m[16], float x, float y, float z);
void fixedScale(float m[16], float x, float y, float z);
void fixedOrtho(float m[16], float left, float right, float bottom, float top, float nearPlane,
                float farPlane);
// out = m * v, for a point (w = 1).
void fixedTransform(float out[4], const float m[16], float x, float y, float z);
// A normal into eye coordinates: through the inverse transpose of the modelview's upper 3 x 3,
// then made unit length if `normalize` (GL_NORMALIZE); zero where the matrix is singular.
void fixedNormal(float out[3], const float modelview[16], const float normal[3], bool normalize);
// The colour of a vertex at `eye` (eye coordinates) with unit normal `normal`, under `count`
// lights and the default scene ambient of 0.2, clamped to [0, 1].
void fixedLit(float rgba[4], const FixedLight* lights, int count, const float eye[4],
              const float normal[3]);
