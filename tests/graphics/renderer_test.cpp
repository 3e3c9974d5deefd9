// The renderer against a real GL context: pixels read back after drawing,
// and the batching rules seen through the per-frame counters.
#include <GL/gl.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "graphics/gxtk_graphics.h"
#include "tests/graphics/gl_test_window.h"

namespace {

Global<Ref<gxtkGraphics>> gDevice;

constexpr int kOpaqueBlack = static_cast<int>(0xFF000000u);
constexpr int kOpaqueRed = static_cast<int>(0xFFFF0000u);
constexpr int kOpaqueGreen = static_cast<int>(0xFF00FF00u);
constexpr int kOpaqueBlue = static_cast<int>(0xFF0000FFu);

class Renderer : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_GL();
        gDevice = new gxtkGraphics();
        g = gDevice;
        ASSERT_EQ(g->BeginRender(), 1);
        g->SetScissor(0, 0, g->Width(), g->Height());
        g->SetBlend(0);
        g->SetMatrix(1, 0, 0, 1, 0, 0);
        g->SetAlpha(1);
        g->SetColor(255, 255, 255);
        g->Clear(0, 0, 0);
    }
    void TearDown() override { gDevice = nullptr; }

    // One row three pixels wide per colour, from the top of the frame.
    void DrawRows(std::initializer_list<std::array<float, 3>> colours) {
        float y = 0;
        for (const auto& c : colours) {
            g->SetColor(c[0], c[1], c[2]);
            g->DrawRect(0, y++, 3, 1);
        }
    }

    gxtkGraphics* g = nullptr;
};

TEST_F(Renderer, DeviceSizeIsTheFramebufferSize) {
    EXPECT_EQ(g->Width(), kTestWindowWidth);
    EXPECT_EQ(g->Height(), kTestWindowHeight);
}

TEST_F(Renderer, DeviceSizeIsReadAgainAtEveryBeginRender) {
    GLFWwindow* window = glfwGetCurrentContext();
    glfwSetWindowSize(window, 200, 100);
    EXPECT_EQ(g->Width(), kTestWindowWidth);  // not before the next frame
    g->BeginRender();
    EXPECT_EQ(g->Width(), 200);
    EXPECT_EQ(g->Height(), 100);
    // The projection follows: the bottom-right pixel of the smaller window.
    g->SetScissor(0, 0, g->Width(), g->Height());
    g->Clear(0, 0, 0);
    g->SetColor(255, 0, 0);
    g->DrawRect(199, 99, 1, 1);
    EXPECT_EQ(PixelAt(g, 199, 99), kOpaqueRed);
    EXPECT_EQ(PixelAt(g, 198, 98), kOpaqueBlack);
    glfwSetWindowSize(window, kTestWindowWidth, kTestWindowHeight);
    g->BeginRender();
    EXPECT_EQ(g->Width(), kTestWindowWidth);
}

TEST_F(Renderer, RectanglesFillExactlyTheirPixels) {
    g->SetColor(255, 0, 0);
    g->DrawRect(10, 20, 30, 40);
    EXPECT_EQ(PixelAt(g, 10, 20), kOpaqueRed);
    EXPECT_EQ(PixelAt(g, 39, 59), kOpaqueRed);
    EXPECT_EQ(PixelAt(g, 9, 20), kOpaqueBlack);
    EXPECT_EQ(PixelAt(g, 40, 59), kOpaqueBlack);
    EXPECT_EQ(PixelAt(g, 10, 60), kOpaqueBlack);
    EXPECT_EQ(PixelAt(g, 10, 19), kOpaqueBlack);
}

TEST_F(Renderer, HalfAlphaRedBlendsPremultiplied) {
    g->SetColor(255, 0, 0);
    g->SetAlpha(0.5f);
    g->DrawRect(0, 0, 10, 10);
    int p = PixelAt(g, 5, 5);
    EXPECT_EQ(PixelRed(p), 127);  // 127 + 0 * (1 - 127/255)
    EXPECT_EQ(PixelGreen(p), 0);
    EXPECT_EQ(PixelAlpha(p), 255);  // 127 + 255 * (1 - 127/255), rounded
}

TEST_F(Renderer, AdditiveBlendAddsAndOtherModesActAsAlpha) {
    g->Clear(0, 0, 100);
    g->SetColor(100, 0, 0);
    g->SetBlend(1);
    g->DrawRect(0, 0, 10, 10);
    g->DrawRect(0, 0, 10, 10);
    int p = PixelAt(g, 5, 5);
    EXPECT_EQ(PixelRed(p), 200);
    EXPECT_EQ(PixelBlue(p), 100);  // opaque source, yet the destination stays

    g->SetBlend(7);  // not additive: plain premultiplied alpha
    g->SetColor(0, 50, 0);
    g->DrawRect(0, 0, 10, 10);
    p = PixelAt(g, 5, 5);
    EXPECT_EQ(PixelRed(p), 0);
    EXPECT_EQ(PixelGreen(p), 50);
    EXPECT_EQ(PixelBlue(p), 0);
}

