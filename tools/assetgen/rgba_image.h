// RgbaImage: a plain 8-bit RGBA raster with straight (not premultiplied)
// alpha, the form PNG files store and the game's loader expects.
#pragma once
#include <cstdint>
#include <vector>

struct RgbaPixel {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const RgbaPixel&) const = default;
};

class RgbaImage {
public:
    RgbaImage() = default;
    RgbaImage(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    const std::uint8_t* Data() const { return bytes_.data(); }
    std::uint8_t* Data() { return bytes_.data(); }

    RgbaPixel Get(int x, int y) const;
    void Set(int x, int y, RgbaPixel p);

    // Source-over composition of one straight-alpha pixel onto this image.
    void Blend(int x, int y, RgbaPixel p);
    void FillRect(int x, int y, int w, int h, RgbaPixel p);

    // Copies a w x h block of src (from sx, sy) to (dx, dy), blending it
    // over what is there; parts outside either image are skipped.
    void BlendFrom(const RgbaImage& src, int sx, int sy, int w, int h, int dx, int dy);

    // Every pixel becomes a factor x factor block: pixel art stays crisp.
    RgbaImage ScaledNearest(int factor) const;

    // Converts a Cairo ARGB32 buffer (premultiplied, native-endian words).
    static RgbaImage FromPremultipliedArgb(const std::uint8_t* data, int width, int height, int stride);

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> bytes_;
};
