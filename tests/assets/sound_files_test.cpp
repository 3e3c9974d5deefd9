// The sound effects in the build's data/, read through the game's own WAV
// reader: 16-bit PCM mono, short, audible, never clipping, silent at both
// ends; the coin bright and the hit dull.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "codec/wav_reader.h"
#include "tests/assets/asset_expectations.h"
#include "tools/assetgen/sound_catalog.h"

namespace {

struct Sound {
    WavData wav;
    std::vector<double> samples;  // in [-1, 1]
    double Seconds() const { return static_cast<double>(samples.size()) / wav.hertz; }
};

bool LoadSound(const std::string& file, Sound& out) {
    std::ifstream in(DataDir() + "/" + file, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!ReadWav(bytes.data(), bytes.size(), out.wav)) return false;
    if (out.wav.bitsPerSample != 16 || out.wav.channels != 1) return true;
    const auto& raw = out.wav.samples;
    for (std::size_t i = 0; i + 1 < raw.size(); i += 2) {
        auto v = static_cast<std::int16_t>(raw[i] | (raw[i + 1] << 8));
        out.samples.push_back(v / 32768.0);
    }
    return true;
}

double Rms(const std::vector<double>& s) {
    double sum = 0;
    for (double v : s) sum += v * v;
    return std::sqrt(sum / static_cast<double>(s.size()));
}

// Zero crossings per second: a rough measure of how bright a sound is.
double CrossingRate(const Sound& s) {
    int crossings = 0;
    for (std::size_t i = 1; i < s.samples.size(); ++i) crossings += (s.samples[i - 1] < 0) != (s.samples[i] < 0);
    return crossings / s.Seconds();
}

TEST(SoundFiles, TheGamesWavReaderLoadsEachAsSixteenBitMono) {
    for (const SoundAsset& sound : SoundCatalog()) {
        const std::string& file = sound.file;
        Sound s;
        ASSERT_TRUE(LoadSound(file, s)) << file;
        EXPECT_EQ(s.wav.bitsPerSample, 16) << file;
        EXPECT_EQ(s.wav.channels, 1) << file;
        EXPECT_GE(s.wav.hertz, 22050) << file;
        EXPECT_EQ(s.wav.samples.size() % 2, 0u) << file;
    }
}

TEST(SoundFiles, EachIsShortAudibleAndBelowFullScale) {
    for (const SoundAsset& sound : SoundCatalog()) {
        const std::string& file = sound.file;
        Sound s;
        ASSERT_TRUE(LoadSound(file, s)) << file;
        ASSERT_FALSE(s.samples.empty()) << file;
        EXPECT_LT(s.Seconds(), 1.0) << file;
        EXPECT_GT(Rms(s.samples), 0.05) << file << " is too quiet";
        double peak = 0;
        for (double v : s.samples) peak = std::max(peak, std::fabs(v));
        EXPECT_LT(peak, 0.9) << file << " comes close to clipping";
    }
}

TEST(SoundFiles, EachStartsAndEndsAtSilenceWithoutAClick) {
    for (const SoundAsset& sound : SoundCatalog()) {
        const std::string& file = sound.file;
        Sound s;
        ASSERT_TRUE(LoadSound(file, s)) << file;
        ASSERT_GT(s.samples.size(), 64u) << file;
        const std::size_t n = s.samples.size();
        EXPECT_LT(std::fabs(s.samples.front()), 0.01) << file;
        EXPECT_LT(std::fabs(s.samples.back()), 0.01) << file;
        // The first and last few samples rise from and fall to silence.
        for (std::size_t i = 0; i < 8; ++i) {
            EXPECT_LT(std::fabs(s.samples[i]), 0.08) << file << " sample " << i;
            EXPECT_LT(std::fabs(s.samples[n - 1 - i]), 0.08) << file << " sample " << n - 1 - i;
        }
    }
}

TEST(SoundFiles, CoinIsBrightHitIsDullAndTheClickIsVeryShort) {
    Sound coin, hit, click;
    ASSERT_TRUE(LoadSound("sfx/001.wav", coin));
    ASSERT_TRUE(LoadSound("sfx/002.wav", hit));
    ASSERT_TRUE(LoadSound("sfx/098.wav", click));
    EXPECT_GT(CrossingRate(coin), 1500.0);
    EXPECT_LT(CrossingRate(hit), 600.0);
    EXPECT_LT(click.Seconds(), 0.1);
}

}  // namespace
