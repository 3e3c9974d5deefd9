// Texture surfaces: creation, upload (premultiplication, power-of-two
// fallback), pixel writes, loading image files through the host, and how
// the collector treats a surface that is still waiting in the batch.
#include <GL/gl.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "graphics/gxtk_graphics.h"
#include "host/hx_glfw_game.h"
#include "tests/graphics/gl_test_window.h"
#include "tests/graphics/test_png.h"

namespace {

Global<Ref<gxtkGraphics>> gDevice;

class Surfaces : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_GL();
        gDevice = new gxtkGraphics();
        g = gDevice;
        g->BeginRender();
        g->SetScissor(0, 0, g->Width(), g->Height());
        g->SetBlend(0);
        g->Clear(0, 0, 0);
    }
    void TearDown() override { gDevice = nullptr; }

    // Writes words into a new w x h surface.
    gxtkSurface* SurfaceWith(int w, int h, const std::vector<unsigned>& words) {
        gxtkSurface* s = g->CreateSurface(w, h);
        EXPECT_NE(s, nullptr);
        Array<int> px(w * h);
        for (int i = 0; i < w * h; ++i) px[i] = static_cast<int>(words[static_cast<size_t>(i)]);
        g->WritePixels(s, px, 0, 0, w, h, 0, w);
        return s;
    }

    gxtkGraphics* g = nullptr;
};

TEST_F(Surfaces, CreateSurfaceHasDepth4AndExactTexture) {
    gxtkSurface* s = g->CreateSurface(5, 3);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Width(), 5);
    EXPECT_EQ(s->Height(), 3);
    EXPECT_EQ(s->Depth(), 4);
    EXPECT_TRUE(s->Loaded());
    EXPECT_NE(s->Texture(), 0u);
    EXPECT_FLOAT_EQ(s->UScale(), 1.0f / 5);
    EXPECT_FLOAT_EQ(s->VScale(), 1.0f / 3);
    EXPECT_EQ(g->CreateSurface(0, 3), nullptr);
    EXPECT_EQ(g->CreateSurface(3, -1), nullptr);
}

TEST_F(Surfaces, WritePixelsDrawReadPixelsRoundTrip) {
    std::vector<unsigned> words = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF,
                                   0xFF102030, 0xFF000000, 0xFFABCDEF, 0xFF7F7F7F};
    gxtkSurface* s = SurfaceWith(4, 2, words);
    g->DrawSurface(s, 30, 40);
    Array<int> back(8);
    g->ReadPixels(back, 30, 40, 4, 2, 0, 4);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(static_cast<unsigned>(back[i]), words[static_cast<size_t>(i)]) << i;
}

TEST_F(Surfaces, WritePixelsPremultipliesAndDrawBlendsOverTheFrame) {
    gxtkSurface* s = SurfaceWith(2, 1, {0x80FF0000u, 0x00FFFFFFu});
    g->Clear(0, 0, 200);
    g->DrawSurface(s, 0, 0);
    int half = PixelAt(g, 0, 0), clear = PixelAt(g, 1, 0);
    EXPECT_EQ(PixelRed(half), 128);              // 255 * 128 / 255
    EXPECT_NEAR(PixelBlue(half), 200 * 127 / 255, 1);  // the frame shows through
    EXPECT_EQ(clear, static_cast<int>(0xFF0000C8u));   // fully transparent: untouched
}

TEST_F(Surfaces, WritePixelsAtAnOffsetIntoTheTexture) {
    gxtkSurface* s = SurfaceWith(3, 3, std::vector<unsigned>(9, 0xFF000000u));
    Array<int> px(1 + 2);
    px[1] = static_cast<int>(0xFF00FF00u);
    px[2] = static_cast<int>(0xFFFF0000u);
    g->WritePixels(s, px, 1, 2, 2, 1, 1, 2);
    g->DrawSurface(s, 0, 0);
    EXPECT_EQ(PixelAt(g, 1, 2), static_cast<int>(0xFF00FF00u));
    EXPECT_EQ(PixelAt(g, 2, 2), static_cast<int>(0xFFFF0000u));
    EXPECT_EQ(PixelAt(g, 0, 2), static_cast<int>(0xFF000000u));
}

