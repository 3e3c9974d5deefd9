// The game's pixel font: hand-drawn 5 x 9 glyphs (7 rows above the
// baseline, 2 below for descenders) for the printable ASCII codes and a
// shaded block for 127. Used for the bitmap fonts and for pixel-art text
// inside other pictures.
#pragma once
#include <string_view>

#include "tools/assetgen/rgba_image.h"

namespace pixel_font {
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 9;
constexpr int kAdvance = 7;  // logical pixels from one character to the next
constexpr int kBaselineRow = 6;

// True where the glyph of `code` has ink; codes without a glyph are blank.
bool Ink(int code, int col, int row);

// Ink pixels in `colour` and a one-pixel drop shadow (right and down) in
// `shadow` wherever the glyph itself has no ink, with the glyph's top-left
// at (x, y).
void DrawGlyph(RgbaImage& image, int code, int x, int y, RgbaPixel colour, RgbaPixel shadow);

// A line of text at a whole-pixel scale, for labels on the contact sheet.
void DrawText(RgbaImage& image, std::string_view text, int x, int y, int scale, RgbaPixel colour,
              RgbaPixel shadow);
int TextWidth(std::string_view text, int scale);
}  // namespace pixel_font
