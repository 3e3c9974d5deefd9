#include "tests/audio/audio_fixtures.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/audio/wav_builder.h"

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "solbrim-audio-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& name, const std::vector<unsigned char>& bytes) const {
    std::string file = path_ + "/" + name;
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return file;
}

std::vector<unsigned char> SineSamples16(int channels, int hertz, double seconds) {
    int frames = static_cast<int>(hertz * seconds);
    std::vector<unsigned char> out;
    out.reserve(static_cast<std::size_t>(frames) * channels * 2);
    for (int i = 0; i < frames; ++i) {
        auto v = static_cast<std::int16_t>(16000.0 * std::sin(2.0 * M_PI * 440.0 * i / hertz));
        for (int c = 0; c < channels; ++c) {
            out.push_back(static_cast<unsigned char>(v & 0xFF));
            out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
        }
    }
    return out;
}

std::string MakeOgg(const TempDir& dir, const std::string& name, int channels, int hertz, double seconds) {
    std::string wav = dir.Write(name + ".src.wav", WavBuilder::Pcm(channels, hertz, 16, SineSamples16(channels, hertz, seconds)));
    std::string ogg = dir.Path() + "/" + name;
    std::string command = "oggenc -Q -o '" + ogg + "' '" + wav + "'";
    if (std::system(command.c_str()) != 0 || !std::filesystem::exists(ogg)) return "";
    return ogg;
}

double Rms16(const std::vector<unsigned char>& bytes) {
    double sum = 0;
    std::size_t n = bytes.size() / 2;
    for (std::size_t i = 0; i < n; ++i) {
        auto v = static_cast<std::int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        sum += static_cast<double>(v) * v;
    }
    return n ? std::sqrt(sum / n) : 0.0;
}