TEST_F(Renderer, LinesAndPoints) {
    g->SetColor(0, 255, 0);
    g->DrawLine(10, 50.5f, 100, 50.5f);
    g->DrawPoint(200.5f, 70.5f);
    EXPECT_EQ(PixelGreen(PixelAt(g, 50, 50)), 255);
    EXPECT_EQ(PixelGreen(PixelAt(g, 50, 51)), 0);
    EXPECT_EQ(PixelGreen(PixelAt(g, 50, 49)), 0);
    EXPECT_EQ(PixelGreen(PixelAt(g, 200, 70)), 255);
    EXPECT_EQ(PixelGreen(PixelAt(g, 201, 70)), 0);
    EXPECT_EQ(g->FrameStats().drawCalls, 2);  // a line batch, then a point batch
}

TEST_F(Renderer, OvalsAreFilledAndDrawnAtOnce) {
    g->SetColor(0, 0, 255);
    g->DrawOval(100, 100, 40, 20);
    // Drawn immediately: no ReadPixels flush needed to count it.
    EXPECT_EQ(g->FrameStats().drawCalls, 1);
    EXPECT_EQ(g->FrameStats().vertices, 28);  // radii 20 + 10 = 30 -> 28
    EXPECT_EQ(PixelBlue(PixelAt(g, 120, 110)), 255);
    EXPECT_EQ(PixelBlue(PixelAt(g, 101, 110)), 255);
    EXPECT_EQ(PixelBlue(PixelAt(g, 102, 101)), 0);  // outside the curve, inside the box
    EXPECT_EQ(PixelBlue(PixelAt(g, 120, 121)), 0);
}

TEST_F(Renderer, OvalSegmentCounts) {
    struct Case {
        float w, h;
        int segments;
    } cases[] = {{4, 4, 12}, {30, 30, 28}, {5000, 5000, 1024}, {2, 50, 24}};
    for (const Case& c : cases) {
        int before = g->FrameStats().vertices;
        g->DrawOval(0, 0, c.w, c.h);
        EXPECT_EQ(g->FrameStats().vertices - before, c.segments) << c.w << " x " << c.h;
    }
}

TEST_F(Renderer, PolygonsBetween3And1024Vertices) {
    g->SetColor(255, 255, 0);
    Array<float> tri(6);
    float xy[] = {10, 10, 60, 10, 10, 60};
    std::memcpy(tri.begin(), xy, sizeof xy);
    g->DrawPoly(tri);
    EXPECT_EQ(g->FrameStats().drawCalls, 1);
    EXPECT_EQ(PixelAt(g, 15, 15), static_cast<int>(0xFFFFFF00u));
    EXPECT_EQ(PixelAt(g, 55, 55), kOpaqueBlack);

    Array<float> tooFew(5);  // two vertices and a stray float
    g->DrawPoly(tooFew);
    Array<float> tooMany(2050);
    g->DrawPoly(tooMany);
    g->DrawPoly(Array<float>());
    EXPECT_EQ(g->FrameStats().drawCalls, 1);
}

TEST_F(Renderer, MatrixMovesAndRotatesPrimitives) {
    g->SetColor(255, 0, 0);
    g->SetMatrix(1, 0, 0, 1, 100, 50);
    g->DrawRect(0, 0, 10, 10);
    EXPECT_EQ(PixelAt(g, 105, 55), kOpaqueRed);
    EXPECT_EQ(PixelAt(g, 5, 5), kOpaqueBlack);

    // A quarter turn about the origin, then moved: (x, y) -> (200 - y, 100 + x).
    g->SetMatrix(0, 1, -1, 0, 200, 100);
    g->DrawRect(0, 0, 30, 10);
    EXPECT_EQ(PixelAt(g, 195, 125), kOpaqueRed);
    EXPECT_EQ(PixelAt(g, 205, 125), kOpaqueBlack);
    EXPECT_EQ(PixelAt(g, 195, 135), kOpaqueBlack);
}

