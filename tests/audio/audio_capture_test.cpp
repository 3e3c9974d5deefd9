// Real output: OpenAL Soft's wave backend writes what it mixes to a file,
// and a sample played through the device must be audible there.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <thread>

#include "audio/audio.h"
#include "runtime/gc.h"
#include "tests/audio/audio_fixtures.h"
#include "tests/audio/wav_builder.h"
#include "tests/support/idle_host.h"

namespace {

using Bytes = std::vector<unsigned char>;

std::uint32_t Le(const Bytes& b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | b[at + i];
    return v;
}

// The captured mix as floats of all channels, whatever sample type the
// backend chose (16-bit integer or 32-bit float, plain or extensible).
struct Capture {
    std::vector<float> samples;
    int channels = 0;
    int hertz = 0;
};

Capture ReadCapture(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    Bytes b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Capture c;
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0) return c;
    int tag = 0, bits = 0;
    for (std::size_t at = 12; at + 8 <= b.size();) {
        std::uint32_t size = Le(b, at + 4, 4);
        std::size_t body = at + 8;
        if (std::memcmp(&b[at], "fmt ", 4) == 0) {
            tag = static_cast<int>(Le(b, body, 2));
            c.channels = static_cast<int>(Le(b, body + 2, 2));
            c.hertz = static_cast<int>(Le(b, body + 4, 4));
            bits = static_cast<int>(Le(b, body + 14, 2));
            if (tag == 0xFFFE) tag = static_cast<int>(Le(b, body + 24, 2));  // sub-format
        } else if (std::memcmp(&b[at], "data", 4) == 0) {
            std::size_t end = (size == 0 || body + size > b.size()) ? b.size() : body + size;
            for (std::size_t i = body; i + bits / 8 <= end; i += bits / 8) {
                if (tag == 3 && bits == 32) {
                    std::uint32_t u = Le(b, i, 4);
                    float f;
                    std::memcpy(&f, &u, 4);
                    c.samples.push_back(f);
                } else if (tag == 1 && bits == 16) {
                    c.samples.push_back(static_cast<std::int16_t>(Le(b, i, 2)) / 32768.0f);
                }
            }
            break;
        }
        at = body + size + (size & 1);
    }
    return c;
}

double Rms(const std::vector<float>& s, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += static_cast<double>(s[i]) * s[i];
    return to > from ? std::sqrt(sum / (to - from)) : 0.0;
}

TEST(AudioCapture, PlayedSampleIsAudibleInTheOutput) {
    TempDir dir;
    std::string out = dir.Path() + "/mix.wav";
    std::string text = "[general]\ndrivers = wave\n[wave]\nfile = " + out + "\n";
    std::string conf = dir.Write("alsoft.conf", Bytes(text.begin(), text.end()));
    setenv("ALSOFT_CONF", conf.c_str(), 1);
    IdleHost();

    std::string wav = dir.Write("tone.wav", WavBuilder::Pcm(1, 22050, 16, SineSamples16(1, 22050, 0.4)));
    gAudioDevice = new gxtkAudio();
    ASSERT_TRUE(gAudioDevice->HasOutput());
    Ref<c_Sound> tone = LoadSound(String(wav.c_str()));
    ASSERT_TRUE(tone);
    // A stretch of silence first, then the tone, then silence again.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    PlaySoundOnChannel(tone, 0, 0);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (ChannelState(0) != 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(ChannelState(0), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    // Closing the device finishes the file.
    tone = nullptr;
    const gxtkAudio* device = gAudioDevice.get();
    gAudioDevice = nullptr;
    for (int i = 0; i < 3; ++i) {
        gc::SetForce();
        gc::CollectStep();
    }
    ASSERT_FALSE(gc::IsLive(device));

    Capture c = ReadCapture(out);
    ASSERT_GT(c.channels, 0);
    ASSERT_GT(c.hertz, 0);
    std::size_t window = static_cast<std::size_t>(c.hertz / 20) * c.channels;  // 50 ms
    ASSERT_GT(c.samples.size(), window * 10);
    double loudest = 0;
    for (std::size_t at = 0; at + window <= c.samples.size(); at += window)
        loudest = std::max(loudest, Rms(c.samples, at, at + window));
    double start = Rms(c.samples, 0, window);
    // The tone peaks at about half of full scale; spread over two speakers
    // from straight ahead each carries an RMS of about 0.2. The lead-in is
    // silence.
    std::printf("capture: %d ch, %d Hz, loudest RMS %.3f, lead-in RMS %.6f\n", c.channels, c.hertz, loudest, start);
    EXPECT_GT(loudest, 0.1);
    EXPECT_LT(start, 0.001);
    // About 0.4 s of it, not a click.
    std::size_t loudWindows = 0;
    for (std::size_t at = 0; at + window <= c.samples.size(); at += window)
        loudWindows += Rms(c.samples, at, at + window) > loudest / 2;
    EXPECT_GE(loudWindows, 6u);
    EXPECT_LE(loudWindows, 10u);
}

}  // namespace
