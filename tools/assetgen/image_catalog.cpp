#include "tools/assetgen/image_catalog.h"

#include "tools/assetgen/art.h"
#include "tools/assetgen/font_atlas.h"

std::vector<ImageAsset> ImageCatalog() {
    return {
#define ASSET_IMAGE(name, frameWidth, frameHeight, frameCount, columns, art, pixelArt) \
    {name, frameWidth, frameHeight, frameCount, columns, art, pixelArt, {1, 2, 4}},
#define ASSET_IMAGE_1X(name, frameWidth, frameHeight, frameCount, columns, art, pixelArt) \
    {name, frameWidth, frameHeight, frameCount, columns, art, pixelArt, {1}},
#include "tools/assetgen/asset_catalogue.def"
    };
}