TEST_F(Renderer, ScissorClipsDrawsAndClears) {
    g->SetScissor(20, 30, 40, 10);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    g->Clear(255, 0, 0);
    g->SetColor(0, 255, 0);
    g->DrawRect(0, 0, 100, 35);
    EXPECT_EQ(PixelAt(g, 20, 30), static_cast<int>(0xFF00FF00u));  // top-left origin
    EXPECT_EQ(PixelAt(g, 59, 39), kOpaqueRed);
    EXPECT_EQ(PixelAt(g, 19, 30), kOpaqueBlack);
    EXPECT_EQ(PixelAt(g, 60, 39), kOpaqueBlack);
    EXPECT_EQ(PixelAt(g, 30, 40), kOpaqueBlack);
    EXPECT_EQ(PixelAt(g, 30, 29), kOpaqueBlack);

    g->SetScissor(0, 0, g->Width(), g->Height());
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    g->SetScissor(0, 0, g->Width() - 1, g->Height());
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
}

TEST_F(Renderer, ClearDropsPendingPrimitives) {
    g->SetColor(255, 0, 0);
    g->DrawRect(0, 0, 50, 50);
    g->Clear(0, 0, 255);
    EXPECT_EQ(PixelAt(g, 10, 10), static_cast<int>(0xFF0000FFu));
    EXPECT_EQ(g->FrameStats().drawCalls, 0);
}

TEST_F(Renderer, ThreeHundredRectsAreTwoDrawCalls) {
    for (int i = 0; i < 256; ++i) g->DrawRect(static_cast<float>(i), 0, 1, 1);
    EXPECT_EQ(g->FrameStats().drawCalls, 0);  // a full batch waits for one more
    g->DrawRect(0, 1, 1, 1);
    EXPECT_EQ(g->FrameStats().drawCalls, 1);
    EXPECT_EQ(g->FrameStats().vertices, 1024);
    for (int i = 257; i < 300; ++i) g->DrawRect(static_cast<float>(i % 256), 1, 1, 1);
    g->EndRender();
    EXPECT_EQ(g->FrameStats().drawCalls, 2);
    EXPECT_EQ(g->FrameStats().vertices, 1200);
    EXPECT_EQ(g->FrameStats().flushes, 2);
}

TEST_F(Renderer, ColourAndMatrixChangesDoNotBreakABatch) {
    for (int i = 0; i < 100; ++i) {
        g->SetColor(static_cast<float>(i), 0, 0);
        g->SetAlpha(0.5f);
        g->SetMatrix(1, 0, 0, 1, static_cast<float>(i), 0);
        g->DrawRect(0, 0, 1, 1);
    }
    g->EndRender();
    EXPECT_EQ(g->FrameStats().drawCalls, 1);
}

TEST_F(Renderer, AlternatingRectAndImageFlushesEveryCall) {
    gxtkSurface* surface = g->CreateSurface(4, 4);
    ASSERT_NE(surface, nullptr);
    for (int i = 0; i < 10; ++i) {
        if (i % 2) {
            g->DrawSurface(surface, 0, 0);
        } else {
            g->DrawRect(0, 0, 1, 1);
        }
        EXPECT_EQ(g->FrameStats().flushes, i);
    }
    g->EndRender();
    EXPECT_EQ(g->FrameStats().flushes, 10);
    EXPECT_EQ(g->FrameStats().drawCalls, 10);
}

TEST_F(Renderer, StateChangesFlush) {
    g->DrawRect(0, 0, 1, 1);
    g->SetBlend(1);
    EXPECT_EQ(g->FrameStats().flushes, 1);
    g->DrawRect(0, 0, 1, 1);
    g->SetScissor(1, 1, 5, 5);
    EXPECT_EQ(g->FrameStats().flushes, 2);
    g->DrawLine(0, 0, 1, 1);
    Array<int> px(1);
    g->ReadPixels(px, 0, 0, 1, 1, 0, 1);
    EXPECT_EQ(g->FrameStats().flushes, 3);
    // Nothing pending: further state changes draw nothing.
    g->SetBlend(0);
    g->ReadPixels(px, 0, 0, 1, 1, 0, 1);
    EXPECT_EQ(g->FrameStats().flushes, 3);
}

TEST_F(Renderer, BeginRenderResetsCountersAndKeepsTheLastFrame) {
    for (int i = 0; i < 3; ++i) g->DrawLine(0, 0, 1, 1);
    g->EndRender();
    ASSERT_EQ(g->FrameStats().drawCalls, 1);
    g->BeginRender();
    EXPECT_EQ(g->FrameStats().drawCalls, 0);
    EXPECT_EQ(g->FrameStats().vertices, 0);
    EXPECT_EQ(g->LastFrameStats().drawCalls, 1);
    EXPECT_EQ(g->LastFrameStats().vertices, 6);
}

