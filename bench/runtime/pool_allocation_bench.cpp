// Allocation and release of small collected objects. Garbage is made the way
// the game makes it: a batch of short-lived objects per event, one collector
// step after each batch; sweeps come every 4 MiB and the dead are destroyed
// lazily by later allocations of the same size, whose blocks come back from
// the pools. Target: at most 25 ns per object, allocation and release.
#include <benchmark/benchmark.h>

#include "runtime/object.h"

namespace {

template <int Bytes>
class Blob : public Object {
public:
    char payload[Bytes - sizeof(Object)] = {};
};

constexpr int kObjectsPerEvent = 1000;

void FullCollect() {
    gc::SetForce();
    gc::CollectStep();
}

template <int Bytes>
void BM_AllocateAndRelease(benchmark::State& state) {
    static_assert(sizeof(Blob<Bytes>) == Bytes);
    FullCollect();
    auto before = gc::GetStats();
    for (auto _ : state) {
        for (int i = 0; i < kObjectsPerEvent; ++i) benchmark::DoNotOptimize(new Blob<Bytes>());
        gc::CollectStep();
    }
    auto after = gc::GetStats();
    state.SetItemsProcessed(state.iterations() * kObjectsPerEvent);
    // Destroyed while timed: the share of the objects actually released by
    // the pools' path (the rest die in the final collection below).
    state.counters["released"] = benchmark::Counter(
        static_cast<double>(after.destroyed - before.destroyed) /
        static_cast<double>(state.iterations() * kObjectsPerEvent));
    FullCollect();
}
// Pooled sizes (the pools hold blocks up to 56 bytes) ...
BENCHMARK(BM_AllocateAndRelease<32>);
BENCHMARK(BM_AllocateAndRelease<40>);
BENCHMARK(BM_AllocateAndRelease<56>);
// ... and the first size that goes to the C heap, for comparison.
BENCHMARK(BM_AllocateAndRelease<64>);

}  // namespace
