#include "tools/assetgen/font_atlas.h"

#include "tools/assetgen/pixel_font.h"

namespace font_atlas {
namespace {
// White so the game's draw colour tints it; the shadow stays dark under any
// tint and keeps light text readable on the sky and on white.
constexpr RgbaPixel kGlyphColour{255, 255, 255, 255};
constexpr RgbaPixel kShadowColour{27, 31, 59, 150};
}  // namespace

RgbaImage EditUndo() {
    RgbaImage atlas(kCellsPerRow * kCellSize, (kCellCount / kCellsPerRow) * kCellSize);
    for (int frame = 0; frame < kCellCount; ++frame) {
        int x = (frame % kCellsPerRow) * kCellSize + kGlyphLeft;
        int y = (frame / kCellsPerRow) * kCellSize + kGlyphTop;
        pixel_font::DrawGlyph(atlas, frame + 32, x, y, kGlyphColour, kShadowColour);
    }
    return atlas;
}

RgbaImage BrioFont() {
    RgbaImage atlas(kBrioCellCount * kBrioCellWidth, kCellSize);
    for (int cell = 0; cell < kBrioCellCount; ++cell)
        pixel_font::DrawGlyph(atlas, cell + 32, cell * kBrioCellWidth + 2, kGlyphTop, kGlyphColour,
                              kShadowColour);
    return atlas;
}
}  // namespace font_atlas
