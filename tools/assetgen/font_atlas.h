// The two bitmap-font images the game loads, built from the pixel font:
// "fonts/editundo" (16 x 16 cells, frame f = character f + 32, glyphs
// centred so the game can draw them by their middle) and "brio_font.png"
// (one row of 96 cells, one empty column on each side of every glyph).
#pragma once
#include "tools/assetgen/rgba_image.h"

namespace font_atlas {
constexpr int kCellSize = 16;
constexpr int kCellsPerRow = 16;
constexpr int kCellCount = 128;
constexpr int kGlyphLeft = 5;  // the 5-wide glyph plus shadow spans columns 5..10
constexpr int kGlyphTop = 3;   // rows 3..12, centred on the cell's middle

constexpr int kBrioCellWidth = 10;
constexpr int kBrioCellCount = 96;

RgbaImage EditUndo();  // level 1; larger levels are whole-pixel enlargements
RgbaImage BrioFont();
}  // namespace font_atlas
