// One incremental collector step, as the host runs after every event. It
// has to fit comfortably inside a 60 Hz frame: a step marking its budget of
// 2,500 objects should take at most 100 µs.
#include <benchmark/benchmark.h>

#include <chrono>

#include "runtime/object.h"

namespace {

// A typical small game object: a few numbers, a String, two references.
class Particle : public Object {
public:
    void Mark() override {
        gc_mark(owner);
        gc_mark(frames);
    }
    float x = 0, y = 0, vx = 0, vy = 0;
    String name = String("particle");
    Ref<Object> owner;
    Array<int> frames;
};

Global<Array<Ref<Particle>>> gParticles;
Global<Ref<Object>> gOwner;

void FullCollect() {
    gc::SetForce();
    gc::CollectStep();
}

void Populate(int count) {
    gOwner = new Object();
    gParticles = Array<Ref<Particle>>(count);
    for (int i = 0; i < count; ++i) {
        auto* p = new Particle();
        p->owner = gOwner;
        gParticles[i] = p;
    }
    FullCollect();
}

// Leaves the collector empty, so the other benchmarks of this binary do not
// mark these objects after every sweep.
void Clear() {
    gParticles = Array<Ref<Particle>>();
    gOwner = nullptr;
    FullCollect();
    FullCollect();
}

// Times one step; fails the benchmark when the step did not mark the
// expected number of objects or swept, since it would measure something else.
void TimeStep(benchmark::State& state, int expectedMarks, long long& marked) {
    auto before = gc::GetStats();
    auto start = std::chrono::steady_clock::now();
    gc::CollectStep();
    auto end = std::chrono::steady_clock::now();
    auto after = gc::GetStats();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    int marks = after.markCount - before.markCount;
    if (after.sweeps != before.sweeps || marks < expectedMarks)
        state.SkipWithError("the step did not mark its budget without sweeping");
    marked += marks;
}

// Objects greyed by stores through the barrier, more than one step's budget:
// the step stops after 2,500.
void BM_CollectStepQueuedObjects(benchmark::State& state) {
    const int count = 4 * gc::kMarkBudget;
    Populate(count);
    long long marked = 0;
    for (auto _ : state) {
        FullCollect();  // everything white again; the roots are queued
        for (int i = 0; i < count; ++i) gParticles[i] = gParticles[i];
        TimeStep(state, gc::kMarkBudget, marked);
    }
    state.counters["objects/step"] =
        benchmark::Counter(static_cast<double>(marked), benchmark::Counter::kAvgIterations);
    state.SetItemsProcessed(marked);
    Clear();
}
BENCHMARK(BM_CollectStepQueuedObjects)->UseManualTime()->Unit(benchmark::kMicrosecond);

// 2,500 objects reached from one queued root array: the array's own Mark
// reaches them all within the step.
void BM_CollectStepReachedObjects(benchmark::State& state) {
    const int count = gc::kMarkBudget;
    Populate(count);
    long long marked = 0;
    for (auto _ : state) {
        FullCollect();
        TimeStep(state, count, marked);
    }
    state.counters["objects/step"] =
        benchmark::Counter(static_cast<double>(marked), benchmark::Counter::kAvgIterations);
    state.SetItemsProcessed(marked);
    Clear();
}
BENCHMARK(BM_CollectStepReachedObjects)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
