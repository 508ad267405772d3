#include "palette.h"

namespace {

const float kTable[PALETTE_COUNT][4] = {
    {1.0f, 1.0f, 1.0f, 1.0f},    {1.0f, 1.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 1.0f, 1.0f},
    {1.0f, 0.0f, 1.0f, 1.0f},    {1.0f, 0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f, 1.0f},
    {0.0f, 0.0f, 1.0f, 1.0f},    {0.0f, 0.0f, 0.0f, 1.0f}, {0.1f, 0.1f, 0.1f, 1.0f},
    {0.25f, 0.25f, 0.25f, 1.0f}, {0.5f, 0.5f, 0.5f, 1.0f}, {0.75f, 0.75f, 0.75f, 1.0f},
    {0.75f, 0.75f, 0.0f, 1.0f},  {0.5f, 0.5f, 0.0f, 1.0f}, {0.0f, 0.5f, 0.5f, 1.0f},
    {0.5f, 0.0f, 0.5f, 1.0f},    {0.5f, 0.0f, 0.0f, 1.0f}, {0.0f, 0.5f, 0.0f, 1.0f},
    {0.0f, 0.0f, 0.5f, 1.0f},    {0.8f, 0.6f, 0.4f, 1.0f}, {1.0f, 0.65f, 0.65f, 1.0f},
    {0.6f, 0.25f, 0.25f, 1.0f},  {0.5f, 0.5f, 1.0f, 1.0f}, {0.25f, 0.25f, 0.5f, 1.0f},
};

}  // namespace

const float* paletteColor(PaletteColor color) {
    if (color < 0 || color >= PALETTE_COUNT) return nullptr;
    return kTable[color];
}

const float* paletteRed() { return kTable[PALETTE_RED]; }
const float* paletteGreen() { return kTable[PALETTE_GREEN]; }
const float* paletteBlue() { return kTable[PALETTE_BLUE]; }
