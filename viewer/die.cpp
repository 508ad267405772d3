#include <GL/gl.h>

#include <cassert>
#include <cstddef>

#include "die.h"
#include "viewer.h"

namespace {

// First texels of the seven pip positions.
constexpr int CENTRE[2] = {7, 7};
constexpr int TOP_LEFT[2] = {3, 3};
constexpr int TOP_MIDDLE[2] = {3, 7};
constexpr int TOP_RIGHT[2] = {3, 11};
constexpr int BOTTOM_LEFT[2] = {11, 3};
constexpr int BOTTOM_MIDDLE[2] = {11, 7};
constexpr int BOTTOM_RIGHT[2] = {11, 11};

struct Pattern {
    int count;
    const int* blocks[6];
};

// The pip blocks of faces one to six.
const Pattern kPatterns[6] = {
    {1, {CENTRE}},
    {2, {TOP_LEFT, BOTTOM_RIGHT}},
    {3, {CENTRE, TOP_LEFT, BOTTOM_RIGHT}},
    {4, {TOP_LEFT, TOP_RIGHT, BOTTOM_LEFT, BOTTOM_RIGHT}},
    {5, {CENTRE, TOP_LEFT, TOP_RIGHT, BOTTOM_LEFT, BOTTOM_RIGHT}},
    {6, {TOP_LEFT, TOP_MIDDLE, TOP_RIGHT, BOTTOM_LEFT, BOTTOM_MIDDLE, BOTTOM_RIGHT}},
};

// Opposite faces carry 1 and 6, 2 and 5, 3 and 4.
// clang-format off
const DieFace kFaces[DIE_FACE_COUNT] = {
    {1, {0, 0, -1}, {{0, 0}, {0, 1}, {1, 1}, {1, 0}}, {{1, 1, -1}, {1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}}},
    {6, {0, 0, 1}, {{0, 0}, {0, 1}, {1, 1}, {1, 0}}, {{1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}}},
    {2, {-1, 0, 0}, {{0, 0}, {0, 1}, {1, 1}, {1, 0}}, {{-1, 1, -1}, {-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}}},
    {5, {1, 0, 0}, {{0, 0}, {0, 1}, {1, 1}, {1, 0}}, {{1, 1, 1}, {1, -1, 1}, {1, -1, -1}, {1, 1, -1}}},
    {3, {0, -1, 0}, {{0, 0}, {0, 1}, {1, 1}, {1, 0}}, {{-1, -1, 1}, {-1, -1, -1}, {1, -1, -1}, {1, -1, 1}}},
    {4, {0, 1, 0}, {{0, 0}, {0, 1}, {1, 1}, {1, 0}}, {{1, 1, 1}, {1, 1, -1}, {-1, 1, -1}, {-1, 1, 1}}},
};
// clang-format on

struct {
    DieTexture images[6];  // images[n - 1] shows n pips
} g;

}  // namespace

void paintPip(DieTexture& image, int r, int c) {
    for (int row = r; row < r + 2; ++row) {
        for (int col = c; col < c + 2; ++col) {
            if (row < 0 || row >= DIE_TEXTURE_SIZE || col < 0 || col >= DIE_TEXTURE_SIZE) continue;
            unsigned char* texel = image.texels + std::ptrdiff_t(row * DIE_TEXTURE_SIZE + col) * 3;
            texel[0] = texel[1] = texel[2] = 0;
        }
    }
}

void buildDieTextures() {
    for (DieTexture& image : g.images) {
        for (unsigned char& byte : image.texels) byte = 255;
    }
    for (int face = 0; face < 6; ++face) {
        const Pattern& p = kPatterns[face];
        for (int i = 0; i < p.count; ++i) paintPip(g.images[face], p.blocks[i][0], p.blocks[i][1]);
    }
}

const DieTexture& dieTexture(int pips) {
    assert(pips >= 1 && pips <= 6);
    return g.images[pips - 1];
}

const DieFace* dieFaces() { return kFaces; }

void drawDie(float size) {
    const float h = size * 0.5f;
    for (int i = 0; i < DIE_FACE_COUNT; ++i) {
        const DieFace& f = kFaces[i];
        glTexImage2D(GL_TEXTURE_2D, 0, 3, DIE_TEXTURE_SIZE, DIE_TEXTURE_SIZE, 0, GL_RGB,
                     GL_UNSIGNED_BYTE, g.images[f.pips - 1].texels);
        if (i == 0) glPushMatrix();
        glBegin(GL_QUADS);
        glNormal3f(f.normal[0], f.normal[1], f.normal[2]);
        for (int k = 0; k < 4; ++k) {
            glTexCoord2f(f.st[k][0], f.st[k][1]);
            glVertex3f(f.corner[k][0] * h, f.corner[k][1] * h, f.corner[k][2] * h);
        }
        glEnd();
    }
    glPopMatrix();
}
