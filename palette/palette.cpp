#include "palette.h"

namespace {

const float kTable[PALETTE_COUNT][4] = {
    {1.0f, 1.0f, 1.0f, 1.0f},     // white
    {1.0f, 1.0f, 0.0f, 1.0f},     // yellow
    {0.0f, 1.0f, 1.0f, 1.0f},     // cyan
    {1.0f, 0.0f, 1.0f, 1.0f},     // magenta
    {1.0f, 0.0f, 0.0f, 1.0f},     // red
    {0.0f, 1.0f, 0.0f, 1.0f},     // green
    {0.0f, 0.0f, 1.0f, 1.0f},     // blue
    {0.0f, 0.0f, 0.0f, 1.0f},     // black
    {0.1f, 0.1f, 0.1f, 1.0f},     // grey 10 %
    {0.25f, 0.25f, 0.25f, 1.0f},  // grey 25 %
    {0.5f, 0.5f, 0.5f, 1.0f},     // grey 50 %
    {0.75f, 0.75f, 0.75f, 1.0f},  // grey 75 %
    {0.75f, 0.75f, 0.0f, 1.0f},   // dark yellow
    {0.5f, 0.5f, 0.0f, 1.0f},     // olive
    {0.0f, 0.5f, 0.5f, 1.0f},     // teal
    {0.5f, 0.0f, 0.5f, 1.0f},     // purple
    {0.5f, 0.0f, 0.0f, 1.0f},     // maroon
    {0.0f, 0.5f, 0.0f, 1.0f},     // dark green
    {0.0f, 0.0f, 0.5f, 1.0f},     // navy
    {0.8f, 0.6f, 0.4f, 1.0f},     // tan
    {1.0f, 0.65f, 0.65f, 1.0f},   // pink
    {0.6f, 0.25f, 0.25f, 1.0f},   // brown
    {0.5f, 0.5f, 1.0f, 1.0f},     // light blue
    {0.25f, 0.25f, 0.5f, 1.0f},   // slate blue
};

}  // namespace

const float* paletteColor(PaletteColor color) {
    if (color < 0 || color >= PALETTE_COUNT) return nullptr;
    return kTable[color];
}

const float* paletteRed() { return kTable[PALETTE_RED]; }
const float* paletteGreen() { return kTable[PALETTE_GREEN]; }
const float* paletteBlue() { return kTable[PALETTE_BLUE]; }
