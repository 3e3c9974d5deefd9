// c_Image and c_Frame: strips, padding, handles, grabbing frames from an
// atlas and its error, the whole-surface case, and what keeps images alive.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "graphics/drawing.h"
#include "graphics/graphics_globals.h"
#include "tests/graphics/gl_test_window.h"
#include "tests/graphics/test_png.h"

namespace {

Global<Ref<c_Image>> gKeep;

// A one-frame source image of the given size with no texture (layout only).
c_Image* LayoutSource(int width, int height, int originX = 0, int originY = 0) {
    c_Image* image = new c_Image();
    image->width = width;
    image->height = height;
    image->frames = Array<Ref<c_Frame>>(1);
    image->frames[0] = new c_Frame(originX, originY);
    return image;
}

std::vector<std::pair<int, int>> FramePositions(c_Image* image) {
    std::vector<std::pair<int, int>> out;
    for (const Ref<c_Frame>& f : image->frames) out.emplace_back(f->x, f->y);
    return out;
}

TEST(ImageGrab, FramesWrapLeftToRightThenDown) {
    c_Image* source = LayoutSource(96, 64);
    c_Image* grab = source->GrabImage(0, 0, 32, 32, 5, 0);
    ASSERT_NE(grab, nullptr);
    std::vector<std::pair<int, int>> expected = {{0, 0}, {32, 0}, {64, 0}, {0, 32}, {32, 32}};
    EXPECT_EQ(FramePositions(grab), expected);
    EXPECT_EQ(grab->width, 32);
    EXPECT_EQ(grab->height, 32);
    EXPECT_EQ(grab->source.get(), source);
}

TEST(ImageGrab, OffsetsBySourceFrameAndStartPosition) {
    // A padded source: its frame 0 starts at (1, 1).
    c_Image* source = LayoutSource(30, 20, 1, 1);
    c_Image* grab = source->GrabImage(10, 0, 10, 10, 3, 0);
    std::vector<std::pair<int, int>> expected = {{11, 1}, {21, 1}, {1, 11}};
    EXPECT_EQ(FramePositions(grab), expected);
}

TEST(ImageGrab, OnlyFromASingleFrameImage) {
    c_Image* source = LayoutSource(96, 64);
    c_Image* strip = source->GrabImage(0, 0, 32, 32, 2, 0);
    EXPECT_EQ(strip->GrabImage(0, 0, 8, 8, 1, 0), nullptr);
}

void GrabTooManyFrames(int frames) {
    std::fflush(stdout);
    dup2(2, 1);  // the error banner goes to standard output
    std::freopen("/dev/null", "r", stdin);  // no debug console
    LayoutSource(96, 64)->GrabImage(0, 0, 32, 32, frames, 0);
    std::exit(0);
}

TEST(ImageGrabDeathTest, FramesOutsideTheSourceAreARuntimeError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(GrabTooManyFrames(7), ::testing::ExitedWithCode(255), "Image frame outside surface");
    EXPECT_EXIT(GrabTooManyFrames(6), ::testing::ExitedWithCode(0), "");  // exactly fills 96 x 64
}

TEST(ImageGrabDeathTest, AFrameWiderThanTheSourceIsARuntimeError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto grabWide = [] {
        dup2(2, 1);
        std::freopen("/dev/null", "r", stdin);
        LayoutSource(20, 20)->GrabImage(0, 0, 21, 5, 1, 0);
        std::exit(0);
    };
    EXPECT_EXIT(grabWide(), ::testing::ExitedWithCode(255), "Image frame outside surface");
}

TEST(ImageFlags, SetHandleClearsCentreHandle) {
    c_Image* image = LayoutSource(10, 10);
    image->flags = CentreHandle | PadY;
    image->SetHandle(3, 4);
    EXPECT_EQ(image->flags, PadY);
    EXPECT_FLOAT_EQ(image->tx, 3);
    EXPECT_FLOAT_EQ(image->ty, 4);
}

TEST(ImageFlags, PaddingShrinksEveryFrameByOnePixelEachSide) {
    c_Image* source = LayoutSource(40, 20);
    c_Image* grab = source->GrabImage(0, 0, 10, 10, 4, PadX | PadY);
    EXPECT_EQ(grab->width, 8);
    EXPECT_EQ(grab->height, 8);
    std::vector<std::pair<int, int>> expected = {{1, 1}, {11, 1}, {21, 1}, {31, 1}};
    EXPECT_EQ(FramePositions(grab), expected);
}

class Images : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_GL();
        InitGraphicsGlobals();
        graphicsDevice = new gxtkGraphics();
    }
    void TearDown() override {
        gKeep = nullptr;
        graphicsDevice = nullptr;
    }
};

TEST_F(Images, StripWith96PaddedFrames) {
    std::vector<unsigned char> px(960 * 20 * 4, 255);
    std::string path = WriteTestPng("strip.png", 960, 20, 4, px.data());
    c_Image* strip = LoadImage(String(path.c_str()), 96, PadX);
    ASSERT_NE(strip, nullptr);
    ASSERT_EQ(strip->frames.Length(), 96);
    EXPECT_EQ(strip->width, 8);
    EXPECT_EQ(strip->height, 20);
    EXPECT_EQ(strip->frames[0]->x, 1);
    EXPECT_EQ(strip->frames[95]->x, 951);
    EXPECT_EQ(strip->frames[95]->y, 0);
    EXPECT_EQ(strip->flags, PadX);
}