// Reads the w x h block at the frame's top-left corner, row by row.
std::vector<unsigned> FrameBlock(gxtkGraphics* g, int w, int h) {
    std::vector<unsigned> words;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) words.push_back(static_cast<unsigned>(PixelAt(g, x, y)));
    return words;
}

TEST_F(Surfaces, WritePixelsTakesRowsBottomUpWithANegativePitch) {
    gxtkSurface* s = g->CreateSurface(2, 3);
    ASSERT_NE(s, nullptr);
    Array<int> px(7);
    const unsigned words[7] = {0xFF111111u, 0xFF222222u, 0xFF333333u, 0xFF444444u,
                               0xFF555555u, 0xFF666666u, 0xFF777777u};
    for (int i = 0; i < 7; ++i) px[i] = static_cast<int>(words[i]);
    g->WritePixels(s, px, 0, 0, 2, 3, 5, -2);  // rows at 5, 3 and 1
    g->DrawSurface(s, 0, 0);
    EXPECT_EQ(FrameBlock(g, 2, 3), (std::vector<unsigned>{0xFF666666u, 0xFF777777u, 0xFF444444u,
                                                           0xFF555555u, 0xFF222222u, 0xFF333333u}));
}

TEST_F(Surfaces, WritePixelsWithAPitchShorterThanTheWidthRereadsWords) {
    gxtkSurface* s = g->CreateSurface(3, 2);
    ASSERT_NE(s, nullptr);
    Array<int> px(4);
    const unsigned words[4] = {0xFF101010u, 0xFF202020u, 0xFF303030u, 0xFF404040u};
    for (int i = 0; i < 4; ++i) px[i] = static_cast<int>(words[i]);
    g->WritePixels(s, px, 0, 0, 3, 2, 0, 1);  // rows at 0..2 and 1..3
    g->DrawSurface(s, 0, 0);
    EXPECT_EQ(FrameBlock(g, 3, 2), (std::vector<unsigned>{0xFF101010u, 0xFF202020u, 0xFF303030u,
                                                           0xFF202020u, 0xFF303030u, 0xFF404040u}));
}

TEST_F(Surfaces, WritePixelsRefusesARectangleWhoseLastRowLeavesTheArray) {
    gxtkSurface* s = SurfaceWith(2, 2, std::vector<unsigned>(4, 0xFF000000u));
    Array<int> px(4);
    for (int& p : px) p = static_cast<int>(0xFFFFFFFFu);
    g->WritePixels(s, px, 0, 0, 2, 2, 1, -2);  // the second row would start at -1
    g->WritePixels(s, px, 0, 0, 2, 2, 1, 2);   // ... or end at 5
    g->DrawSurface(s, 0, 0);
    EXPECT_EQ(FrameBlock(g, 2, 2), std::vector<unsigned>(4, 0xFF000000u));
}

TEST_F(Surfaces, DrawSurfaceRectCutsASubRectangle) {
    std::vector<unsigned> words(16);
    for (int i = 0; i < 16; ++i) words[static_cast<size_t>(i)] = 0xFF000000u | static_cast<unsigned>(i * 16);
    gxtkSurface* s = SurfaceWith(4, 4, words);
    g->DrawSurfaceRect(s, 100, 100, 1, 2, 2, 2);  // source pixels (1..2, 2..3)
    EXPECT_EQ(PixelBlue(PixelAt(g, 100, 100)), 9 * 16);
    EXPECT_EQ(PixelBlue(PixelAt(g, 101, 100)), 10 * 16);
    EXPECT_EQ(PixelBlue(PixelAt(g, 100, 101)), 13 * 16);
    EXPECT_EQ(PixelBlue(PixelAt(g, 101, 101)), 14 * 16);
    EXPECT_EQ(PixelAt(g, 102, 100), static_cast<int>(0xFF000000u));
}

