// A PNG decoded by stb_image (the decoder the game uses), as RGBA bytes,
// with the per-frame views the asset tests need.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Rgba {
    int r, g, b, a;
};

class DecodedImage {
public:
    static DecodedImage Load(const std::string& path);  // Valid() false when it does not decode

    bool Valid() const { return width_ > 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int FileChannels() const { return channels_; }
    Rgba At(int x, int y) const;

    // The frame `index` of a grid of fw x fh frames laid out left to right,
    // wrapping to the next row.
    DecodedImage Frame(int fw, int fh, int index) const;
    int OpaqueCount(int minAlpha = 128) const;

private:
    int width_ = 0, height_ = 0, channels_ = 0;
    std::vector<std::uint8_t> rgba_;
};

// Mean colour of the pixels with alpha >= 128.
Rgba MeanOpaqueColour(const DecodedImage& image);
