// The contact sheet: every image at level 2 on one page, each frame over a
// checkerboard (so transparency shows) with its number, under the image's
// name, for reviewing all the art at once.
#pragma once
#include <vector>

#include "tools/assetgen/image_asset.h"
#include "tools/assetgen/rgba_image.h"

struct SheetEntry {
    const ImageAsset* asset;
    RgbaImage atlas;  // rendered at `scale` times the logical frame size
    int scale;
};

RgbaImage ContactSheet(const std::vector<SheetEntry>& entries);
