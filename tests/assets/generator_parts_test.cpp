// Building blocks of the generator whose faults would not show as an
// obviously broken picture or sound: pixel conversion, the WAV encoder,
// edge fades and the atlas grid.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdint>
#include <cstring>

#include "codec/wav_reader.h"
#include "tools/assetgen/image_asset.h"
#include "tools/assetgen/rgba_image.h"
#include "tools/assetgen/synth.h"
#include "tools/assetgen/wav_file.h"

namespace {

std::uint32_t Word(int a, int r, int g, int b) { return (a << 24) | (r << 16) | (g << 8) | b; }

TEST(PixelConversion, PremultipliedCairoPixelsBecomeStraightAlpha) {
    const std::uint32_t words[4] = {Word(128, 128, 0, 0), Word(0, 0, 0, 0), Word(255, 10, 20, 30), Word(64, 32, 16, 64)};
    std::uint8_t bytes[16];
    std::memcpy(bytes, words, sizeof bytes);
    RgbaImage img = RgbaImage::FromPremultipliedArgb(bytes, 4, 1, 16);
    EXPECT_EQ(img.Get(0, 0), (RgbaPixel{255, 0, 0, 128}));  // half-transparent pure red, not dark red
    EXPECT_EQ(img.Get(1, 0), (RgbaPixel{0, 0, 0, 0}));
    EXPECT_EQ(img.Get(2, 0), (RgbaPixel{10, 20, 30, 255}));
    EXPECT_EQ(img.Get(3, 0), (RgbaPixel{128, 64, 255, 64}));
}

TEST(PixelConversion, BlendingAndEnlargingKeepColours) {
    RgbaImage img(2, 1);
    img.Set(0, 0, {0, 0, 255, 255});
    img.Blend(0, 0, {255, 0, 0, 128});  // half red over opaque blue
    RgbaPixel p = img.Get(0, 0);
    EXPECT_EQ(p.a, 255);
    EXPECT_NEAR(p.r, 128, 1);
    EXPECT_NEAR(p.b, 127, 1);
    img.Blend(1, 0, {10, 20, 30, 100});  // over nothing: the source as it is
    EXPECT_EQ(img.Get(1, 0), (RgbaPixel{10, 20, 30, 100}));
    RgbaImage big = img.ScaledNearest(3);
    ASSERT_EQ(big.Width(), 6);
    ASSERT_EQ(big.Height(), 3);
    EXPECT_EQ(big.Get(5, 2), img.Get(1, 0));
    EXPECT_EQ(big.Get(2, 1), img.Get(0, 0));
}

TEST(VectorAtlas, FramesWrapLeftToRightAndScaleWithTheLevel) {
    // Each frame fills a square whose size tells its index; a frame drawn
    // in the wrong cell or at the wrong scale shows up at once.
    ImageAsset a{"test", 4, 2, 5, 2,
                 [](cairo_t* cr, int frame) {
                     cairo_rectangle(cr, 0, 0, 1 + frame % 3, 1);
                     cairo_set_source_rgb(cr, 1, 1, 1);
                     cairo_fill(cr);
                 },
                 nullptr};
    RgbaImage img = RenderVectorAtlas(a, 2);
    ASSERT_EQ(img.Width(), 2 * 4 * 2);
    ASSERT_EQ(img.Height(), 3 * 2 * 2);
    for (int frame = 0; frame < 6; ++frame) {
        int x0 = (frame % 2) * 8, y0 = (frame / 2) * 4;
        int width = frame < 5 ? 2 * (1 + frame % 3) : 0;
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(img.Get(x0 + x, y0 + 1).a, x < width ? 255 : 0) << "frame " << frame << " x " << x;
            EXPECT_EQ(img.Get(x0 + x, y0 + 2).a, 0) << "frame " << frame << " bleeds below its row";
        }
    }
    EXPECT_EQ(a.FileName(1), "test.png");
    EXPECT_EQ(a.FileName(2), "test-hd.png");
    EXPECT_EQ(a.FileName(4), "test-hd2.png");
}

TEST(WavEncoding, TheGamesReaderGetsBackTheSamplesAndFormat) {
    std::vector<double> samples = {0.0, 0.5, -0.5, 1.0, -1.0, 2.0, -3.0};
    std::vector<std::uint8_t> file = EncodeWav16Mono(samples, 22050);
    ASSERT_EQ(file.size(), 44u + 2 * samples.size());
    WavData wav;
    ASSERT_TRUE(ReadWav(file.data(), file.size(), wav));
    EXPECT_EQ(wav.channels, 1);
    EXPECT_EQ(wav.bitsPerSample, 16);
    EXPECT_EQ(wav.hertz, 22050);
    ASSERT_EQ(wav.samples.size(), 2 * samples.size());
    auto at = [&](int i) { return static_cast<std::int16_t>(wav.samples[2 * i] | (wav.samples[2 * i + 1] << 8)); };
    EXPECT_EQ(at(0), 0);
    EXPECT_EQ(at(1), 16384);
    EXPECT_EQ(at(2), -16384);
    EXPECT_EQ(at(3), 32767);
    EXPECT_EQ(at(4), -32767);
    EXPECT_EQ(at(5), 32767);  // out of range clamps instead of wrapping
    EXPECT_EQ(at(6), -32767);
    // RIFF size and byte rate as players check them.
    EXPECT_EQ(file[4] | (file[5] << 8), 36 + 14);
    EXPECT_EQ(file[28] | (file[29] << 8) | (file[30] << 16), 44100);
}

TEST(Synth, FadesSilenceBothEndsAndNormalisingSetsThePeak) {
    synth::Samples s(synth::SampleCount(0.1), 0.8);
    synth::FadeEdges(s, 0.01, 0.02);
    EXPECT_EQ(s.front(), 0.0);
    EXPECT_LT(std::abs(s.back()), 1e-3);
    EXPECT_DOUBLE_EQ(s[s.size() / 2], 0.8);
    for (std::size_t i = 1; i < synth::SampleCount(0.01); ++i) EXPECT_GE(s[i], s[i - 1]);  // a rise, not a step
    synth::NormalisePeak(s, 0.5);
    EXPECT_NEAR(synth::Peak(s), 0.5, 1e-12);
    synth::Samples silence(100, 0.0);
    synth::NormalisePeak(silence, 0.5);  // nothing to scale: stays silent, no division by zero
    EXPECT_EQ(synth::Peak(silence), 0.0);
}

TEST(Synth, NoiseIsRepeatableFromItsSeed) {
    synth::Noise a(42), b(42), c(43);
    bool differs = false;
    for (int i = 0; i < 100; ++i) {
        double va = a.Next();
        EXPECT_EQ(va, b.Next());
        EXPECT_GE(va, -1.0);
        EXPECT_LT(va, 1.0);
        differs |= va != c.Next();
    }
    EXPECT_TRUE(differs);
}

}  // namespace
