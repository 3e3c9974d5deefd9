// The render pass: background, the fit of the virtual screen to the window,
// and the replay of the display list checked against the pixels the
// renderer really produced.
#include <cstdlib>

#include "game/game_globals.h"
#include "graphics/drawing.h"
#include "graphics/graphics_globals.h"
#include "graphics/image.h"
#include "tests/game/game_fixture.h"

namespace {

class RenderTest : public GameTest {
protected:
    // Sizes the window, lets loading finish, and stops the screens so that
    // the test alone fills the display list.
    void UseWindow(int width, int height) {
        Game().ResizeWindow(width, height);
        Game().RunFrames(1);
        Game().FinishLoading();
        App()->screen = 0;
        App()->BeginFrame(10, 20, 30, 1);
    }

    unsigned Pixel(int x, int y) const { return pixels[static_cast<size_t>(y) * Game().FrameWidth() + x]; }

    void Read() { pixels = Game().RenderAndReadPixels(); }

    // A 64 x 48 image of one colour, handle at its centre, in slot 50.
    void MakeSolidImage(unsigned colour, int width = 64, int height = 48) {
        gxtkSurface* surface = graphicsDevice->CreateSurface(width, height);
        ASSERT_NE(surface, nullptr);
        Array<int> words(width * height);
        for (int i = 0; i < width * height; ++i) words[i] = static_cast<int>(colour);
        graphicsDevice->WritePixels(surface, words, 0, 0, width, height, 0, width);
        c_Image* image = (new c_Image())->Init(surface, 1, CentreHandle);
        App()->images[50] = image;
    }

