#include "codec/audio_decoder.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "codec/wav_reader.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

namespace {

// What OpenAL's buffer size (an int) can take.
constexpr std::int64_t kMaxBytes = INT_MAX;
constexpr int kOggChunkFrames = 4096;

struct Decoded {
    unsigned char* data = nullptr;
    int length = 0, channels = 0, format = 0, hertz = 0;
    const char* failure = "not a WAV or Ogg file";  // why data is null
};

// The bytes from the current position to the end of the file.
bool ReadRest(FILE* file, std::vector<unsigned char>& out) {
    unsigned char block[65536];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, file)) > 0) {
        if (out.size() + n > static_cast<std::size_t>(kMaxBytes)) return false;
        out.insert(out.end(), block, block + n);
    }
    return !std::ferror(file);
}

Decoded DecodeWav(FILE* file) {
    Decoded d;
    std::vector<unsigned char> bytes;
    WavData wav;
    if (!ReadRest(file, bytes)) {
        d.failure = "unreadable or too large";
        return d;
    }
    if (!ReadWav(bytes.data(), bytes.size(), wav, &d.failure)) return d;
    int format = wav.bitsPerSample / 8;
    std::int64_t frameBytes = static_cast<std::int64_t>(format) * wav.channels;
    std::int64_t frames = static_cast<std::int64_t>(wav.samples.size()) / frameBytes;
    // Never a null buffer for a valid file, even one without samples.
    d.data = static_cast<unsigned char*>(std::malloc(wav.samples.empty() ? 1 : wav.samples.size()));
    if (!d.data) {
        d.failure = "out of memory";
        return d;
    }
    if (!wav.samples.empty()) std::memcpy(d.data, wav.samples.data(), wav.samples.size());
    d.length = static_cast<int>(frames);
    d.channels = wav.channels;
    d.format = format;
    d.hertz = wav.hertz;
    return d;
}

long BytesLeft(FILE* file) {
    long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) return -1;
    long end = std::ftell(file);
    if (std::fseek(file, here, SEEK_SET) != 0 || end < here) return -1;
    return end - here;
}

// Frames are decoded into a buffer that doubles whenever less than one
// decoder frame's worth of room is left, so no frame is ever cut short.
Decoded DecodeOgg(FILE* file) {
    Decoded d;
    d.failure = "not an Ogg Vorbis file";
    long left = BytesLeft(file);
    if (left <= 0 || static_cast<unsigned long>(left) > UINT_MAX) return d;
    int error = 0;
    stb_vorbis* v = stb_vorbis_open_file_section(file, 0, &error, nullptr, static_cast<unsigned>(left));
    if (!v) return d;
    stb_vorbis_info info = stb_vorbis_get_info(v);
    int channels = info.channels;
    std::int64_t chunk = static_cast<std::int64_t>(channels) * kOggChunkFrames;
    std::int64_t capacity = chunk, used = 0;
    auto* samples = static_cast<short*>(std::malloc(capacity * sizeof(short)));
    bool ok = samples != nullptr && channels > 0;
    while (ok) {
        if (capacity - used < chunk) {
            std::int64_t grown = capacity * 2;
            if (grown * static_cast<std::int64_t>(sizeof(short)) > kMaxBytes) {
                d.failure = "sound too long";
                ok = false;
                break;
            }
            auto* bigger = static_cast<short*>(std::realloc(samples, grown * sizeof(short)));
            if (!bigger) {
                d.failure = "out of memory";
                ok = false;
                break;
            }
            samples = bigger;
            capacity = grown;
        }
        int frames = stb_vorbis_get_frame_short_interleaved(v, channels, samples + used, static_cast<int>(capacity - used));
        if (frames <= 0) break;
        used += static_cast<std::int64_t>(frames) * channels;
    }
    stb_vorbis_close(v);
    if (!ok) {
        std::free(samples);
        return d;
    }
    d.data = reinterpret_cast<unsigned char*>(samples);
    d.length = static_cast<int>(used / channels);
    d.channels = channels;
    d.format = 2;
    d.hertz = static_cast<int>(info.sample_rate);
    return d;
}

}  // namespace

unsigned char* DecodeAudioFile(FILE* file, const String& path, int* length, int* channels, int* format, int* hertz,
                               const char** reason) {
    if (!file) return nullptr;
    String lower = path.ToLower();
    Decoded d;
    if (lower.EndsWith(String(".wav"))) {
        d = DecodeWav(file);
    } else if (lower.EndsWith(String(".ogg"))) {
        d = DecodeOgg(file);
    }
    if (!d.data) {
        if (reason) *reason = d.failure;
        return nullptr;
    }
    *length = d.length;
    *channels = d.channels;
    *format = d.format;
    *hertz = d.hertz;
    return d.data;
}
