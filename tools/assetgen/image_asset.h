// ImageAsset: one image file family the game loads (NAME.png, NAME-hd.png,
// NAME-hd2.png), its frame grid, and the art that fills the frames.
#pragma once
#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

#include "tools/assetgen/rgba_image.h"

// Draws one frame in logical pixels (0..frameWidth, 0..frameHeight); the
// caller has already scaled and clipped the context for the level.
using FrameArt = std::function<void(cairo_t* cr, int frame)>;

struct ImageAsset {
    std::string name;  // as the game names it, e.g. "common/icons"
    int frameWidth = 0;
    int frameHeight = 0;
    int frameCount = 0;
    int columns = 0;                      // frames per atlas row
    FrameArt art;                         // vector art, redrawn at each level
    std::function<RgbaImage()> pixelArt;  // or pixel art, enlarged whole at levels 2 and 4
    std::vector<int> levels{1, 2, 4};

    int Rows() const { return (frameCount + columns - 1) / columns; }
    RgbaImage Render(int level) const;
    // "menu" at level 2 is "menu-hd.png", at level 4 "menu-hd2.png".
    std::string FileName(int level) const;
};

// Renders frames with a vector art function into a level-scaled atlas.
RgbaImage RenderVectorAtlas(const ImageAsset& asset, int level);
