// Feeds arbitrary bytes to the guarded PNG decoder through a memory FILE*,
// as the host would hand it an opened asset file.
//
// Inputs starting with 'S' are turned into a well-formed PNG first: the
// next 13 bytes are the IHDR fields (sides folded to 1..64), the rest is
// the scanline data, stored in a valid zlib stream. Raw mutations rarely get
// past the signature and the zlib layer; these reach the filters, bit
// depths, palettes and interlacing of the decoder.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "codec/image_decoder.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

uint32_t Crc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutChunk(Bytes& out, const char* kind, const Bytes& data) {
    Put32(out, static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), kind, kind + 4);
    out.insert(out.end(), data.begin(), data.end());
    Put32(out, Crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored (uncompressed) blocks.
Bytes StoredZlib(const uint8_t* data, size_t size) {
    Bytes out = {0x78, 0x01};
    size_t pos = 0;
    do {
        size_t n = size - pos < 65535 ? size - pos : 65535;
        out.push_back(pos + n == size ? 1 : 0);
        out.push_back(static_cast<uint8_t>(n));
        out.push_back(static_cast<uint8_t>(n >> 8));
        out.push_back(static_cast<uint8_t>(~n));
        out.push_back(static_cast<uint8_t>(~n >> 8));
        out.insert(out.end(), data + pos, data + pos + n);
        pos += n;
    } while (pos < size);
    uint32_t a = 1, b = 0;
    for (size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % 65521;
        b = (b + a) % 65521;
    }
    Put32(out, b << 16 | a);
    return out;
}

Bytes SynthesisedPng(const uint8_t* data, size_t size) {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    Bytes ihdr;
    Put32(ihdr, 1u + data[0] % 64u);
    Put32(ihdr, 1u + data[1] % 64u);
    ihdr.insert(ihdr.end(), data + 2, data + 7);  // depth, colour type, compression, filter, interlace
    PutChunk(png, "IHDR", ihdr);
    size_t rest = size - 7;
    const uint8_t* body = data + 7;
    // Colour type 3 takes its palette from the front of the body.
    if (data[3] == 3 && rest >= 48) {
        PutChunk(png, "PLTE", Bytes(body, body + 48));
        body += 48;
        rest -= 48;
    }
    PutChunk(png, "IDAT", StoredZlib(body, rest));
    PutChunk(png, "IEND", Bytes());
    return png;
}

void Decode(uint8_t* data, size_t size) {
    FILE* file = fmemopen(data, size, "rb");
    if (!file) return;
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
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;  // fmemopen refuses an empty buffer
    if (data[0] == 'S' && size >= 8) {
        Bytes png = SynthesisedPng(data + 1, size - 1);
        Decode(png.data(), png.size());
    } else {
        Bytes copy(data, data + size);
        Decode(copy.data(), copy.size());
    }
    return 0;
}
