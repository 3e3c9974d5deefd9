// Numbers stored as pixel colours: the word list and the map image decoded
// through the real renderer (draw into the back buffer, read back), the
// channel quantisation at its edges, and the render-time request protocol.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/drawing.h"
#include "graphics/graphics_globals.h"
#include "graphics/gxtk_graphics.h"
#include "graphics/image.h"
#include "tests/game/game_fixture.h"

namespace {

constexpr int kSize = 64;
constexpr int kWordListImage = 85;
constexpr int kMapSlot = 60;

unsigned Argb(int a, int r, int g, int b) {
    return static_cast<unsigned>(a) << 24 | static_cast<unsigned>(r) << 16 | static_cast<unsigned>(g) << 8 |
           static_cast<unsigned>(b);
}
unsigned Rgb(int r, int g, int b) { return Argb(255, r, g, b); }

// Frames of 64 x 64 side by side, made from pixel words (frame-major, rows
// top first), with the given image flags.
c_Image* MakeImage(const std::vector<std::vector<unsigned>>& frames, int flags) {
    int count = static_cast<int>(frames.size());
    gxtkSurface* surface = graphicsDevice->CreateSurface(kSize * count, kSize);
    if (!surface) return nullptr;
    Array<int> words(kSize * kSize * count);
    for (int f = 0; f < count; ++f) {
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x)
                words[y * kSize * count + f * kSize + x] = static_cast<int>(frames[f][y * kSize + x]);
        }
    }
    graphicsDevice->WritePixels(surface, words, 0, 0, kSize * count, kSize, 0, kSize * count);
    return (new c_Image())->Init(surface, count, flags);
}

std::vector<unsigned> Frame(unsigned fill) { return std::vector<unsigned>(kSize * kSize, fill); }

// Runs `body` inside a frame being rendered, as the game's render would.
template <class Body>
void InFrame(Body body) {
    gxtkGraphics* device = graphicsDevice;
    device->BeginRender();
    BeginFrameDrawing();
    body();
    EndFrameDrawing();
    device->EndRender();
}

class ImageDataTest : public GameTest {
protected:
    int Cell(int x, int y, int k) const { return App()->worldMap[(y * kSize + x) * 4 + k]; }

    void DecodeMap(const std::vector<std::vector<unsigned>>& frames, int frame, int flags = 0) {
        c_Image* image = MakeImage(frames, flags);
        ASSERT_NE(image, nullptr);
        App()->images[kMapSlot] = image;
        InFrame([&] { App()->DecodeMapImage(kMapSlot, frame); });
    }

    void DecodeWords(const std::vector<std::vector<unsigned>>& frames, int calls = 1) {
        c_Image* image = MakeImage(frames, CentreHandle);
        ASSERT_NE(image, nullptr);
        App()->images[kWordListImage] = image;
        for (int i = 0; i < calls; ++i) InFrame([&] { App()->DecodeWordList(); });
    }

    int Word(int index) const { return App()->wordList[index]; }
};

// --- Channel quantisation ---------------------------------------------------

TEST_F(ImageDataTest, QuantisationRoundsToTheNearestMultipleOfEightWith255GivingThirtyTwo) {
    // One cell per channel value, the same value in all three channels.
    // 8v - 4 .. 8v + 3 read back as v.
    const int values[] = {0, 3, 4, 11, 12, 19, 124, 251, 252, 255};
    const int expected[] = {0, 0, 1, 1, 2, 2, 16, 31, 32, 32};
    std::vector<unsigned> frame = Frame(Rgb(0, 0, 0));
    for (int i = 0; i < 10; ++i) frame[i] = Rgb(values[i], values[i], values[i]);
    DecodeMap({frame}, 1);
    for (int i = 0; i < 10; ++i) {
        for (int k = 0; k < 3; ++k) EXPECT_EQ(Cell(i, 0, k), expected[i]) << "channel value " << values[i];
    }
}

// --- Word list ----------------------------------------------------------------

