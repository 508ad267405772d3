#include "fixed.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr float kSceneAmbient = 0.2f;     // GL_LIGHT_MODEL_AMBIENT's default
constexpr float kMaterialAmbient = 0.2f;  // GL_AMBIENT of the default material
constexpr float kMaterialDiffuse = 0.8f;  // its GL_DIFFUSE; its alpha is 1
constexpr float kPi = 3.14159265358979f;

float dot3(const float a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

void normalize3(float v[3]) {
    const float length = std::sqrt(dot3(v, v));
    if (length > 0)
        for (int i = 0; i < 3; ++i) v[i] /= length;
}

}  // namespace

void fixedIdentity(float m[16]) {
    for (int i = 0; i < 16; ++i) m[i] = i % 5 == 0 ? 1.0f : 0.0f;
}

void fixedMultiply(float m[16], const float b[16]) {
    float out[16];
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += m[k * 4 + row] * b[column * 4 + k];
            out[column * 4 + row] = sum;
        }
    std::memcpy(m, out, sizeof out);
}

void fixedRotate(float m[16], float degrees, float x, float y, float z) {
    float axis[3] = {x, y, z};
    if (dot3(axis, axis) == 0) return;
    normalize3(axis);
    const float a = degrees * kPi / 180.0f, c = std::cos(a), s = std::sin(a), t = 1 - c;
    x = axis[0], y = axis[1], z = axis[2];
    const float r[16] = {t * x * x + c,
                         t * x * y + s * z,
                         t * x * z - s * y,
                         0,
                         t * x * y - s * z,
                         t * y * y + c,
                         t * y * z + s * x,
                         0,
                         t * x * z + s * y,
                         t * y * z - s * x,
                         t * z * z + c,
                         0,
                         0,
                         0,
                         0,
                         1};
    fixedMultiply(m, r);
}

void fixedTranslate(float m[16], float x, float y, float z) {
    const float t[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
    fixedMultiply(m, t);
}

void fixedScale(float m[16], float x, float y, float z) {
    const float s[16] = {x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1};
    fixedMultiply(m, s);
}

void fixedOrtho(float m[16], float l, float r, float b, float t, float n, float f) {
    if (l == r || b == t || n == f) return;  // GL refuses these with GL_INVALID_VALUE
    const float o[16] = {2 / (r - l),
                         0,
                         0,
                         0,
                         0,
                         2 / (t - b),
                         0,
                         0,
                         0,
                         0,
                         -2 / (f - n),
                         0,
                         -(r + l) / (r - l),
                         -(t + b) / (t - b),
                         -(f + n) / (f - n),
                         1};
    fixedMultiply(m, o);
}

void fixedTransform(float out[4], const float m[16], float x, float y, float z) {
    for (int row = 0; row < 4; ++row)
        out[row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
}

void fixedNormal(float out[3], const float m[16], const float n[3], bool normalize) {
    // The inverse transpose is the cofactor matrix over the determinant.
    auto at = [m](int row, int column) { return m[column * 4 + row]; };
    float cof[3][3];
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            const int r0 = (row + 1) % 3, r1 = (row + 2) % 3, c0 = (column + 1) % 3,
                      c1 = (column + 2) % 3;
            cof[row][column] = at(r0, c0) * at(r1, c1) - at(r0, c1) * at(r1, c0);
        }
    const float det = at(0, 0) * cof[0][0] + at(0, 1) * cof[0][1] + at(0, 2) * cof[0][2];
    for (int row = 0; row < 3; ++row) out[row] = det == 0 ? 0 : dot3(cof[row], n) / det;
    if (normalize) normalize3(out);
}

void fixedLit(float rgba[4], const FixedLight* lights, int count, const float eye[4],
              const float normal[3]) {
    for (int c = 0; c < 3; ++c) rgba[c] = kSceneAmbient * kMaterialAmbient;
    rgba[3] = 1;
    for (int i = 0; i < count; ++i) {
        const FixedLight& light = lights[i];
        float toLight[3];
        for (int k = 0; k < 3; ++k)
            toLight[k] = light.position[3] == 0
                             ? light.position[k]
                             : light.position[k] / light.position[3] - eye[k] / eye[3];
        normalize3(toLight);
        const float facing = std::max(dot3(normal, toLight), 0.0f);
        for (int c = 0; c < 3; ++c)
            rgba[c] +=
                kMaterialAmbient * light.ambient[c] + facing * kMaterialDiffuse * light.diffuse[c];
    }
    for (int c = 0; c < 3; ++c) rgba[c] = std::clamp(rgba[c], 0.0f, 1.0f);
}
