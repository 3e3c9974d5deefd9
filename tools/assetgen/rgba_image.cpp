#include "tools/assetgen/rgba_image.h"

#include <cstring>

RgbaImage::RgbaImage(int width, int height)
    : width_(width), height_(height), bytes_(static_cast<std::size_t>(width) * height * 4, 0) {}

RgbaPixel RgbaImage::Get(int x, int y) const {
    const std::uint8_t* p = &bytes_[(static_cast<std::size_t>(y) * width_ + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

void RgbaImage::Set(int x, int y, RgbaPixel px) {
    std::uint8_t* p = &bytes_[(static_cast<std::size_t>(y) * width_ + x) * 4];
    p[0] = px.r;
    p[1] = px.g;
    p[2] = px.b;
    p[3] = px.a;
}

void RgbaImage::Blend(int x, int y, RgbaPixel src) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || src.a == 0) return;
    if (src.a == 255) {
        Set(x, y, src);
        return;
    }
    // Integer source-over in straight alpha, exact enough for 8 bits and
    // free of float rounding differences between builds.
    RgbaPixel dst = Get(x, y);
    int sa = src.a, da = dst.a * (255 - sa) / 255;
    int outA = sa + da;
    auto mix = [&](int s, int d) { return static_cast<std::uint8_t>((s * sa + d * da + outA / 2) / outA); };
    Set(x, y, {mix(src.r, dst.r), mix(src.g, dst.g), mix(src.b, dst.b), static_cast<std::uint8_t>(outA)});
}

void RgbaImage::FillRect(int x, int y, int w, int h, RgbaPixel p) {
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx) Blend(xx, yy, p);
}

void RgbaImage::BlendFrom(const RgbaImage& src, int sx, int sy, int w, int h, int dx, int dy) {
    for (int y = 0; y < h; ++y) {
        if (sy + y < 0 || sy + y >= src.height_) continue;
        for (int x = 0; x < w; ++x) {
            if (sx + x < 0 || sx + x >= src.width_) continue;
            Blend(dx + x, dy + y, src.Get(sx + x, sy + y));
        }
    }
}

RgbaImage RgbaImage::ScaledNearest(int factor) const {
    RgbaImage out(width_ * factor, height_ * factor);
    for (int y = 0; y < out.height_; ++y)
        for (int x = 0; x < out.width_; ++x) out.Set(x, y, Get(x / factor, y / factor));
    return out;
}

RgbaImage RgbaImage::FromPremultipliedArgb(const std::uint8_t* data, int width, int height, int stride) {
    RgbaImage out(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t word;
            std::memcpy(&word, data + static_cast<std::size_t>(y) * stride + x * 4, 4);
            int a = word >> 24;
            if (a == 0) continue;  // fully transparent stays (0, 0, 0, 0)
            auto straight = [a](std::uint32_t c) {
                int v = (static_cast<int>(c & 0xFF) * 255 + a / 2) / a;
                return static_cast<std::uint8_t>(v > 255 ? 255 : v);
            };
            out.Set(x, y, {straight(word >> 16), straight(word >> 8), straight(word), static_cast<std::uint8_t>(a)});
        }
    }
    return out;
}
