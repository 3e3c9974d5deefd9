// ReadWav: the RIFF/WAVE reader behind sound loading. PCM only.
//
// Hostile files are expected (every sound is a file on disk), so the reader
// trusts no size it reads: a chunk that claims more bytes than are left is
// refused, nothing is allocated before its size has been checked against
// the input, and a frame of zero bytes (no channels, or fewer than 8 bits a
// sample) is refused. Layouts OpenAL cannot play (more than two channels,
// 24 or 32 bits) are still returned; the device then makes a silent sample
// of them.
#pragma once
#include <cstddef>
#include <vector>

struct WavData {
    std::vector<unsigned char> samples;
    int channels = 0;
    int bitsPerSample = 0;
    int hertz = 0;
};

// False when the bytes are not a PCM WAV file this reader accepts; *reason
// (when given) then says why in a few words.
bool ReadWav(const unsigned char* bytes, std::size_t size, WavData& out, const char** reason = nullptr);
