// A frame of 2,500 DrawImageTransformed calls through the drawing layer and
// the renderer, drawn by the GL driver (llvmpipe under Xvfb).
#include <GL/gl.h>
#include <GLFW/glfw3.h>
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "graphics/drawing.h"
#include "graphics/graphics_globals.h"
#include "tests/graphics/gl_test_window.h"

namespace {

Global<Ref<c_Image>> gSprites;

bool PrepareDevice(benchmark::State& state) {
    if (!std::getenv("DISPLAY") || !EnsureTestWindow()) {
        state.SkipWithError("needs an X display (run under xvfb-run)");
        return false;
    }
    glfwSwapInterval(0);
    if (!graphicsContext) InitGraphicsGlobals();
    if (!graphicsDevice) graphicsDevice = new gxtkGraphics();
    return true;
}

c_Image* Sprites() {
    if (!gSprites) {
        // 16 frames of 16 x 16 in one texture, as the game's sprite strips.
        gxtkSurface* surface = graphicsDevice->CreateSurface(256, 16);
        Array<int> px(256 * 16);
        for (int i = 0; i < px.Length(); ++i) px[i] = static_cast<int>(0xFF000000u | static_cast<unsigned>(i * 2654435761u >> 8));
        graphicsDevice->WritePixels(surface, px, 0, 0, 256, 16, 0, 256);
        gSprites = (new c_Image())->Init(surface, 16, CentreHandle);
    }
    return gSprites;
}

void DrawFrame(c_Image* sprites, int calls) {
    graphicsDevice->BeginRender();
    BeginFrameDrawing();
    ClearScreen(0, 0, 40);
    for (int i = 0; i < calls; ++i) {
        float x = static_cast<float>(i * 37 % kTestWindowWidth);
        float y = static_cast<float>(i * 53 % kTestWindowHeight);
        SetAlpha(0.5f + static_cast<float>(i % 5) * 0.1f);
        DrawImageTransformed(sprites, x, y, static_cast<float>(i % 360), 1.5f, 1.5f, i % 16);
    }
    EndFrameDrawing();
    graphicsDevice->EndRender();
}

void BM_FrameOf2500DrawImageTransformed(benchmark::State& state) {
    if (!PrepareDevice(state)) return;
    c_Image* sprites = Sprites();
    for (auto _ : state) {
        DrawFrame(sprites, 2500);
        glFinish();  // count the driver's rasterisation, not just the submission
    }
    const RenderStats& stats = graphicsDevice->FrameStats();
    state.counters["drawCalls"] = stats.drawCalls;
    state.counters["vertices"] = stats.vertices;
}
BENCHMARK(BM_FrameOf2500DrawImageTransformed)->Unit(benchmark::kMillisecond);

// The same frame without waiting for the driver: the CPU side of the layer,
// the renderer and the GL submission.
void BM_FrameOf2500DrawImageTransformedSubmitOnly(benchmark::State& state) {
    if (!PrepareDevice(state)) return;
    c_Image* sprites = Sprites();
    for (auto _ : state) {
        graphicsDevice->BeginRender();
        BeginFrameDrawing();
        for (int i = 0; i < 2500; ++i)
            DrawImageTransformed(sprites, static_cast<float>(i % 300), static_cast<float>(i % 200),
                                 static_cast<float>(i), 1, 1, i % 16);
        EndFrameDrawing();
        state.PauseTiming();
        graphicsDevice->EndRender();
        glFinish();
        state.ResumeTiming();
    }
    state.counters["drawCalls"] = graphicsDevice->FrameStats().drawCalls;
}
BENCHMARK(BM_FrameOf2500DrawImageTransformedSubmitOnly)->Unit(benchmark::kMillisecond);

}  // namespace
