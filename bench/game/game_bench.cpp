// The game object's per-frame costs: one update plus one render of the
// loading screen, and the replay of a full display list (2,500 commands)
// with and without the GL driver behind it.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include "bench/game/bench_game.h"
#include "graphics/drawing.h"
#include "graphics/graphics_globals.h"

namespace {

// A render device that draws nothing: what remains is the game's replay and
// the drawing layer (state, matrices), without the renderer and the driver.
class NullRenderDevice : public gxtkGraphics {
public:
    int SetAlpha(float) override { return 0; }
    int SetColor(float, float, float) override { return 0; }
    int SetBlend(int) override { return 0; }
    int SetScissor(int, int, int, int) override { return 0; }
    int SetMatrix(float, float, float, float, float, float) override { return 0; }
    int DrawRect(float, float, float, float) override { return ++draws, 0; }
    int DrawLine(float, float, float, float) override { return ++draws, 0; }
    int DrawOval(float, float, float, float) override { return ++draws, 0; }
    int DrawSurface(gxtkSurface*, float, float) override { return ++draws, 0; }
    int DrawSurfaceRect(gxtkSurface*, float, float, int, int, int, int) override { return ++draws, 0; }
    long draws = 0;
};

Global<Ref<NullRenderDevice>> gNullDevice;

// The benchmarks' game, with the null device made beside it.
c_MyApp* Game(benchmark::State& state) {
    c_MyApp* app = BenchGame(state);
    if (app && !gNullDevice) gNullDevice = new NullRenderDevice();
    return app;
}

// A play-like list, in the order a play update queues it: world tiles and
// coins, a few translucent rectangles, then text.
void FillDisplayList(c_MyApp* app) {
    app->BeginFrame(100, 180, 255, 1);
    for (int i = 0; i < 2500; ++i) {
        float x = static_cast<float>(i * 37 % 640), y = static_cast<float>(i * 53 % 480);
        if (i < 2000) {
            app->ResetDrawState();
            app->SetDrawRotation(static_cast<float>(i % 360));
            app->QueueImage(1, x, y, i % 7 == 0 ? 0 : 10 + i % 9);
        } else if (i < 2100) {
            app->SetDrawColor(255, 255, 255, 0.5f);
            app->QueueRect(x, y, 32, 32);
        } else {
            app->SetDrawScale(2, -3717);
            app->QueueImage(90, x, y, 33 + i % 60);
        }
    }
}

void BM_LoadingScreenUpdateAndRender(benchmark::State& state) {
    c_MyApp* app = Game(state);
    if (!app) return;
    FinishBenchLoading();
    for (auto _ : state) {
        state.PauseTiming();
        // Stay on the loading screen: step 4 (a small image) every time.
        app->loadStep = 4;
        state.ResumeTiming();
        BenchHost()->UpdateGame();
        BenchHost()->RenderGame();
        glFinish();
    }
    state.counters["commands"] = app->drawCount / 15;
}
BENCHMARK(BM_LoadingScreenUpdateAndRender)->Unit(benchmark::kMicrosecond);

// The same without a file: the step after the last one only queues the
// backdrop, so this is the update and render of the loading screen itself.
void BM_LoadingBackdropUpdateAndRender(benchmark::State& state) {
    c_MyApp* app = Game(state);
    if (!app) return;
    FinishBenchLoading();
    for (auto _ : state) {
        app->loadStep = 19;
        BenchHost()->UpdateGame();
        BenchHost()->RenderGame();
        glFinish();
    }
    state.counters["commands"] = app->drawCount / 15;
}
BENCHMARK(BM_LoadingBackdropUpdateAndRender)->Unit(benchmark::kMicrosecond);

void BM_LoadingScreenUpdateOnly(benchmark::State& state) {
    c_MyApp* app = Game(state);
    if (!app) return;
    for (auto _ : state) {
        app->loadStep = 20;  // past the last step: backdrop without a load
        app->OnUpdate();
    }
}
BENCHMARK(BM_LoadingScreenUpdateOnly)->Unit(benchmark::kMicrosecond);

void BM_Replay2500WithoutDriver(benchmark::State& state) {
    c_MyApp* app = Game(state);
    if (!app) return;
    FinishBenchLoading();
    FillDisplayList(app);
    gxtkGraphics* real = graphicsDevice;
    graphicsDevice->BeginRender();
    BeginFrameDrawing();
    renderDevice = gNullDevice.get();
    gNullDevice->draws = 0;
    for (auto _ : state) app->ReplayDrawList();
    state.counters["draws/replay"] =
        static_cast<double>(gNullDevice->draws) / static_cast<double>(state.iterations());
    renderDevice = real;
    EndFrameDrawing();
    real->EndRender();
}
BENCHMARK(BM_Replay2500WithoutDriver)->Unit(benchmark::kMicrosecond);

void BM_Replay2500ThroughRenderer(benchmark::State& state) {
    c_MyApp* app = Game(state);
    if (!app) return;
    FinishBenchLoading();
    FillDisplayList(app);
    for (auto _ : state) {
        graphicsDevice->BeginRender();
        BeginFrameDrawing();
        app->ReplayDrawList();
        EndFrameDrawing();
        state.PauseTiming();
        graphicsDevice->EndRender();
        glFinish();
        state.ResumeTiming();
    }
    const RenderStats& stats = graphicsDevice->LastFrameStats();
    state.counters["drawCalls"] = stats.drawCalls;
}
BENCHMARK(BM_Replay2500ThroughRenderer)->Unit(benchmark::kMicrosecond);

}  // namespace
