// Builds WAV files byte by byte, so tests can state exactly which layout
// (chunk order, fmt size, odd sizes, lies in the headers) they exercise.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class WavBuilder {
public:
    using Bytes = std::vector<unsigned char>;

    WavBuilder& Tag(const std::string& tag) {
        bytes_.insert(bytes_.end(), tag.begin(), tag.end());
        return *this;
    }
    WavBuilder& U16(std::uint32_t v) { return Le(v, 2); }
    WavBuilder& U32(std::uint32_t v) { return Le(v, 4); }
    WavBuilder& Raw(const Bytes& b) {
        bytes_.insert(bytes_.end(), b.begin(), b.end());
        return *this;
    }
    WavBuilder& Header() { return Tag("RIFF").U32(0).Tag("WAVE"); }
    // A "fmt " chunk of fmtSize bytes (extra bytes are zero).
    WavBuilder& Fmt(int audioFormat, int channels, int hertz, int bits, std::uint32_t fmtSize = 16) {
        Tag("fmt ").U32(fmtSize).U16(audioFormat).U16(channels).U32(hertz);
        U32(hertz * channels * bits / 8).U16(channels * bits / 8).U16(bits);
        for (std::uint32_t i = 16; i < fmtSize; ++i) bytes_.push_back(0);
        return *this;
    }
    WavBuilder& Chunk(const std::string& tag, const Bytes& body) { return Tag(tag).U32(body.size()).Raw(body); }
    Bytes Build() const { return bytes_; }

    // A complete PCM file holding the given sample bytes.
    static Bytes Pcm(int channels, int hertz, int bits, const Bytes& samples) {
        return WavBuilder().Header().Fmt(1, channels, hertz, bits).Chunk("data", samples).Build();
    }

private:
    WavBuilder& Le(std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) bytes_.push_back(static_cast<unsigned char>(v >> (8 * i)));
        return *this;
    }
    Bytes bytes_;
};
