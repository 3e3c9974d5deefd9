// CPU cost of appending transformed textured quads to the batch, without GL.
#include <benchmark/benchmark.h>

#include <memory>

#include "graphics/primitive_batch.h"

namespace {

void BM_AppendTransformedTexturedQuad(benchmark::State& state) {
    auto batch = std::make_unique<PrimitiveBatch>();
    batch->SetMatrix(0.8660254f, -0.5f, 0.5f, 0.8660254f, 320, 240);  // 30 degrees, moved
    batch->SetColor(255, 200, 100);
    batch->SetAlpha(0.75f);
    batch->Restart(kPrimQuads);
    float x = 0;
    for (auto _ : state) {
        // A full batch is emptied as a flush would, minus the GL call.
        if (!batch->Accepts(kPrimQuads)) batch->Restart(kPrimQuads);
        batch->AddTexturedRect(x, 12, 16, 16, 0.25f, 0, 0.5f, 0.5f);
        x += 1;
    }
    benchmark::DoNotOptimize(batch->Vertices());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AppendTransformedTexturedQuad);

void BM_AppendUntransformedRect(benchmark::State& state) {
    auto batch = std::make_unique<PrimitiveBatch>();
    batch->Restart(kPrimQuads);
    float x = 0;
    for (auto _ : state) {
        if (!batch->Accepts(kPrimQuads)) batch->Restart(kPrimQuads);
        batch->AddRect(x, 12, 16, 16);
        x += 1;
    }
    benchmark::DoNotOptimize(batch->Vertices());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AppendUntransformedRect);

}  // namespace
