// The two bitmap fonts: the game's text font (fonts/editundo) and the
// framework's default font (brio_font.png).
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/assets/asset_expectations.h"
#include "tests/assets/decoded_image.h"

namespace {

constexpr int kCell = 16;

struct InkBox {
    int left = kCell, top = kCell, right = -1, bottom = -1;
    bool Empty() const { return right < 0; }
    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
    double CentreX() const { return (left + right + 1) / 2.0; }
};

InkBox BoxOf(const DecodedImage& frame) {
    InkBox box;
    for (int y = 0; y < frame.Height(); ++y)
        for (int x = 0; x < frame.Width(); ++x)
            if (frame.At(x, y).a > 0) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

DecodedImage Font(int level) { return DecodedImage::Load(DataDir() + "/" + Expected("fonts/editundo").File(level)); }

TEST(GameFont, EveryPrintableGlyphHasInkCentredWithinSevenByTen) {
    DecodedImage font = Font(1);
    ASSERT_TRUE(font.Valid());
    for (int code = 33; code <= 126; ++code) {
        InkBox box = BoxOf(font.Frame(kCell, kCell, code - 32));
        ASSERT_FALSE(box.Empty()) << "no glyph for " << static_cast<char>(code);
        EXPECT_LE(box.Width(), 7) << static_cast<char>(code);  // the advance is 7
        EXPECT_LE(box.Height(), 10) << static_cast<char>(code);  // the line height is 10
        // Drawn by its middle: all ink lies in the centred 7 x 10 box (to
        // the nearest pixel) and is balanced across the cell.
        EXPECT_GE(box.left, 4) << static_cast<char>(code);
        EXPECT_LE(box.right, 11) << static_cast<char>(code);
        EXPECT_GE(box.top, 3) << static_cast<char>(code);
        EXPECT_LE(box.bottom, 12) << static_cast<char>(code);
        EXPECT_NEAR(box.CentreX(), kCell / 2.0, 1.5) << static_cast<char>(code);
    }
    EXPECT_TRUE(BoxOf(font.Frame(kCell, kCell, 0)).Empty()) << "the space must be blank";
}

TEST(GameFont, GlyphsLineUpOnOneBaselineWithDescendersBelow) {
    DecodedImage font = Font(1);
    ASSERT_TRUE(font.Valid());
    auto bottomOf = [&](char c) { return BoxOf(font.Frame(kCell, kCell, c - 32)).bottom; };
    EXPECT_EQ(bottomOf('A'), bottomOf('x'));
    EXPECT_EQ(bottomOf('0'), bottomOf('m'));
    EXPECT_GT(bottomOf('g'), bottomOf('a'));
    EXPECT_GT(bottomOf('y'), bottomOf('v'));
}

TEST(GameFont, NoTwoGlyphsAreAlike) {
    DecodedImage font = Font(1);
    ASSERT_TRUE(font.Valid());
    auto same = [&](int a, int b) {
        DecodedImage fa = font.Frame(kCell, kCell, a - 32), fb = font.Frame(kCell, kCell, b - 32);
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
                if (fa.At(x, y).a != fb.At(x, y).a) return false;
        return true;
    };
    for (int a = 33; a <= 126; ++a)
        for (int b = a + 1; b <= 126; ++b)
            EXPECT_FALSE(same(a, b)) << static_cast<char>(a) << " and " << static_cast<char>(b);
}

TEST(GameFont, GlyphsAreWhiteSoTheDrawColourTintsThem) {
    DecodedImage font = Font(1);
    ASSERT_TRUE(font.Valid());
    for (int code = 33; code <= 126; ++code) {
        DecodedImage glyph = font.Frame(kCell, kCell, code - 32);
        int white = 0;
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x) {
                Rgba p = glyph.At(x, y);
                white += p.a == 255 && p.r == 255 && p.g == 255 && p.b == 255;
            }
        EXPECT_GE(white, 2) << static_cast<char>(code);
    }
}

TEST(GameFont, LevelsTwoAndFourAreWholePixelEnlargementsOfLevelOne) {
    DecodedImage base = Font(1);
    for (int level : {2, 4}) {
        DecodedImage big = Font(level);
        ASSERT_TRUE(base.Valid() && big.Valid());
        ASSERT_EQ(big.Width(), base.Width() * level);
        ASSERT_EQ(big.Height(), base.Height() * level);
        int mismatches = 0;
        for (int y = 0; y < big.Height(); ++y)
            for (int x = 0; x < big.Width(); ++x) {
                Rgba b = big.At(x, y), s = base.At(x / level, y / level);
                mismatches += b.r != s.r || b.g != s.g || b.b != s.b || b.a != s.a;
            }
        EXPECT_EQ(mismatches, 0) << "level " << level << " is smoothed, not crisp";
    }
}

TEST(DefaultFont, NinetySixCellsEachWithEmptyFirstAndLastColumns) {
    DecodedImage font = DecodedImage::Load(DataDir() + "/brio_font.png");
    ASSERT_TRUE(font.Valid());
    ASSERT_EQ(font.Width() % 96, 0);
    const int cell = font.Width() / 96;
    ASSERT_GE(cell, 3);
    for (int i = 0; i < 96; ++i) {
        for (int y = 0; y < font.Height(); ++y) {
            EXPECT_EQ(font.At(i * cell, y).a, 0) << "cell " << i << " left edge";
            EXPECT_EQ(font.At(i * cell + cell - 1, y).a, 0) << "cell " << i << " right edge";
        }
        if (i >= 1 && i <= 94) {
            EXPECT_GT(font.Frame(cell, font.Height(), i).OpaqueCount(), 0) << "no glyph for code " << i + 32;
        }
    }
}

}  // namespace
