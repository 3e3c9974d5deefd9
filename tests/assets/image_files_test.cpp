// The image files in the build's data/: each decodes, is a whole grid of
// its frames at every level, and has art where the game draws it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "tests/assets/asset_expectations.h"
#include "tests/assets/decoded_image.h"

namespace {

DecodedImage LoadLevel(const ExpectedImage& e, int level) { return DecodedImage::Load(DataDir() + "/" + e.File(level)); }

TEST(ImageFiles, EveryLevelDecodesIntoAWholeGridHoldingAllFrames) {
    for (const ExpectedImage& e : ExpectedImages()) {
        for (int level : e.levels) {
            SCOPED_TRACE(e.File(level));
            DecodedImage img = LoadLevel(e, level);
            ASSERT_TRUE(img.Valid());
            EXPECT_EQ(img.FileChannels(), 4);  // straight alpha, uploaded as RGBA
            const int fw = e.frameWidth * level, fh = e.frameHeight * level;
            EXPECT_EQ(img.Width() % fw, 0);
            EXPECT_EQ(img.Height() % fh, 0);
            EXPECT_GE((img.Width() / fw) * (img.Height() / fh), e.frames);
        }
    }
}

TEST(ImageFiles, EveryFrameTheGameNamesHasOpaquePixelsAtEveryLevel) {
    for (const ExpectedImage& e : ExpectedImages()) {
        for (int level : e.levels) {
            DecodedImage img = LoadLevel(e, level);
            ASSERT_TRUE(img.Valid()) << e.File(level);
            for (int f = 0; f < e.frames; ++f) {
                if (e.IsSpare(f)) continue;
                DecodedImage frame = img.Frame(e.frameWidth * level, e.frameHeight * level, f);
                EXPECT_GT(frame.OpaqueCount(), 0) << e.File(level) << " frame " << f;
            }
        }
    }
}

// Mean difference between level 1's alpha and the higher level's alpha
// averaged over each level-1 pixel's block: near zero when both levels
// show the same shapes in the same places.
double CoverageDifference(const DecodedImage& low, const DecodedImage& high, int level) {
    double sum = 0;
    for (int y = 0; y < low.Height(); ++y)
        for (int x = 0; x < low.Width(); ++x) {
            int block = 0;
            for (int dy = 0; dy < level; ++dy)
                for (int dx = 0; dx < level; ++dx) block += high.At(x * level + dx, y * level + dy).a;
            sum += std::abs(low.At(x, y).a - block / static_cast<double>(level * level));
        }
    return sum / (low.Width() * low.Height());
}

TEST(ImageFiles, LargerLevelsShowTheSameArtRedrawnSharper) {
    for (const ExpectedImage& e : ExpectedImages()) {
        if (e.levels.size() < 3 || e.name == "fonts/editundo") continue;  // the pixel font is checked on its own
        DecodedImage base = LoadLevel(e, 1);
        for (int level : {2, 4}) {
            DecodedImage high = LoadLevel(e, level);
            ASSERT_TRUE(base.Valid() && high.Valid()) << e.name;
            int differing = 0;
            for (int f = 0; f < e.frames; ++f) {
                DecodedImage lowFrame = base.Frame(e.frameWidth, e.frameHeight, f);
                DecodedImage highFrame = high.Frame(e.frameWidth * level, e.frameHeight * level, f);
                EXPECT_LT(CoverageDifference(lowFrame, highFrame, level), 12.0)
                    << e.File(level) << " frame " << f << " does not match level 1";
                // Redrawn, not enlarged: some pixel differs from its level-1 source.
                for (int y = 0; y < highFrame.Height() && differing == 0; ++y)
                    for (int x = 0; x < highFrame.Width(); ++x) {
                        Rgba h = highFrame.At(x, y), l = lowFrame.At(x / level, y / level);
                        if (h.r != l.r || h.g != l.g || h.b != l.b || h.a != l.a) {
                            ++differing;
                            break;
                        }
                    }
            }
            EXPECT_GT(differing, 0) << e.File(level) << " is a plain enlargement of level 1";
        }
    }
}

}  // namespace
