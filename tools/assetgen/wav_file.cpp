#include "tools/assetgen/wav_file.h"

#include <algorithm>
#include <cmath>

namespace {
void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}
}  // namespace

std::vector<std::uint8_t> EncodeWav16Mono(const std::vector<double>& samples, int hertz) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    Put32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, static_cast<std::uint32_t>(hertz));
    Put32(out, static_cast<std::uint32_t>(hertz) * 2);  // byte rate
    Put16(out, 2);                                     // block align
    Put16(out, 16);                                    // bits per sample
    PutTag(out, "data");
    Put32(out, dataBytes);
    for (double s : samples) {
        long v = std::lround(std::clamp(s, -1.0, 1.0) * 32767.0);
        Put16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(v)));
    }
    return out;
}