TEST_F(ImageDataTest, WordListFrameOfExactChannelsDecodesToItsSixGroups) {
    // Pixel pair i of a row carries groups a..f: the right pixel the three
    // high ones (red highest), the left pixel the three low ones.
    std::vector<unsigned> frame(kSize * kSize);
    std::vector<int> expected;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize / 2; ++x) {
            int a = (x + y) % 32, b = (3 * x + 1) % 32, c = (y * 7) % 32;
            int d = (x * 5 + y) % 32, e = (31 - x) % 32, f = (x * y) % 32;
            frame[y * kSize + 2 * x + 1] = Rgb(8 * a, 8 * b, 8 * c);
            frame[y * kSize + 2 * x] = Rgb(8 * d, 8 * e, 8 * f);
            expected.push_back(a << 25 | b << 20 | c << 15 | d << 10 | e << 5 | f);
        }
    }
    DecodeWords({frame});
    ASSERT_EQ(App()->wordListSize, 2048);
    ASSERT_GE(App()->wordList.Length(), 2048);
    for (int i = 0; i < 2048; ++i) ASSERT_EQ(Word(i), expected[i]) << "value " << i;
}

TEST_F(ImageDataTest, WhiteLeftPixelCarriesIntoTheNextGroupAndBlackGivesZero) {
    std::vector<unsigned> frame = Frame(Rgb(0, 0, 0));
    frame[0] = Rgb(255, 255, 255);             // pair 0: white low pixel
    frame[3] = Rgb(255, 255, 255);             // pair 1: white high pixel
    frame[4] = Rgb(0, 0, 255);                 // pair 2: blue 32 carries into green
    DecodeWords({frame});
    EXPECT_EQ(Word(0), 32 * 1024 + 32 * 32 + 32);
    EXPECT_EQ(Word(1), (32 * 1024 + 32 * 32 + 32) * 32768);
    EXPECT_EQ(Word(2), 1 << 5) << "the same value as green 1, blue 0";
    for (int i = 3; i < 2048; ++i) ASSERT_EQ(Word(i), 0) << "value " << i;
}

TEST_F(ImageDataTest, EachCallDecodesTheNextFrameAndAppendsItsValuesGrowingTheList) {
    std::vector<std::vector<unsigned>> frames;
    for (int f = 0; f < 3; ++f) frames.push_back(Frame(Argb(255, 0, 0, 8 * (f + 1))));
    testing::internal::CaptureStdout();
    DecodeWords(frames, 4);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Loading WordList 0\nLoading WordList 1\nLoading WordList 2\nLoading WordList 3\n");
    EXPECT_EQ(App()->wordListCount, 4);
    ASSERT_EQ(App()->wordListSize, 4 * 2048);
    ASSERT_GE(App()->wordList.Length(), 4 * 2048);
    // Left and right pixel both blue f+1: (f+1) << 15 | (f+1).
    for (int f = 0; f < 3; ++f) {
        int v = (f + 1) << 15 | (f + 1);
        EXPECT_EQ(Word(f * 2048), v);
        EXPECT_EQ(Word(f * 2048 + 2047), v);
    }
    // The image has no fourth frame: nothing is drawn, the values are 0.
    EXPECT_EQ(Word(3 * 2048), 0);
    EXPECT_EQ(Word(4 * 2048 - 1), 0);
}

TEST_F(ImageDataTest, WordListWithoutItsImageAppendsZeros) {
    App()->images[kWordListImage] = nullptr;
    InFrame([&] { App()->DecodeWordList(); });
    ASSERT_EQ(App()->wordListSize, 2048);
    for (int i = 0; i < 2048; ++i) ASSERT_EQ(Word(i), 0);
}

// --- Map image ----------------------------------------------------------------

TEST_F(ImageDataTest, MapImageYieldsThePaintedValuesOfTheRequestedFrame) {
    std::vector<unsigned> first = Frame(Rgb(8, 8, 8));
    std::vector<unsigned> second(kSize * kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) second[y * kSize + x] = Rgb(8 * (x % 32), 8 * (y % 32), 8 * ((x + y) % 32));
    }
    DecodeMap({first, second}, 2);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            ASSERT_EQ(Cell(x, y, 0), x % 32) << x << "," << y;
            ASSERT_EQ(Cell(x, y, 1), y % 32) << x << "," << y;
            ASSERT_EQ(Cell(x, y, 2), (x + y) % 32) << x << "," << y;
        }
    }
}

