// The generator's music assets: the song image format, the composed title
// song, and the instruments (names, seamless loops, pitch, levels).
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <stdexcept>
#include <string>

#include "tools/assetgen/instruments.h"
#include "tools/assetgen/song_image.h"
#include "tools/assetgen/title_song.h"

namespace {

TEST(SongImageFormat, PatternsLieInAnEightByEightGridOfOpaqueFrames) {
    // Decoding through the player is tested with the renderer; this pins
    // the layout the player's frame grab expects.
    SongImage song;
    song.Set(9, 7, 63, {31, 0, 0, 0});
    song.Set(63, 3, 17, {1, 2, 3, 4});
    RgbaImage image = song.Render();
    ASSERT_EQ(image.Width(), 512);
    ASSERT_EQ(image.Height(), 512);
    // Pattern 9 is the second frame of the second row of frames.
    EXPECT_EQ(image.Get(1 * 64 + 7 * 8, 1 * 64 + 63).b >> 3, 31);
    EXPECT_EQ(image.Get(7 * 64 + 3 * 8 + 3, 7 * 64 + 17).b >> 3, 4);
    EXPECT_EQ(image.Get(5, 5).b, 0);
    for (int i = 0; i < 512; i += 37) EXPECT_EQ(image.Get(i, 511 - i).a, 255);
}

TEST(SongImageFormat, ValuesAndPlacesOutsideTheSongAreRefused) {
    SongImage song;
    EXPECT_THROW(song.Set(0, 0, 0, {32, 0, 0, 0}), std::out_of_range);
    EXPECT_THROW(song.Set(0, 0, 0, {0, -1, 0, 0}), std::out_of_range);
    EXPECT_THROW(song.Set(64, 0, 0, {1, 1, 0, 0}), std::out_of_range);
    EXPECT_THROW(song.Set(0, 8, 0, {1, 1, 0, 0}), std::out_of_range);
    EXPECT_THROW(song.Get(0, 0, 64), std::out_of_range);
}

TEST(TitleSong, EveryPlayedChannelHasAFirstPatternAndLeadPairsStepToEachOther) {
    SongImage song = title_song::Compose();
    auto empty = [&](int pattern, int channel) {
        for (int r = 0; r < 64; ++r) {
            if (!(song.Get(pattern, channel, r) == SongCell{})) return false;
        }
        return true;
    };
    const int patternCounts[5] = {4, 4, 4, 3, 3};
    for (int c = 0; c < 5; ++c) {
        for (int f = 0; f < patternCounts[c]; ++f) EXPECT_FALSE(empty(f, c)) << "channel " << c << " pattern " << f;
        for (int f = patternCounts[c]; f < 64; ++f) ASSERT_TRUE(empty(f, c)) << "channel " << c << " pattern " << f;
    }
    for (int c = 5; c < 8; ++c) {
        for (int f = 0; f < 64; ++f) ASSERT_TRUE(empty(f, c));
    }
    for (int f = 0; f < 4; ++f) {
        EXPECT_EQ(song.Get(f, 2, 0).command, 27);
        EXPECT_EQ(song.Get(f, 2, 0).parameter, f % 2 == 0 ? 1 : 2) << "pattern " << f;
    }
    // Notes stay on the drum map on the drum channels, in 1..31 elsewhere,
    // and nothing breaks a bar short.
    const std::set<int> drumMap = {13, 15, 17, 18, 20, 22, 24, 25};
    for (int f = 0; f < 4; ++f) {
        for (int r = 0; r < 64; ++r) {
            for (int c = 0; c < 2; ++c) {
                int note = song.Get(f, c, r).note;
                if (note) {
                    EXPECT_TRUE(drumMap.count(note)) << "channel " << c << " note " << note;
                }
            }
            for (int c = 0; c < 5; ++c) EXPECT_NE(song.Get(f, c, r).command, 8);
        }
    }
}

class InstrumentsTest : public ::testing::Test {};

TEST_F(InstrumentsTest, CatalogNamesTheFilesThePlayerAsksFor) {
    std::set<std::string> files;
    for (const SoundAsset& a : InstrumentCatalog()) files.insert(a.file);
    std::set<std::string> expected = {"inst/lead3.wav", "inst/accompany4.wav", "inst/bass0.wav"};
    for (int k = 1; k <= 8; ++k) {
        expected.insert("inst/d4-" + std::to_string(k) + ".wav");
        expected.insert("inst/d3-" + std::to_string(k) + ".wav");
    }
    EXPECT_EQ(files, expected);
}

TEST_F(InstrumentsTest, VoicesLoopWithoutAStepAndSoundTheirNoteThirteen) {
    struct Voice {
        synth::Samples samples;
        int period;
        bool steady;  // without vibrato: every period the same
    };
    const Voice voices[] = {{instruments::Lead(), instruments::kLeadPeriod, false},
                            {instruments::Accompaniment(), instruments::kAccompanimentPeriod, true},
                            {instruments::Bass(), instruments::kBassPeriod, true}};
    for (const Voice& v : voices) {
        const synth::Samples& s = v.samples;
        ASSERT_EQ(s.size(), static_cast<std::size_t>(instruments::kLoopSamples));
        EXPECT_EQ(instruments::kLoopSamples % v.period, 0);
        double largestStep = 0;
        for (std::size_t i = 1; i < s.size(); ++i) largestStep = std::max(largestStep, std::fabs(s[i] - s[i - 1]));
        EXPECT_LE(std::fabs(s.front() - s.back()), largestStep * 1.05) << "period " << v.period;
        EXPECT_LE(synth::Peak(s), 0.61);
        EXPECT_GT(synth::Rms(s), 0.15);
        if (v.steady) {
            for (std::size_t i = 0; i + v.period < s.size(); ++i) ASSERT_NEAR(s[i], s[i + v.period], 1e-9);
        }
        // Fundamental: upward zero crossings once per period.
        int ups = 0;
        for (std::size_t i = 1; i < s.size(); ++i) ups += s[i - 1] < 0 && s[i] >= 0;
        EXPECT_NEAR(ups, instruments::kLoopSamples / v.period, 2) << "period " << v.period;
    }
}

TEST_F(InstrumentsTest, DrumsAreShortAndStartAndEndInSilence) {
    int drums = 0;
    for (const SoundAsset& a : InstrumentCatalog()) {
        if (a.file.rfind("inst/d", 0) != 0) continue;
        ++drums;
        synth::Samples s = a.make();
        ASSERT_GT(s.size(), 1000u) << a.file;
        EXPECT_LT(s.size(), static_cast<std::size_t>(synth::kHertz * 1.5)) << a.file;
        EXPECT_NEAR(synth::Peak(s), 0.75, 1e-9) << a.file;
        EXPECT_LT(std::fabs(s.front()), 0.01) << a.file;
        EXPECT_EQ(s.back(), 0.0) << a.file;
    }
    EXPECT_EQ(drums, 16);
}

}  // namespace
