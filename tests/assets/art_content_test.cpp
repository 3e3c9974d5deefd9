// What the pictures show, where the game relies on it: the sky tiles
// without a seam, the eyes look up, coins are gold and hearts red, blocks
// are solid warm hazards, tinted icons are light, the test card's middle
// is dark enough for white text, the application icon shows the ball at
// every size.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/assets/asset_expectations.h"
#include "tests/assets/decoded_image.h"
#include "tools/assetgen/app_icon.h"

namespace {

DecodedImage FrameOf(const std::string& name, int level, int frame) {
    const ExpectedImage& e = Expected(name);
    DecodedImage img = DecodedImage::Load(DataDir() + "/" + e.File(level));
    if (!img.Valid()) return img;
    return img.Frame(e.frameWidth * level, e.frameHeight * level, frame);
}

double Luma(Rgba p) { return 0.299 * p.r + 0.587 * p.g + 0.114 * p.b; }

double ColourDistance(Rgba a, Rgba b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); }

TEST(Backdrop, SkyTilesSeamlesslyAndLetsTheClearColourThrough) {
    for (int level : {1, 2, 4}) {
        SCOPED_TRACE(level);
        DecodedImage sky = FrameOf("menu", level, 0);
        ASSERT_TRUE(sky.Valid());
        const int n = sky.Width();
        double edgeColumns = 0, edgeRows = 0, alphaSum = 0;
        int gaps = 0;
        for (int i = 0; i < n; ++i) {
            Rgba l = sky.At(0, i), r = sky.At(n - 1, i), t = sky.At(i, 0), b = sky.At(i, n - 1);
            edgeColumns += ColourDistance(l, r) + std::abs(l.a - r.a);
            edgeRows += ColourDistance(t, b) + std::abs(t.a - b.a);
        }
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                alphaSum += sky.At(x, y).a;
                gaps += sky.At(x, y).a == 0;
            }
        // Opposite edges differ no more than neighbouring pixels do.
        EXPECT_LT(edgeColumns / n, 12.0);
        EXPECT_LT(edgeRows / n, 12.0);
        EXPECT_EQ(gaps, 0) << "the sky has holes";
        EXPECT_LT(alphaSum / (n * n), 230.0) << "the sky hides the clear colour";
    }
}

TEST(Sprites, EyesLookUpAndStayOnTheBall) {
    for (int level : {1, 2, 4}) {
        SCOPED_TRACE(level);
        DecodedImage eyes = FrameOf("eyes", level, 0);
        ASSERT_TRUE(eyes.Valid());
        double pupilY = 0, whiteY = 0, pupils = 0, whites = 0;
        const double centre = 16.0 * level, radius = 16.0 * level;
        for (int y = 0; y < eyes.Height(); ++y)
            for (int x = 0; x < eyes.Width(); ++x) {
                Rgba p = eyes.At(x, y);
                if (p.a < 200) continue;
                EXPECT_LE(std::hypot(x + 0.5 - centre, y + 0.5 - centre), radius) << "eye outside the ball";
                if (Luma(p) < 80) {
                    pupilY += y;
                    ++pupils;
                } else if (Luma(p) > 220) {
                    whiteY += y;
                    ++whites;
                }
            }
        ASSERT_GT(pupils, 0);
        ASSERT_GT(whites, 0);
        EXPECT_LT(pupilY / pupils, whiteY / whites - 0.5 * level) << "pupils do not look up";
    }
}

// Share of the opaque pixels that pass `test`.
template <typename Test>
double ShareOf(const DecodedImage& img, Test test) {
    int opaque = 0, passing = 0;
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x) {
            Rgba p = img.At(x, y);
            if (p.a < 128) continue;
            ++opaque;
            passing += test(p);
        }
    return opaque ? static_cast<double>(passing) / opaque : 0.0;
}

