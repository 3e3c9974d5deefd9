#include "codec/image_decoder.h"

#include <cstring>

#include <stb_image.h>

namespace {

constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

bool HasPngSignature(FILE* file) {
    long start = std::ftell(file);
    if (start < 0) return false;
    unsigned char head[sizeof kPngSignature];
    bool ok = std::fread(head, 1, sizeof head, file) == sizeof head &&
              std::memcmp(head, kPngSignature, sizeof head) == 0;
    return std::fseek(file, start, SEEK_SET) == 0 && ok;
}

bool AcceptableSize(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           static_cast<long long>(width) * height <= kMaxImagePixels;
}

unsigned char* Refuse(const char** reason, const char* why) {
    if (reason) *reason = why;
    return nullptr;
}

}  // namespace

unsigned char* DecodeImageFile(FILE* file, int* width, int* height, int* depth, const char** reason) {
    if (!file || !HasPngSignature(file)) return Refuse(reason, "not a PNG image");

    // stbi_info leaves the file where it found it.
    int w = 0, h = 0, channels = 0;
    if (!stbi_info_from_file(file, &w, &h, &channels)) return Refuse(reason, "damaged PNG header");
    if (!AcceptableSize(w, h)) return Refuse(reason, w > 0 && h > 0 ? "image too large" : "damaged PNG header");
    if (channels < 1 || channels > 4) return Refuse(reason, "unsupported PNG layout");

    int lw = 0, lh = 0, lchannels = 0;
    unsigned char* pixels = stbi_load_from_file(file, &lw, &lh, &lchannels, 0);
    if (!pixels) return Refuse(reason, "truncated or damaged PNG");
    // The header was checked above; a decode that disagrees with it is not trusted.
    if (lw != w || lh != h || lchannels < 1 || lchannels > 4) {
        stbi_image_free(pixels);
        return Refuse(reason, "damaged PNG");
    }
    *width = lw;
    *height = lh;
    *depth = lchannels;
    return pixels;
}

void FreeImageData(unsigned char* pixels) { stbi_image_free(pixels); }
