// The global drawing operations over the context: the frame bracket, lazy
// matrix hand-over, matrix composition and stack, and images drawn through
// the renderer, checked by what the renderer receives and by pixels.
#include <gtest/gtest.h>

#include <cmath>

#include "graphics/drawing.h"
#include "graphics/graphics_globals.h"
#include "tests/graphics/gl_test_window.h"
#include "tests/graphics/recording_graphics.h"

namespace {

constexpr int kRed = static_cast<int>(0xFFFF0000u);
constexpr int kBlack = static_cast<int>(0xFF000000u);

Global<Ref<c_Image>> gImage;

class Drawing : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_GL();
        InitGraphicsGlobals();
        device = new RecordingGraphics();
        graphicsDevice = device;
        ASSERT_EQ(device->BeginRender(), 1);
        BeginFrameDrawing();
        ClearScreen(0, 0, 0);
    }
    void TearDown() override {
        EndFrameDrawing();
        graphicsDevice = nullptr;
        gImage = nullptr;
    }

    // A w x h image of one colour, one frame, with the given flags.
    c_Image* SolidImage(int w, int h, unsigned word, int frames = 1, int flags = 0) {
        gxtkSurface* surface = device->CreateSurface(w, h);
        Array<int> px(w * h);
        for (int& p : px) p = static_cast<int>(word);
        device->WritePixels(surface, px, 0, 0, w, h, 0, w);
        gImage = (new c_Image())->Init(surface, frames, flags);
        return gImage;
    }

    const c_GraphicsContext& Ctx() { return *graphicsContext; }

    RecordingGraphics* device = nullptr;
};

TEST_F(Drawing, FrameBracketResetsTheContextAndRenderer) {
    SetColor(10, 20, 30);
    SetAlpha(0.25f);
    SetBlend(1);
    SetScissor(5, 5, 10, 10);
    Translate(40, 0);
    PushMatrix();
    EndFrameDrawing();
    EXPECT_EQ(renderDevice.get(), nullptr);

    BeginFrameDrawing();
    EXPECT_EQ(renderDevice.get(), device);
    EXPECT_EQ(Ctx().matrixSp, 0);
    EXPECT_FLOAT_EQ(Ctx().colorR, 255);
    EXPECT_FLOAT_EQ(Ctx().colorB, 255);
    EXPECT_FLOAT_EQ(Ctx().alpha, 1);
    EXPECT_EQ(Ctx().blend, 0);
    EXPECT_FLOAT_EQ(Ctx().scissorW, static_cast<float>(DeviceWidth()));
    EXPECT_FLOAT_EQ(Ctx().scissorH, static_cast<float>(DeviceHeight()));
    EXPECT_EQ(Ctx().tformed, 0);
    EXPECT_EQ(device->Batch().ColorWord(), 0xFFFFFFFFu);
    DrawRect(0, 0, 4, 4);
    EXPECT_EQ(PixelAt(device, 1, 1), static_cast<int>(0xFFFFFFFFu));  // unscissored, untranslated, opaque
    EXPECT_EQ(PixelAt(device, 300, 200), kBlack);
}

TEST_F(Drawing, DeviceSizeComesFromTheGraphicsDevice) {
    EXPECT_EQ(DeviceWidth(), kTestWindowWidth);
    EXPECT_EQ(DeviceHeight(), kTestWindowHeight);
}

TEST_F(Drawing, TwoSetMatrixCallsHandOnlyTheSecondToTheRenderer) {
    device->matrices.clear();
    SetMatrix(2, 0, 0, 2, 0, 0);
    SetMatrix(1, 0, 0, 1, 7, 9);
    EXPECT_TRUE(device->matrices.empty());
    DrawRect(0, 0, 1, 1);
    ASSERT_EQ(device->matrices.size(), 1u);
    std::array<float, 6> second = {1, 0, 0, 1, 7, 9};
    EXPECT_EQ(device->matrices[0], second);
    DrawLine(0, 0, 1, 1);
    EXPECT_EQ(device->matrices.size(), 1u);  // nothing new to hand over
}

TEST_F(Drawing, TransformAppliesTheNewMatrixFirst) {
    Translate(10, 20);
    Scale(2, 3);
    EXPECT_FLOAT_EQ(Ctx().ix, 2);
    EXPECT_FLOAT_EQ(Ctx().jy, 3);
    EXPECT_FLOAT_EQ(Ctx().tx, 10);
    EXPECT_FLOAT_EQ(Ctx().ty, 20);
    Translate(1, 1);  // in scaled units
    EXPECT_FLOAT_EQ(Ctx().tx, 12);
    EXPECT_FLOAT_EQ(Ctx().ty, 23);
    EXPECT_EQ(Ctx().tformed, 1);
    SetMatrix(1, 0, 0, 1, 0, 0);
    EXPECT_EQ(Ctx().tformed, 0);
}