TEST_F(Surfaces, TexturedQuadsUnderAMatrixAndAdditiveBlend) {
    gxtkSurface* s = SurfaceWith(2, 2, std::vector<unsigned>(4, 0xFF204060u));
    g->SetMatrix(2, 0, 0, 2, 10, 10);  // doubled, moved
    g->SetBlend(1);
    g->DrawSurface(s, 0, 0);
    g->DrawSurface(s, 0, 0);
    int p = PixelAt(g, 13, 13);
    EXPECT_EQ(PixelRed(p), 0x40);
    EXPECT_EQ(PixelGreen(p), 0x80);
    EXPECT_EQ(PixelBlue(p), 0xC0);
    EXPECT_EQ(PixelAt(g, 14, 14), static_cast<int>(0xFF000000u));
    EXPECT_EQ(PixelAt(g, 9, 9), static_cast<int>(0xFF000000u));
}

TEST_F(Surfaces, TexturedQuadsModulateByTheVertexColour) {
    gxtkSurface* s = SurfaceWith(1, 1, {0xFFFFFFFFu});
    g->SetColor(255, 0, 0);
    g->SetAlpha(0.5f);
    g->DrawSurface(s, 0, 0);
    int p = PixelAt(g, 0, 0);
    EXPECT_EQ(PixelRed(p), 127);
    EXPECT_EQ(PixelGreen(p), 0);
}

TEST_F(Surfaces, PremultiplyByDepth) {
    unsigned char grey[2] = {200, 128};
    PremultiplyPixels(grey, 1, 2);
    EXPECT_EQ(grey[0], 100);
    EXPECT_EQ(grey[1], 128);
    unsigned char rgba[8] = {255, 100, 10, 0, 255, 100, 10, 51};
    PremultiplyPixels(rgba, 2, 4);
    EXPECT_EQ(rgba[0], 0);
    EXPECT_EQ(rgba[3], 0);
    EXPECT_EQ(rgba[4], 51);
    EXPECT_EQ(rgba[5], 20);
    EXPECT_EQ(rgba[6], 2);
    unsigned char rgb[3] = {1, 2, 3};
    PremultiplyPixels(rgb, 1, 3);
    EXPECT_EQ(rgb[2], 3);
    EXPECT_EQ(NextPowerOfTwo(0), 1);
    EXPECT_EQ(NextPowerOfTwo(1), 1);
    EXPECT_EQ(NextPowerOfTwo(2), 2);
    EXPECT_EQ(NextPowerOfTwo(3), 4);
    EXPECT_EQ(NextPowerOfTwo(960), 1024);
}

TEST_F(Surfaces, LoadSurfaceDecodesEachDepthAndPremultiplies) {
    unsigned char grey[2] = {10, 250};
    unsigned char greyAlpha[4] = {200, 255, 200, 0};
    unsigned char rgb[6] = {255, 0, 0, 1, 2, 3};
    unsigned char rgba[8] = {255, 255, 255, 255, 200, 100, 50, 128};
    struct Case {
        const char* name;
        int channels;
        unsigned char* pixels;
        unsigned expected[2];
    } cases[] = {
        {"grey.png", 1, grey, {0xFF0A0A0A, 0xFFFAFAFA}},
        {"greyalpha.png", 2, greyAlpha, {0xFFC8C8C8, 0xFF000000}},
        {"rgb.png", 3, rgb, {0xFFFF0000, 0xFF010203}},
        {"rgba.png", 4, rgba, {0xFFFFFFFF, 0xFF643219}},  // 200*128/255 = 100 ...
    };
    for (const Case& c : cases) {
        std::string path = WriteTestPng(c.name, 2, 1, c.channels, c.pixels);
        gxtkSurface* s = g->LoadSurface(String(path.c_str()));
        ASSERT_NE(s, nullptr) << c.name;
        EXPECT_EQ(s->Depth(), c.channels);
        EXPECT_EQ(s->Data(), nullptr) << "pixels are freed after the upload";
        g->Clear(0, 0, 0);
        g->DrawSurface(s, 0, 0);
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(static_cast<unsigned>(PixelAt(g, i, 0)), c.expected[i]) << c.name << " pixel " << i;
    }
}