TEST_F(ImageDataTest, TransparentPixelsReadAsZeroOverTheRedOneBackground) {
    std::vector<unsigned> frame = Frame(Argb(0, 200, 100, 50));
    frame[5 * kSize + 7] = Rgb(80, 160, 240);
    DecodeMap({frame}, 1);
    EXPECT_EQ(Cell(0, 0, 0), 0);
    EXPECT_EQ(Cell(0, 0, 1), 0);
    EXPECT_EQ(Cell(0, 0, 2), 0);
    EXPECT_EQ(Cell(63, 63, 0), 0);
    EXPECT_EQ(Cell(7, 5, 0), 10);
    EXPECT_EQ(Cell(7, 5, 1), 20);
    EXPECT_EQ(Cell(7, 5, 2), 30);
}

TEST_F(ImageDataTest, FourthIntOfEveryCellKeepsItsValue) {
    for (int i = 0; i < kSize * kSize; ++i) App()->worldMap[i * 4 + 3] = 1000 + i;
    DecodeMap({Frame(Rgb(255, 255, 255))}, 1);
    for (int i = 0; i < kSize * kSize; ++i) {
        ASSERT_EQ(App()->worldMap[i * 4 + 3], 1000 + i);
        ASSERT_EQ(App()->worldMap[i * 4], 32);
    }
}

TEST_F(ImageDataTest, CentredImageDecodesLikeOneWithItsHandleAtTheCorner) {
    std::vector<unsigned> frame(kSize * kSize);
    for (int i = 0; i < kSize * kSize; ++i) frame[i] = Rgb(8 * (i % 31), 8 * ((i / 64) % 29), 8 * (i % 7));
    DecodeMap({frame}, 1, 0);
    std::vector<int> corner(App()->worldMap.begin(), App()->worldMap.end());
    DecodeMap({frame}, 1, CentreHandle);
    std::vector<int> centred(App()->worldMap.begin(), App()->worldMap.end());
    EXPECT_EQ(corner, centred);
    EXPECT_EQ(Cell(63, 63, 0), (63 * 64 + 63) % 31);
}

TEST_F(ImageDataTest, MissingOrOutOfRangeImageGivesAnEmptyMap) {
    for (int i = 0; i < kSize * kSize * 4; ++i) App()->worldMap[i] = 7;
    App()->images[kMapSlot] = nullptr;
    InFrame([&] { App()->DecodeMapImage(kMapSlot, 1); });
    EXPECT_EQ(Cell(10, 10, 0), 0);
    EXPECT_EQ(Cell(10, 10, 3), 7);
    for (int i = 0; i < kSize * kSize * 4; ++i) App()->worldMap[i] = 7;
    InFrame([&] { App()->DecodeMapImage(100000, 1); });
    InFrame([&] { App()->DecodeMapImage(-1, 1); });
    EXPECT_EQ(Cell(20, 30, 1), 0);
}

// --- Request protocol -------------------------------------------------------------

TEST_F(ImageDataTest, RequestIsServedAtTheStartOfTheNextRenderThenCleared) {
    App()->images[kMapSlot] = MakeImage({Frame(Rgb(16, 24, 32)), Frame(Rgb(40, 48, 56))}, CentreHandle);
    App()->pendingMapImage = kMapSlot;
    App()->pendingMapFrame = 2;
    testing::internal::CaptureStdout();
    std::vector<unsigned> pixels = Game().RenderAndReadPixels();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Loading Image Data 60:2\n"), std::string::npos) << out;
    EXPECT_EQ(Cell(0, 0, 0), 5);
    EXPECT_EQ(Cell(0, 0, 1), 6);
    EXPECT_EQ(Cell(0, 0, 2), 7);
    EXPECT_EQ(App()->pendingMapImage, 0);
    EXPECT_EQ(App()->pendingMapFrame, 0);
    // The frame drawn afterwards covers the scratch drawing.
    ASSERT_FALSE(pixels.empty());
    EXPECT_NE(pixels[0] & 0xFFFFFF, Rgb(40, 48, 56) & 0xFFFFFF);
}

TEST_F(ImageDataTest, FrameZeroIsNoRequestAndAnImageAloneDoesNothing) {
    App()->images[kMapSlot] = MakeImage({Frame(Rgb(16, 24, 32))}, 0);
    for (int i = 0; i < kSize * kSize * 4; ++i) App()->worldMap[i] = 9;
    App()->pendingMapImage = kMapSlot;
    App()->pendingMapFrame = 0;
    testing::internal::CaptureStdout();
    RunFrames(2);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.find("Loading Image Data"), std::string::npos) << out;
    EXPECT_EQ(Cell(0, 0, 0), 9);
    EXPECT_EQ(App()->pendingMapImage, kMapSlot);
}

}  // namespace