TEST(Sprites, CoinIsGoldAndHeartIsRed) {
    DecodedImage coin = FrameOf("world001", 2, 0), heart = FrameOf("heart", 2, 0);
    ASSERT_TRUE(coin.Valid() && heart.Valid());
    EXPECT_GT(ShareOf(coin, [](Rgba p) { return p.r > 150 && p.g > p.b + 50 && p.r > p.b + 90; }), 0.6);
    EXPECT_GT(ShareOf(heart, [](Rgba p) { return p.r > 120 && p.r > 2 * p.g && p.r > 1.6 * p.b; }), 0.6);
}

TEST(Sprites, NineBlocksAreSolidWarmAndDistinct) {
    std::vector<Rgba> means;
    for (int v = 0; v < 9; ++v) {
        DecodedImage block = FrameOf("world001", 2, 10 + v);
        ASSERT_TRUE(block.Valid());
        EXPECT_GT(block.OpaqueCount(), block.Width() * block.Height() * 8 / 10) << "block " << v << " not solid";
        Rgba m = MeanOpaqueColour(block);
        EXPECT_GT(m.r, m.b + 60) << "block " << v << " not warm";
        means.push_back(m);
    }
    for (int a = 0; a < 9; ++a)
        for (int b = a + 1; b < 9; ++b) {
            DecodedImage fa = FrameOf("world001", 1, 10 + a), fb = FrameOf("world001", 1, 10 + b);
            double diff = 0;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) diff += ColourDistance(fa.At(x, y), fb.At(x, y));
            EXPECT_GT(diff / (32 * 32), 20.0) << "blocks " << a << " and " << b << " look alike";
        }
}

TEST(Sprites, TintedIconsAreLightWithDarkGlyphs) {
    // The game tints these (pause untinted; quit red, resume blue, sound
    // green, the ring yellow): light pixels take the tint, dark ones stay.
    for (int frame : {0, 1, 3, 4, 5, 6}) {
        DecodedImage icon = FrameOf("common/icons", 2, frame);
        ASSERT_TRUE(icon.Valid());
        int opaque = 0, light = 0, dark = 0;
        for (int y = 0; y < icon.Height(); ++y)
            for (int x = 0; x < icon.Width(); ++x) {
                Rgba p = icon.At(x, y);
                if (p.a < 200) continue;
                ++opaque;
                light += std::min({p.r, p.g, p.b}) >= 190;
                dark += Luma(p) < 80;
            }
        ASSERT_GT(opaque, 0) << frame;
        EXPECT_GT(light, opaque * 3 / 10) << "icon " << frame;
        EXPECT_GT(dark, opaque / 20) << "icon " << frame;
    }
}

TEST(Sprites, SelectionMarksLeaveWhatTheySurroundVisible) {
    DecodedImage ring = FrameOf("common/icons", 2, 6);
    DecodedImage frame = FrameOf("common/Buttons", 2, 15);
    ASSERT_TRUE(ring.Valid() && frame.Valid());
    for (int y = 24; y < 40; ++y)
        for (int x = 24; x < 40; ++x) EXPECT_EQ(ring.At(x, y).a, 0);
    for (int y = 32; y < 96; ++y)
        for (int x = 32; x < 96; ++x) EXPECT_EQ(frame.At(x, y).a, 0);
}

TEST(Sprites, ModeButtonsDifferAtAGlance) {
    // Compared by the colour of their tiles, beside the hearts panel.
    std::vector<Rgba> tiles;
    for (int frame = 0; frame < 3; ++frame) {
        DecodedImage button = FrameOf("common/Buttons", 1, frame);
        ASSERT_TRUE(button.Valid());
        long r = 0, g = 0, b = 0, n = 0;
        for (int y = 16; y < 40; ++y)
            for (int x : {7, 8, 55, 56}) {
                Rgba p = button.At(x, y);
                r += p.r, g += p.g, b += p.b, ++n;
            }
        tiles.push_back({static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n), 255});
    }
    EXPECT_GT(ColourDistance(tiles[0], tiles[1]), 90);
    EXPECT_GT(ColourDistance(tiles[1], tiles[2]), 90);
    EXPECT_GT(ColourDistance(tiles[0], tiles[2]), 90);
}