TEST_F(Surfaces, LoadSurfaceOfAMissingOrBadFileIsNull) {
    EXPECT_EQ(g->LoadSurface(String("/nonexistent/x.png")), nullptr);
    std::string bad = std::string(SOLBRIM_SOURCE_DIR) + "/fuzz/corpus/image_decoder/truncated_40.png";
    EXPECT_EQ(g->LoadSurface(String(bad.c_str())), nullptr);
    std::string wrong = std::string(SOLBRIM_SOURCE_DIR) + "/fuzz/corpus/image_decoder/jpeg_header.jpg";
    EXPECT_EQ(g->LoadSurface(String(wrong.c_str())), nullptr);
}

TEST_F(Surfaces, LoadingSetsTheCollectorsForceFlag) {
    unsigned char px[4] = {1, 2, 3, 4};
    std::string path = WriteTestPng("force.png", 1, 1, 4, px);
    gc::SetForce();
    gc::CollectStep();
    ASSERT_FALSE(gc::GetStats().forceFlag);
    ASSERT_NE(g->LoadSurface(String(path.c_str())), nullptr);
    EXPECT_TRUE(gc::GetStats().forceFlag);
}

TEST_F(Surfaces, DiscardDeletesTheTexture) {
    gxtkSurface* s = g->CreateSurface(2, 2);
    ASSERT_NE(s, nullptr);
    GLuint name = s->Texture();
    EXPECT_TRUE(glIsTexture(name));
    s->Discard();
    EXPECT_EQ(s->Texture(), 0u);
    EXPECT_FALSE(glIsTexture(name));
    EXPECT_EQ(s->Width(), 2);
}

TEST_F(Surfaces, CollectedSurfaceDeletesItsTexture) {
    GLuint name = g->CreateSurface(2, 2)->Texture();
    ASSERT_TRUE(glIsTexture(name));
    gc::SetForce();
    gc::CollectStep();
    gc::SetForce();
    gc::CollectStep();
    EXPECT_FALSE(glIsTexture(name));
}

TEST_F(Surfaces, BatchKeepsItsSurfaceAliveUntilDrawn) {
    gxtkSurface* s = SurfaceWith(1, 1, {0xFF00FF00u});
    g->DrawSurface(s, 5, 5);
    gc::SetForce();
    gc::CollectStep();
    ASSERT_TRUE(gc::IsLive(s));
    EXPECT_EQ(PixelAt(g, 5, 5), static_cast<int>(0xFF00FF00u));
}

// Mesa without non-power-of-two textures refuses a 5 x 3 texture; the
// surface falls back to 8 x 4 and still draws at 5 x 3. The extension
// override is read once per process, so this runs in a child process.
void DrawFallbackTextureAndExit() {
    if (!EnsureTestWindow()) std::_Exit(3);
    gxtkGraphics* device = new gxtkGraphics();
    device->BeginRender();
    device->SetBlend(0);
    device->Clear(0, 0, 0);
    gxtkSurface* s = device->CreateSurface(5, 3);
    if (!s) std::_Exit(4);
    if (s->TextureWidth() != 8 || s->TextureHeight() != 4) std::_Exit(5);
    Array<int> px(15);
    for (int& p : px) p = static_cast<int>(0xFFFF0000u);
    device->WritePixels(s, px, 0, 0, 5, 3, 0, 5);
    device->DrawSurface(s, 10, 10);
    Array<int> back(7 * 5);
    device->ReadPixels(back, 9, 9, 7, 5, 0, 7);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            bool inside = x >= 1 && x <= 5 && y >= 1 && y <= 3;
            if (back[y * 7 + x] != static_cast<int>(inside ? 0xFFFF0000u : 0xFF000000u)) std::_Exit(10 + y * 7 + x);
        }
    }
    std::_Exit(0);
}

TEST(SurfaceFallback, RefusedSizeRetriesAtPowersOfTwoAndDrawsAtItsOwnSize) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setenv("MESA_EXTENSION_OVERRIDE", "-GL_ARB_texture_non_power_of_two", 1);
    EXPECT_EXIT(DrawFallbackTextureAndExit(), ::testing::ExitedWithCode(0), "");
    unsetenv("MESA_EXTENSION_OVERRIDE");
}

}  // namespace
