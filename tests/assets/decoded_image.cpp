#include "tests/assets/decoded_image.h"

#include "stb_image.h"

DecodedImage DecodedImage::Load(const std::string& path) {
    DecodedImage image;
    int w = 0, h = 0, n = 0;
    stbi_uc* data = stbi_load(path.c_str(), &w, &h, &n, 4);
    if (!data) return image;
    image.width_ = w;
    image.height_ = h;
    image.channels_ = n;
    image.rgba_.assign(data, data + static_cast<std::size_t>(w) * h * 4);
    stbi_image_free(data);
    return image;
}

Rgba DecodedImage::At(int x, int y) const {
    const std::uint8_t* p = &rgba_[(static_cast<std::size_t>(y) * width_ + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

DecodedImage DecodedImage::Frame(int fw, int fh, int index) const {
    int perRow = width_ / fw;
    int x0 = (index % perRow) * fw, y0 = (index / perRow) * fh;
    DecodedImage f;
    f.width_ = fw;
    f.height_ = fh;
    f.channels_ = channels_;
    f.rgba_.reserve(static_cast<std::size_t>(fw) * fh * 4);
    for (int y = 0; y < fh; ++y)
        for (int x = 0; x < fw; ++x) {
            Rgba p = At(x0 + x, y0 + y);
            f.rgba_.insert(f.rgba_.end(), {static_cast<std::uint8_t>(p.r), static_cast<std::uint8_t>(p.g),
                                           static_cast<std::uint8_t>(p.b), static_cast<std::uint8_t>(p.a)});
        }
    return f;
}

int DecodedImage::OpaqueCount(int minAlpha) const {
    int count = 0;
    for (std::size_t i = 3; i < rgba_.size(); i += 4) count += rgba_[i] >= minAlpha;
    return count;
}

Rgba MeanOpaqueColour(const DecodedImage& image) {
    long r = 0, g = 0, b = 0, n = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            Rgba p = image.At(x, y);
            if (p.a < 128) continue;
            r += p.r;
            g += p.g;
            b += p.b;
            ++n;
        }
    if (n == 0) return {0, 0, 0, 0};
    return {static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n), 255};
}