TEST(CreditsCard, MiddleBandIsDarkBehindTheScrollingText) {
    for (int level : {1, 2, 4}) {
        DecodedImage card = FrameOf("common/Testcard_Circle", level, 0);
        ASSERT_TRUE(card.Valid());
        // Credits lines are drawn within about 56 pixels of the centre and
        // roughly 90 pixels to each side of it.
        double sum = 0;
        int n = 0;
        for (int y = (128 - 50) * level; y < (128 + 50) * level; ++y)
            for (int x = (128 - 90) * level; x < (128 + 90) * level; ++x) {
                Rgba p = card.At(x, y);
                sum += Luma(p) * p.a / 255.0;
                ++n;
            }
        EXPECT_LT(sum / n, 60.0) << "level " << level;
    }
}

// A pixel of the coin, which only the larger icons have room for.
bool Gold(Rgba p) { return p.a > 200 && p.r > 200 && p.g > 140 && p.b < 120; }
bool BallBlack(Rgba p) { return p.a > 200 && Luma(p) < 45; }
bool Sky(Rgba p) { return p.a > 200 && p.b > 200 && p.r < 190 && p.b > p.r + 40; }

TEST(AppIcon, EverySizeIsASquareTileWithTheBallOnSky) {
    for (int size : kIconSizes) {
        SCOPED_TRACE(size);
        DecodedImage icon = DecodedImage::Load(DataDir() + "/icon-" + std::to_string(size) + ".png");
        ASSERT_TRUE(icon.Valid());
        EXPECT_EQ(icon.Width(), size);
        EXPECT_EQ(icon.Height(), size);
        EXPECT_EQ(icon.FileChannels(), 4);
        // Rounded corners let the desktop show through.
        EXPECT_LT(icon.At(0, 0).a, 100);
        EXPECT_LT(icon.At(size - 1, size - 1).a, 100);
        int black = 0, sky = 0, gold = 0, white = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                Rgba p = icon.At(x, y);
                black += BallBlack(p);
                sky += Sky(p);
                gold += Gold(p);
                white += p.a > 200 && Luma(p) > 225;
            }
        const int area = size * size;
        EXPECT_GT(black, area / 12);
        EXPECT_GT(sky, area / 8);
        EXPECT_GT(white, 1) << "the eyes";
        if (size <= 32)
            EXPECT_EQ(gold, 0) << "small icons keep to the ball";
        else
            EXPECT_GT(gold, area / 400) << "large icons add the coin";
    }
}

TEST(PageIcon, TheMaskableIconFillsItsSquareAndKeepsThePictureInsideTheSafeZone) {
    for (const PageIcon& page : kPageIcons) {
        SCOPED_TRACE(page.file);
        DecodedImage icon = DecodedImage::Load(DataDir() + "/" + page.file);
        ASSERT_TRUE(icon.Valid());
        const int s = page.size;
        ASSERT_EQ(icon.Width(), s);
        ASSERT_EQ(icon.Height(), s);
        // A plain icon has the desktop icons' rounded corners; a maskable one is sky there.
        EXPECT_EQ(Sky(icon.At(0, 0)), page.maskable);
        EXPECT_EQ(Sky(icon.At(s - 1, s - 1)), page.maskable);
        if (!page.maskable) continue;
        // Outside the circle a round mask keeps (radius 40% of the side),
        // only sky: the ball and coin lie wholly inside it.
        int outside = 0, black = 0, gold = 0;
        for (int y = 0; y < s; ++y)
            for (int x = 0; x < s; ++x) {
                Rgba p = icon.At(x, y);
                double dx = x + 0.5 - s / 2.0, dy = y + 0.5 - s / 2.0;
                bool inCircle = dx * dx + dy * dy < 0.4 * s * 0.4 * s;
                black += BallBlack(p);
                gold += Gold(p);
                if (!inCircle && (BallBlack(p) || Gold(p))) ++outside;
            }
        EXPECT_EQ(outside, 0);
        EXPECT_GT(black, s * s / 20);
        EXPECT_GT(gold, s * s / 600);
    }
}

}  // namespace