    std::vector<unsigned> pixels;
};

bool Near(unsigned pixel, int r, int g, int b, int tolerance = 2) {
    return std::abs(Red(pixel) - r) <= tolerance && std::abs(Green(pixel) - g) <= tolerance &&
           std::abs(Blue(pixel) - b) <= tolerance;
}

struct Fit {
    int width, height;
    float scale, virtualWidth, virtualHeight;
    int landscape;
};

const Fit kFits[] = {
    {640, 480, 1, 640, 480, 1},
    {1280, 960, 2, 640, 480, 1},
    {1280, 480, 2, 640, 240, 1},
    {640, 960, 2, 320, 480, 0},
};

TEST_F(RenderTest, VirtualScreenFitsTheWindow) {
    c_MyApp* app = App();
    for (const Fit& fit : kFits) {
        SCOPED_TRACE(testing::Message() << fit.width << " x " << fit.height);
        UseWindow(fit.width, fit.height);
        float s = fit.scale;
        // A red square in virtual pixels, and a green one in the bottom-right
        // corner of the virtual screen.
        app->SetDrawColor(255, 0, 0, 1);
        app->QueueRect(100, 100, 50, 50);
        app->SetDrawColor(0, 255, 0, 1);
        app->QueueRect(virtualWidth - 20, virtualHeight - 20, 20, 20);
        Read();
        EXPECT_EQ(app->pixelScaleX, s);
        EXPECT_EQ(app->pixelScaleY, s);
        EXPECT_EQ(virtualWidth, fit.virtualWidth);
        EXPECT_EQ(virtualHeight, fit.virtualHeight);
        EXPECT_EQ(app->landscape, fit.landscape);
        ASSERT_EQ(Game().FrameWidth(), fit.width);
        ASSERT_EQ(Game().FrameHeight(), fit.height);

        EXPECT_TRUE(Near(Pixel(static_cast<int>(101 * s), static_cast<int>(101 * s)), 255, 0, 0));
        EXPECT_TRUE(Near(Pixel(static_cast<int>(149 * s), static_cast<int>(149 * s)), 255, 0, 0));
        EXPECT_TRUE(Near(Pixel(static_cast<int>(151 * s), static_cast<int>(125 * s)), 10, 20, 30));
        EXPECT_TRUE(Near(Pixel(static_cast<int>(99 * s), static_cast<int>(125 * s)), 10, 20, 30));
        // The virtual screen ends exactly at the window's edges.
        EXPECT_TRUE(Near(Pixel(fit.width - 1, fit.height - 1), 0, 255, 0));
        EXPECT_TRUE(Near(Pixel(fit.width - static_cast<int>(19 * s), fit.height - static_cast<int>(19 * s)), 0, 255, 0));
        EXPECT_TRUE(Near(Pixel(fit.width - static_cast<int>(21 * s), fit.height - 1), 10, 20, 30));
        EXPECT_TRUE(Near(Pixel(0, 0), 10, 20, 30));
    }
}

TEST_F(RenderTest, HighResolutionImagesCoverTheirLogicalSize) {
    c_MyApp* app = App();
    // 640 x 480 loads level 2: a 64 x 48 texture is 32 x 24 virtual pixels.
    UseWindow(640, 480);
    ASSERT_EQ(app->hdLevel, 2);
    MakeSolidImage(0xFF00FF00u);
    app->QueueImage(50, 200, 200, 0);
    Read();
    EXPECT_TRUE(Near(Pixel(200, 200), 0, 255, 0));
    EXPECT_TRUE(Near(Pixel(185, 189), 0, 255, 0));
    EXPECT_TRUE(Near(Pixel(214, 211), 0, 255, 0));
    EXPECT_TRUE(Near(Pixel(218, 200), 10, 20, 30));
    EXPECT_TRUE(Near(Pixel(200, 214), 10, 20, 30));

    // 1280 x 960 loads level 4 at scale 2: with draw scale 2 the texture is
    // 32 x 24 virtual pixels, 64 x 48 window pixels.
    UseWindow(1280, 960);
    ASSERT_EQ(app->hdLevel, 4);
    MakeSolidImage(0xFF00FF00u);
    app->SetDrawScale(2, -3717);  // and the draw scale multiplies in
    app->QueueImage(50, 200, 200, 0);
    Read();
    EXPECT_TRUE(Near(Pixel(400, 400), 0, 255, 0));
    EXPECT_TRUE(Near(Pixel(369, 377), 0, 255, 0));
    EXPECT_TRUE(Near(Pixel(430, 423), 0, 255, 0));
    EXPECT_TRUE(Near(Pixel(434, 400), 10, 20, 30));
    EXPECT_TRUE(Near(Pixel(400, 427), 10, 20, 30));
}

TEST_F(RenderTest, RotationTurnsImagesOnly) {
    c_MyApp* app = App();
    UseWindow(640, 480);
    MakeSolidImage(0xFFFF0000u, 64, 16);  // 32 x 8 virtual
    app->SetDrawRotation(90);
    app->QueueImage(50, 300, 200, 0);
    app->SetDrawColor(0, 0, 255, 1);
    app->QueueRect(20, 20, 40, 10);  // rectangles ignore the rotation
    Read();
    EXPECT_TRUE(Near(Pixel(300, 186), 255, 0, 0));  // now tall
    EXPECT_TRUE(Near(Pixel(300, 213), 255, 0, 0));
    EXPECT_TRUE(Near(Pixel(312, 200), 10, 20, 30));
    EXPECT_TRUE(Near(Pixel(55, 25), 0, 0, 255));
    EXPECT_TRUE(Near(Pixel(25, 45), 10, 20, 30));
}

TEST_F(RenderTest, ColourAlphaBlendAndShapes) {
    c_MyApp* app = App();
    UseWindow(640, 480);
    app->BeginFrame(0, 0, 0, 1);
    app->SetDrawColor(200, 0, 0, 1);
    app->QueueRect(100, 100, 100, 100);
    app->SetDrawColor(0, 200, 0, 1);
    app->drawBlend = 3;  // additive
    app->QueueRect(150, 100, 100, 100);
    app->ResetDrawState();
    app->SetDrawColor(0, 0, 200, 0.5f);
    app->QueueEllipse(400, 300, 40, 20);
    Read();
    EXPECT_TRUE(Near(Pixel(125, 150), 200, 0, 0));
    EXPECT_TRUE(Near(Pixel(175, 150), 200, 200, 0, 3));  // added, not covered
    EXPECT_TRUE(Near(Pixel(225, 150), 0, 200, 0));
    EXPECT_TRUE(Near(Pixel(400, 300), 0, 0, 100, 3));  // half alpha over black
    EXPECT_TRUE(Near(Pixel(435, 300), 0, 0, 100, 3));
    EXPECT_TRUE(Near(Pixel(400, 325), 0, 0, 0));   // beyond the y radius
    EXPECT_TRUE(Near(Pixel(445, 300), 0, 0, 0));   // beyond the x radius
}

TEST_F(RenderTest, LineCommandsAndUnloadedSlotsReplaySafely) {
    c_MyApp* app = App();
    UseWindow(640, 480);
    app->SetDrawColor(255, 255, 0, 1);
    app->QueueRect(10, 50, 200, 0);  // becomes a line below
    app->drawList[0] = kLine;
    app->drawList[4] = 210;
    app->drawList[5] = 50;
    app->QueueImage(60, 100, 100, 0);     // empty slot
    app->QueueImage(97, 100, 100, 999);   // frame beyond the sheet
    app->QueueImage(150, 100, 100, 0);    // number beyond the slots
    Read();
    bool lineDrawn = false;
    for (int y = 48; y <= 52; ++y) lineDrawn = lineDrawn || Near(Pixel(100, y), 255, 255, 0);
    EXPECT_TRUE(lineDrawn);
    EXPECT_TRUE(Near(Pixel(100, 100), 10, 20, 30));
}

TEST_F(RenderTest, ReplayKeepsTheRenderersBatches) {
    musicEnabled = 0;  // no title song decoding in the counted frame
    c_MyApp* app = App();
    UseWindow(640, 480);
    app->SetDrawColor(255, 0, 0, 1);
    for (int i = 0; i < 200; ++i) app->QueueRect(static_cast<float>(i % 20) * 10, 0, 10, 10);
    app->drawBlend = 3;
    app->SetDrawColor(0, 0, 255, 1);
    app->QueueRect(0, 0, 10, 10);
    app->ResetDrawState();
    app->SetDrawColor(0, 255, 0, 1);
    for (int i = 0; i < 200; ++i) app->QueueRect(static_cast<float>(i % 20) * 10, 100, 10, 10);
    Read();
    // Background, the red run, the additive rectangle, the green run.
    EXPECT_LE(graphicsDevice->FrameStats().drawCalls, 4);
    EXPECT_TRUE(Near(Pixel(5, 5), 255, 0, 255));  // blue added onto red
    EXPECT_TRUE(Near(Pixel(15, 5), 255, 0, 0));
    EXPECT_TRUE(Near(Pixel(15, 105), 0, 255, 0));
}

TEST_F(RenderTest, EveryRenderReplaysTheSameList) {
    c_MyApp* app = App();
    UseWindow(640, 480);
    app->SetDrawColor(255, 0, 255, 1);
    app->QueueRect(0, 0, 10, 10);
    Read();
    std::vector<unsigned> first = pixels;
    Read();
    EXPECT_EQ(first, pixels);
    EXPECT_TRUE(Near(Pixel(5, 5), 255, 0, 255));
}

TEST_F(RenderTest, LoadingScreenShowsTheEmblemOverTheBackdrop) {
    c_MyApp* app = App();
    Game().Reset(false);
    ASSERT_TRUE(app->images[kImageMakerEmblem]);
    RunFrames(1);  // step 1 and its backdrop
    Read();
    // Background colour of the loading screen in a corner.
    EXPECT_TRUE(Near(Pixel(2, 2), 40, 40, 80));
    // The emblem is drawn at the centre: the pixels there are neither the
    // backdrop's sun nor its band alone.
    auto emblem = Game().Commands(kImageMakerEmblem);
    ASSERT_EQ(emblem.size(), 1u);
    EXPECT_NEAR(emblem[0].x, 320, 1e-3);
    EXPECT_NEAR(emblem[0].y, 480 * 0.48f, 1e-3);
    std::vector<unsigned> withEmblem = pixels;
    app->images[kImageMakerEmblem] = nullptr;
    Read();
    int changed = 0;
    for (size_t i = 0; i < pixels.size(); ++i) changed += pixels[i] != withEmblem[i];
    EXPECT_GT(changed, 1000);
}

}  // namespace