TEST_F(Drawing, Rotate90TurnsCounterClockwiseOnScreen) {
    Rotate(90);
    EXPECT_NEAR(Ctx().ix, 0, 1e-6);
    EXPECT_FLOAT_EQ(Ctx().iy, -1);
    EXPECT_FLOAT_EQ(Ctx().jx, 1);
    EXPECT_NEAR(Ctx().jy, 0, 1e-6);
    // (10, 0) lands at about (0, -10): seen from (100, 100) it is straight up.
    SetMatrix(1, 0, 0, 1, 0, 0);
    Translate(100, 100);
    Rotate(90);
    SetColor(255, 0, 0);
    DrawRect(9, -1, 2, 2);
    EXPECT_EQ(PixelAt(device, 100, 90), kRed);
    EXPECT_EQ(PixelAt(device, 110, 100), kBlack);
}

TEST_F(Drawing, TranslateThenRotateTurnsAboutTheTranslatedPoint) {
    Translate(50, 50);
    Rotate(180);
    SetColor(255, 0, 0);
    DrawRect(0, 0, 10, 5);  // now extends left and up from (50, 50)
    EXPECT_EQ(PixelAt(device, 45, 47), kRed);
    EXPECT_EQ(PixelAt(device, 55, 52), kBlack);
}

TEST_F(Drawing, MatrixStackSavesAndRestores) {
    Translate(5, 6);
    PushMatrix();
    Scale(3, 3);
    PushMatrix();
    Rotate(45);
    PopMatrix();
    EXPECT_FLOAT_EQ(Ctx().ix, 3);
    EXPECT_FLOAT_EQ(Ctx().iy, 0);
    PopMatrix();
    EXPECT_FLOAT_EQ(Ctx().ix, 1);
    EXPECT_FLOAT_EQ(Ctx().tx, 5);
    EXPECT_EQ(Ctx().matrixSp, 0);
}

TEST_F(Drawing, MatrixStackDeeperThan32LevelsAndUnmatchedPops) {
    for (int i = 0; i < 40; ++i) {
        PushMatrix();
        Translate(1, 0);
    }
    EXPECT_FLOAT_EQ(Ctx().tx, 40);
    gc::SetForce();
    gc::CollectStep();  // the grown stack is still the context's
    for (int i = 0; i < 40; ++i) PopMatrix();
    EXPECT_FLOAT_EQ(Ctx().tx, 0);
    Translate(3, 0);
    PopMatrix();  // nothing saved: the matrix stays
    EXPECT_FLOAT_EQ(Ctx().tx, 3);
    EXPECT_EQ(Ctx().matrixSp, 0);
}

TEST_F(Drawing, EllipseIsAnOvalAroundItsCentre) {
    SetColor(255, 0, 0);
    DrawEllipse(100, 100, 20, 10);
    EXPECT_EQ(PixelAt(device, 100, 100), kRed);
    EXPECT_EQ(PixelAt(device, 82, 100), kRed);
    EXPECT_EQ(PixelAt(device, 100, 111), kBlack);
    EXPECT_EQ(device->FrameStats().vertices, 28);
}

TEST_F(Drawing, WholeSurfaceAndSubRectangleDraws) {
    c_Image* whole = SolidImage(15, 9, 0xFFFF0000u);
    DrawImage(whole, 20, 30, 0);
    ASSERT_EQ(device->surfaceDraws.size(), 1u);
    EXPECT_TRUE(device->surfaceDraws[0].whole);
    EXPECT_FLOAT_EQ(device->surfaceDraws[0].x, 20);

    c_Image* padded = (new c_Image())->Init(whole->surface, 1, PadX);
    DrawImage(padded, 20, 50, 0);
    ASSERT_EQ(device->surfaceDraws.size(), 2u);
    const RecordingGraphics::SurfaceDraw& d = device->surfaceDraws[1];
    EXPECT_FALSE(d.whole);
    EXPECT_EQ(d.srcX, 1);
    EXPECT_EQ(d.srcY, 0);
    EXPECT_EQ(d.srcWidth, 13);
    EXPECT_EQ(d.srcHeight, 9);
    EXPECT_EQ(PixelAt(device, 34, 38), kRed);
    EXPECT_EQ(PixelAt(device, 35, 38), kBlack);
    EXPECT_EQ(PixelAt(device, 32, 58), kRed);
    EXPECT_EQ(PixelAt(device, 33, 58), kBlack);
}

