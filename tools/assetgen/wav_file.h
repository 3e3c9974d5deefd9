// A canonical RIFF/WAVE file: one "fmt " chunk (16-bit PCM, mono) and one
// "data" chunk. Samples outside [-1, 1] are clamped, never wrapped.
#pragma once
#include <cstdint>
#include <vector>

std::vector<std::uint8_t> EncodeWav16Mono(const std::vector<double>& samples, int hertz);
