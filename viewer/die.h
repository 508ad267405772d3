// The die's model: its six face images (white ground, black pips) and its cube of faces, drawn
// in immediate mode with each face's image sent just before it. Sizes are world units.
#pragma once

// One face image: 16 x 16 texels, RGB bytes, rows of 48 bytes packed with no gap. Texel
// (row r, column c) starts at byte (r * 16 + c) * 3; row 0 is texture t = 0, column 0 is s = 0.
constexpr int DIE_TEXTURE_SIZE = 16;
struct DieTexture {
    unsigned char texels[DIE_TEXTURE_SIZE * DIE_TEXTURE_SIZE * 3];
};

// One face of the die, in drawing order: its pip count, outward normal, and four corners
// as texture (s, t) and position in units of half the edge length.
struct DieFace {
    int pips;
    float normal[3];
    float st[4][2];
    float corner[4][3];
};
constexpr int DIE_FACE_COUNT = 6;

// Paints the 2 x 2 black pip whose first texel is (r, c) into the image.
void paintPip(DieTexture& image, int r, int c);

// Paints the six face images: white ground, black pips. Called once at start-up.
void buildDieTextures();

// The image with the given pip count (1 to 6, asserted), as built by buildDieTextures.
const DieTexture& dieTexture(int pips);

// The six faces in the order drawDie draws them.
const DieFace* dieFaces();

// Draws the die, edge length `size` world units, centred on the current origin; sends
// each face's image as the current texture just before the face.
void drawDie(float size);