TEST_F(Images, CentreHandleOnAnOddSizedFrame) {
    gxtkSurface* surface = graphicsDevice->CreateSurface(15, 9);
    c_Image* image = (new c_Image())->Init(surface, 1, CentreHandle);
    EXPECT_FLOAT_EQ(image->tx, 7.5f);
    EXPECT_FLOAT_EQ(image->ty, 4.5f);
    EXPECT_EQ(image->flags & CentreHandle, 0);
    EXPECT_NE(image->flags & WholeSurface, 0);
}

TEST_F(Images, WholeSurfaceOnlyForOneUnpaddedFrameCoveringTheSurface) {
    gxtkSurface* surface = graphicsDevice->CreateSurface(16, 8);
    EXPECT_EQ((new c_Image())->Init(surface, 1, 0)->flags, WholeSurface);
    EXPECT_EQ((new c_Image())->Init(surface, 1, PadX)->flags, PadX);
    EXPECT_EQ((new c_Image())->Init(surface, 2, 0)->flags, 0);
    c_Image* atlas = (new c_Image())->Init(surface, 1, 0);
    EXPECT_EQ(atlas->GrabImage(0, 0, 16, 8, 1, 0)->flags, WholeSurface);
    EXPECT_EQ(atlas->GrabImage(0, 0, 8, 8, 1, 0)->flags, 0);
}

TEST_F(Images, LoadImageStripGrabsFromTheAtlas) {
    std::vector<unsigned char> px(96 * 64 * 4, 200);
    std::string path = WriteTestPng("atlas.png", 96, 64, 4, px.data());
    c_Image* strip = LoadImageStrip(String(path.c_str()), 32, 32, 5, CentreHandle);
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->frames.Length(), 5);
    EXPECT_EQ(strip->frames[4]->x, 32);
    EXPECT_EQ(strip->frames[4]->y, 32);
    EXPECT_FLOAT_EQ(strip->tx, 16);
    ASSERT_NE(strip->source.get(), nullptr);
    EXPECT_EQ(strip->surface.get(), strip->source->surface.get());
}

TEST_F(Images, LoadFailuresGiveNull) {
    EXPECT_EQ(LoadImage(String("/nonexistent/none.png"), 1, 0), nullptr);
    EXPECT_EQ(LoadImageStrip(String("/nonexistent/none.png"), 8, 8, 1, 0), nullptr);
    std::vector<unsigned char> px(4 * 4 * 4, 1);
    std::string path = WriteTestPng("four.png", 4, 4, 4, px.data());
    EXPECT_EQ(LoadImage(String(path.c_str()), 0, 0), nullptr);  // no division by zero
    EXPECT_EQ(LoadImage(String(path.c_str()), -3, 0), nullptr);
}

TEST_F(Images, GrabbedImageKeepsItsSourceAlive) {
    std::vector<unsigned char> px(64 * 32 * 4, 9);
    std::string path = WriteTestPng("keep.png", 64, 32, 4, px.data());
    gKeep = LoadImageStrip(String(path.c_str()), 16, 16, 3, 0);
    ASSERT_NE(gKeep.get(), nullptr);
    c_Image* source = gKeep->source;
    gxtkSurface* surface = gKeep->surface;
    gc::SetForce();
    gc::CollectStep();
    EXPECT_TRUE(gc::IsLive(source));
    EXPECT_TRUE(gc::IsLive(surface));
    EXPECT_TRUE(gc::IsLive(gKeep->frames[2].get()));
    gKeep = nullptr;
    gc::SetForce();
    gc::CollectStep();
    gc::SetForce();
    gc::CollectStep();
    EXPECT_FALSE(gc::IsLive(source));
    EXPECT_FALSE(gc::IsLive(surface));
}

TEST_F(Images, DefaultFontFromTheDataFolder) {
    std::filesystem::path old = std::filesystem::current_path();
    std::string dir = TestTempDir();
    std::filesystem::create_directories(dir + "/data");
    std::filesystem::current_path(dir);
    LoadDefaultFont();  // no file yet: no font, no crash
    EXPECT_EQ(graphicsContext->defaultFont.get(), nullptr);
    EXPECT_EQ(graphicsContext->firstChar, 32);

    std::vector<unsigned char> px(960 * 20 * 2, 255);
    std::filesystem::copy_file(WriteTestPng("font.png", 960, 20, 2, px.data()), dir + "/data/brio_font.png");
    LoadDefaultFont();
    c_Image* font = graphicsContext->defaultFont;
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(graphicsContext->font.get(), font);
    EXPECT_EQ(font->frames.Length(), 96);
    EXPECT_EQ(font->width, 8);
    LoadDefaultFont();  // an existing default font is kept
    EXPECT_EQ(graphicsContext->defaultFont.get(), font);
    std::filesystem::current_path(old);
    std::filesystem::remove_all(dir);
}

}  // namespace
