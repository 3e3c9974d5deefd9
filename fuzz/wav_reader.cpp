// Feeds arbitrary bytes to the WAV reader, directly and through the file
// decoder (a memory FILE* named .wav, as the host hands over a sound file),
// and checks that whatever is accepted describes memory we may read whole.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "codec/audio_decoder.h"
#include "codec/wav_reader.h"

namespace {

void CheckReader(const uint8_t* data, size_t size) {
    WavData wav;
    if (!ReadWav(data, size, wav)) return;
    if (wav.channels < 1 || wav.bitsPerSample < 8 || wav.samples.size() > size) std::abort();
}

void CheckDecoder(const uint8_t* data, size_t size) {
    if (size == 0) return;  // fmemopen refuses an empty buffer
    FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!file) return;
    int length = -1, channels = -1, format = -1, hertz = 0;
    unsigned char* samples = DecodeAudioFile(file, String("fuzz.wav"), &length, &channels, &format, &hertz);
    std::fclose(file);
    if (!samples) return;
    if (length < 0 || channels < 1 || format < 1) std::abort();
    size_t bytes = static_cast<size_t>(length) * channels * format;
    if (bytes > size) std::abort();
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; i += 97) sum += samples[i];
    if (bytes > 0) sum += samples[bytes - 1];
    if (sum == 0xFFFFFFFFu) std::printf(" ");  // keeps the reads from being optimised away
    std::free(samples);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckReader(data, size);
    CheckDecoder(data, size);
    return 0;
}
