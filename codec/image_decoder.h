// Guarded image decoding from an open file, for the renderer's surfaces and
// the window icon.
//
// The stb_image shipped by the distribution has known faults on hostile
// input, so only PNG files are handed to it, and only after their header
// has been read and found to be of a sane size.
#pragma once
#include <cstdio>

// Largest side and area, in pixels, that the decoder accepts.
constexpr int kMaxImageSide = 8192;
constexpr long long kMaxImagePixels = 64LL * 1024 * 1024;

// Decodes the PNG image that starts at the file's current position with the
// file's own channel count (depth 1 grey, 2 grey+alpha, 3 RGB, 4 RGBA), rows
// top to bottom. Returns null when the file is not a PNG, is too large, or
// cannot be decoded, and then sets *reason (when given) to a few words
// saying which. Does not close the file. Free the result with FreeImageData.
unsigned char* DecodeImageFile(FILE* file, int* width, int* height, int* depth, const char** reason = nullptr);

void FreeImageData(unsigned char* pixels);