TEST_F(Drawing, DrawImagePlacesTheHandleAndPicksTheFrame) {
    c_Image* strip = SolidImage(40, 10, 0xFFFF0000u, 4, CentreHandle);
    DrawImage(strip, 100, 100, 2);
    ASSERT_EQ(device->surfaceDraws.size(), 1u);
    EXPECT_FLOAT_EQ(device->surfaceDraws[0].x, 95);
    EXPECT_FLOAT_EQ(device->surfaceDraws[0].y, 95);
    EXPECT_EQ(device->surfaceDraws[0].srcX, 20);
    EXPECT_EQ(PixelAt(device, 95, 95), kRed);
    EXPECT_EQ(PixelAt(device, 104, 104), kRed);
    EXPECT_EQ(PixelAt(device, 105, 104), kBlack);

    DrawImage(strip, 0, 0, 4);   // no such frame
    DrawImage(strip, 0, 0, -1);
    DrawImage(nullptr, 0, 0, 0);
    EXPECT_EQ(device->surfaceDraws.size(), 1u);
}

TEST_F(Drawing, DrawImageTransformedScalesAndRotatesAboutTheHandle) {
    c_Image* image = SolidImage(4, 2, 0xFFFF0000u, 1, CentreHandle);
    DrawImageTransformed(image, 50, 50, 0, 2, 2, 0);  // 8 x 4 centred on (50, 50)
    EXPECT_EQ(PixelAt(device, 46, 48), kRed);
    EXPECT_EQ(PixelAt(device, 53, 51), kRed);
    EXPECT_EQ(PixelAt(device, 54, 51), kBlack);
    EXPECT_EQ(PixelAt(device, 53, 52), kBlack);
    DrawImageTransformed(image, 150, 50, 90, 2, 2, 0);  // turned upright: 4 x 8
    EXPECT_EQ(PixelAt(device, 148, 46), kRed);
    EXPECT_EQ(PixelAt(device, 151, 53), kRed);
    EXPECT_EQ(PixelAt(device, 152, 50), kBlack);
    EXPECT_EQ(PixelAt(device, 150, 54), kBlack);
    // The context's matrix is back to the identity afterwards.
    EXPECT_EQ(Ctx().tformed, 0);
    EXPECT_EQ(Ctx().matrixSp, 0);
    EXPECT_TRUE(device->surfaceDraws[0].whole);
    EXPECT_FLOAT_EQ(device->surfaceDraws[0].x, 0);
}

TEST_F(Drawing, ColourAlphaBlendAndScissorReachTheRenderer) {
    SetColor(255, 0, 0);
    SetAlpha(0.5f);
    EXPECT_EQ(device->Batch().ColorWord(), PackColor(255, 0, 0, 0.5f));
    SetAlpha(1);
    SetScissor(10.9f, 10.2f, 20.7f, 20);
    DrawRect(0, 0, 100, 100);
    EXPECT_EQ(PixelAt(device, 10, 10), kRed);
    EXPECT_EQ(PixelAt(device, 29, 29), kRed);
    EXPECT_EQ(PixelAt(device, 30, 29), kBlack);
    EXPECT_EQ(PixelAt(device, 9, 10), kBlack);
    EXPECT_FLOAT_EQ(Ctx().scissorX, 10.9f);
    SetScissor(0, 0, static_cast<float>(DeviceWidth()), static_cast<float>(DeviceHeight()));
    SetBlend(1);
    DrawRect(0, 0, 5, 5);
    DrawRect(0, 0, 5, 5);
    EXPECT_EQ(PixelAt(device, 2, 2), kRed);  // additive, saturated
    EXPECT_EQ(Ctx().blend, 1);
}

TEST_F(Drawing, ReadPixelsGoesThroughTheRenderDevice) {
    SetColor(0, 255, 0);
    DrawRect(3, 4, 2, 1);
    Array<int> px(2);
    ReadPixels(px, 3, 4, 2, 1, 0, 2);
    EXPECT_EQ(px[0], static_cast<int>(0xFF00FF00u));
    EXPECT_EQ(px[1], static_cast<int>(0xFF00FF00u));
}

TEST_F(Drawing, DrawingOutsideTheFrameDoesNothing) {
    c_Image* image = SolidImage(2, 2, 0xFFFF0000u);
    EndFrameDrawing();
    int flushes = device->FrameStats().flushes;
    SetColor(255, 0, 0);
    DrawRect(0, 0, 10, 10);
    DrawLine(0, 0, 10, 10);
    DrawEllipse(5, 5, 5, 5);
    DrawImage(image, 0, 0, 0);
    DrawImageTransformed(image, 0, 0, 45, 1, 1, 0);
    ClearScreen(255, 255, 255);
    Array<int> px(1);
    ReadPixels(px, 0, 0, 1, 1, 0, 1);
    EXPECT_EQ(px[0], 0);
    EXPECT_EQ(device->Batch().Count(), 0);
    EXPECT_EQ(device->FrameStats().flushes, flushes);
    EXPECT_FLOAT_EQ(Ctx().colorR, 255);  // the context still records state
    BeginFrameDrawing();
}

}  // namespace
