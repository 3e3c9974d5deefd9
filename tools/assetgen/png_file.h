// PNG encoding of an RgbaImage (always four channels) through
// stb_image_write, into memory so the caller decides where it goes.
#pragma once
#include <cstdint>
#include <vector>

#include "tools/assetgen/rgba_image.h"

std::vector<std::uint8_t> EncodePng(const RgbaImage& image);
