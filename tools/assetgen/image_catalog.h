// Every image file the game loads from data/, with its frame grid: the
// image rows of asset_catalogue.def.
#pragma once
#include <vector>

#include "tools/assetgen/image_asset.h"

std::vector<ImageAsset> ImageCatalog();
