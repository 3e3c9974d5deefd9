#include "codec/wav_reader.h"

#include <cstdint>
#include <cstring>
#include <utility>

namespace {

constexpr int kPcm = 1;
constexpr std::uint32_t kMinFmtSize = 16;

// A little-endian cursor over the input that never reads past its end.
class ByteCursor {
public:
    ByteCursor(const unsigned char* bytes, std::size_t size) : bytes_(bytes), size_(size) {}

    std::size_t Left() const { return size_ - pos_; }
    bool AtEnd() const { return pos_ == size_; }
    const unsigned char* Here() const { return bytes_ + pos_; }

    bool Tag(const char* expected) {
        if (Left() < 4) {
            pos_ = size_;
            return false;
        }
        bool same = std::memcmp(Here(), expected, 4) == 0;
        pos_ += 4;
        return same;
    }
    bool U16(std::uint32_t& v) { return Read(2, v); }
    bool U32(std::uint32_t& v) { return Read(4, v); }
    bool Skip(std::size_t n) {
        if (n > Left()) return false;
        pos_ += n;
        return true;
    }
    // RIFF pads odd-sized chunks with one zero byte. Tags never start with
    // a zero byte, so skipping it cannot swallow the next chunk of a file
    // whose writer left the padding out.
    void SkipPadAfter(std::uint32_t chunkSize) {
        if ((chunkSize & 1u) != 0 && Left() > 0 && *Here() == 0) ++pos_;
    }

private:
    bool Read(int n, std::uint32_t& v) {
        if (Left() < static_cast<std::size_t>(n)) return false;
        v = 0;
        for (int i = n - 1; i >= 0; --i) v = (v << 8) | bytes_[pos_ + i];
        pos_ += n;
        return true;
    }

    const unsigned char* bytes_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

bool Refuse(const char** reason, const char* why) {
    if (reason) *reason = why;
    return false;
}

bool ReadFormat(ByteCursor& in, WavData& out, const char** reason) {
    std::uint32_t fmtSize, audioFormat, channels, hertz, byteRate, blockAlign, bits;
    if (!in.U32(fmtSize) || fmtSize < kMinFmtSize || fmtSize > in.Left()) return Refuse(reason, "damaged WAV header");
    if (!in.U16(audioFormat) || audioFormat != kPcm) return Refuse(reason, "not PCM audio");
    if (!in.U16(channels) || !in.U32(hertz) || !in.U32(byteRate) || !in.U16(blockAlign) || !in.U16(bits)) {
        return Refuse(reason, "damaged WAV header");
    }
    // A frame of zero bytes would make the frame count a division by zero.
    if (channels == 0 || bits < 8) return Refuse(reason, "unsupported sample layout");
    in.Skip(fmtSize - kMinFmtSize);
    in.SkipPadAfter(fmtSize);
    out.channels = static_cast<int>(channels);
    out.bitsPerSample = static_cast<int>(bits);
    out.hertz = static_cast<int>(hertz);
    return true;
}

// Walks the chunks after "fmt " up to "data"; chunks of any other kind
// (LIST, fact, cue ...) are passed over.
bool ReadSamples(ByteCursor& in, WavData& out, const char** reason) {
    for (;;) {
        if (in.Left() < 4) return Refuse(reason, "truncated WAV file");
        bool isData = in.Tag("data");
        std::uint32_t size;
        if (!in.U32(size) || size > in.Left()) return Refuse(reason, "truncated WAV file");
        if (isData) {
            out.samples.assign(in.Here(), in.Here() + size);
            return true;
        }
        in.Skip(size);
        in.SkipPadAfter(size);
    }
}

}  // namespace

bool ReadWav(const unsigned char* bytes, std::size_t size, WavData& out, const char** reason) {
    out = WavData();
    ByteCursor in(bytes, size);
    std::uint32_t riffSize;
    // The RIFF size is skipped unread: writers often get it wrong.
    if (!in.Tag("RIFF") || !in.U32(riffSize) || !in.Tag("WAVE")) return Refuse(reason, "not a WAV file");
    if (!in.Tag("fmt ")) return Refuse(reason, "damaged WAV header");
    WavData parsed;
    if (!ReadFormat(in, parsed, reason) || !ReadSamples(in, parsed, reason)) return false;
    out = std::move(parsed);
    return true;
}
