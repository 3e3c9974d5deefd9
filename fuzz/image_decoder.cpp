// Feeds arbitrary bytes to the guarded PNG decoder through a memory FILE*,
// as the host would hand it an opened asset file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "graphics/image_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;  // fmemopen refuses an empty buffer
    FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!file) return 0;
    int width = 0, height = 0, depth = 0;
    unsigned char* pixels = DecodeImageFile(file, &width, &height, &depth);
    if (pixels) {
        // A decode that succeeded must describe a buffer we may read whole.
        if (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide || depth < 1 || depth > 4)
            std::abort();
        size_t bytes = static_cast<size_t>(width) * height * depth;
        unsigned sum = pixels[bytes - 1];
        for (size_t i = 0; i < bytes; i += 61) sum += pixels[i];
        if (sum == 0xFFFFFFFFu) std::printf(" ");  // keeps the reads from being optimised away
        FreeImageData(pixels);
    }
    std::fclose(file);
    return 0;
}