TEST_F(Renderer, ReadPixelsGivesTopRowFirstAtOffsetAndPitch) {
    g->SetColor(255, 0, 0);
    g->DrawRect(0, 0, 3, 1);  // row 0 red
    g->SetColor(0, 0, 255);
    g->DrawRect(0, 1, 3, 1);  // row 1 blue
    Array<int> px(2 + 5 * 2);
    for (int& p : px) p = 7;
    g->ReadPixels(px, 0, 0, 3, 2, 2, 5);
    EXPECT_EQ(px[0], 7);
    EXPECT_EQ(px[1], 7);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(px[2 + i], kOpaqueRed) << i;
        EXPECT_EQ(px[7 + i], static_cast<int>(0xFF0000FFu)) << i;
    }
    EXPECT_EQ(px[5], 7);  // the pitch gap is left alone
    EXPECT_EQ(px[6], 7);
}

TEST_F(Renderer, ReadPixelsWithAPitchShorterThanTheWidthWritesRowsInOrder) {
    DrawRows({{255, 0, 0}, {0, 0, 255}});
    Array<int> px(5);
    for (int& p : px) p = 7;
    g->ReadPixels(px, 0, 0, 3, 2, 1, 1);  // rows at 1..3 and 2..4
    EXPECT_EQ(px[0], 7);
    EXPECT_EQ(px[1], kOpaqueRed);
    for (int i = 2; i < 5; ++i) EXPECT_EQ(px[i], kOpaqueBlue) << i;  // the later row wins
}

TEST_F(Renderer, ReadPixelsWithANegativePitchStoresRowsBottomUp) {
    DrawRows({{255, 0, 0}, {0, 0, 255}, {0, 255, 0}});
    Array<int> px(13);
    for (int& p : px) p = 7;
    g->ReadPixels(px, 0, 0, 3, 3, 9, -4);  // rows at 9, 5 and 1
    const int expected[13] = {7, kOpaqueGreen, kOpaqueGreen, kOpaqueGreen, 7, kOpaqueBlue, kOpaqueBlue,
                              kOpaqueBlue, 7, kOpaqueRed, kOpaqueRed, kOpaqueRed, 7};
    for (int i = 0; i < 13; ++i) EXPECT_EQ(px[i], expected[i]) << i;
}

TEST_F(Renderer, PixelRectanglesFitWhenTheirFirstAndLastRowsDo) {
    // pitch = width
    EXPECT_TRUE(PixelRectFits(6, 3, 2, 0, 3));
    EXPECT_FALSE(PixelRectFits(5, 3, 2, 0, 3));
    // pitch > width
    EXPECT_TRUE(PixelRectFits(12, 3, 2, 2, 5));
    EXPECT_TRUE(PixelRectFits(11, 3, 2, 3, 5));
    EXPECT_FALSE(PixelRectFits(10, 3, 2, 2, 6));
    // pitch < width: rows overlap
    EXPECT_TRUE(PixelRectFits(8, 3, 3, 1, 2));
    EXPECT_FALSE(PixelRectFits(7, 3, 3, 1, 2));
    EXPECT_TRUE(PixelRectFits(3, 3, 1000, 0, 0));
    // negative pitch: the first row is the highest
    EXPECT_TRUE(PixelRectFits(9, 3, 3, 6, -3));
    EXPECT_FALSE(PixelRectFits(9, 3, 3, 5, -3));  // last row starts at -1
    EXPECT_FALSE(PixelRectFits(9, 3, 3, 7, -3));  // first row ends past the array
    EXPECT_TRUE(PixelRectFits(10, 3, 3, 7, -3));
    // out of range however the rows lie
    EXPECT_FALSE(PixelRectFits(100, 3, 2, -1, 5));
    EXPECT_FALSE(PixelRectFits(100, 0, 2, 0, 5));
    EXPECT_FALSE(PixelRectFits(100, 3, -2, 0, 5));
    EXPECT_FALSE(PixelRectFits(1 << 30, 1 << 16, 1 << 16, 0, 1 << 16));
    EXPECT_FALSE(PixelRectFits(1 << 30, 1, 1 << 16, (1 << 30) - 1, -(1 << 16)));
    EXPECT_FALSE(PixelRectFits(INT32_MAX, 2, INT32_MAX, 0, INT32_MAX));
    EXPECT_FALSE(PixelRectFits(INT32_MAX, 2, INT32_MAX, INT32_MAX - 2, INT32_MIN));

    Array<int> px(4);
    for (int& p : px) p = 9;
    g->ReadPixels(px, 0, 0, 3, 2, 0, 3);  // needs 6
    for (int p : px) EXPECT_EQ(p, 9);
}

}  // namespace
