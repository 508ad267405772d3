// Named constant RGBA colours, four floats each (red, green, blue, alpha, 0 to 1),
// handed out as pointers in the form glLightfv and glColor4fv take. The table is
// read-only and lives for the whole run: callers may read the floats, never write them.
#pragma once

// Every colour of the table, in table order.
enum PaletteColor {
    PALETTE_WHITE,
    PALETTE_YELLOW,
    PALETTE_CYAN,
    PALETTE_MAGENTA,
    PALETTE_RED,
    PALETTE_GREEN,
    PALETTE_BLUE,
    PALETTE_BLACK,
    PALETTE_GREY_10,
    PALETTE_GREY_25,
    PALETTE_GREY_50,
    PALETTE_GREY_75,
    PALETTE_DARK_YELLOW,
    PALETTE_OLIVE,
    PALETTE_TEAL,
    PALETTE_PURPLE,
    PALETTE_MAROON,
    PALETTE_DARK_GREEN,
    PALETTE_NAVY,
    PALETTE_TAN,
    PALETTE_PINK,
    PALETTE_BROWN,
    PALETTE_LIGHT_BLUE,
    PALETTE_SLATE_BLUE,
    PALETTE_COUNT
};

// The four floats of one colour; null for a value outside the table.
const float* paletteColor(PaletteColor color);

// The three colours the viewer's lights use: (1,0,0,1), (0,1,0,1), (0,0,1,1).
const float* paletteRed();
const float* paletteGreen();
const float* paletteBlue();
