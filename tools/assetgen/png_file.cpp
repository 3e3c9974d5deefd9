#include "tools/assetgen/png_file.h"

#include <stdexcept>

#include "stb_image_write.h"

namespace {
void AppendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}
}  // namespace

std::vector<std::uint8_t> EncodePng(const RgbaImage& image) {
    std::vector<std::uint8_t> out;
    if (!stbi_write_png_to_func(AppendBytes, &out, image.Width(), image.Height(), 4, image.Data(),
                                image.Width() * 4))
        throw std::runtime_error("PNG encoding failed");
    return out;
}
