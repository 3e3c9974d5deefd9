// The saved record is written after every game and read at every start:
// both must stay far below a frame, and a huge damaged state file must not
// stall the start.
#include <benchmark/benchmark.h>

#include <string>

#include "game/shell/saved_record.h"

namespace {

SavedRecord Played() {
    SavedRecord r;
    r.settings[1] = 5;
    r.settings[5] = 1;
    for (int t = 0; t < SavedRecord::kModes; ++t)
        for (int i = 0; i < SavedRecord::kPlaces; ++i) {
            r.best[t][i] = 100000 - 997 * i;
            r.recent[t][i] = 1234 * i;
        }
    r.badgeWords[7] = -1;
    return r;
}

void BM_WriteRecord(benchmark::State& state) {
    SavedRecord r = Played();
    for (auto _ : state) benchmark::DoNotOptimize(WriteSavedRecord(r));
}
BENCHMARK(BM_WriteRecord);

void BM_ReadRecord(benchmark::State& state) {
    String text = WriteSavedRecord(Played());
    for (auto _ : state) benchmark::DoNotOptimize(ReadSavedRecord(text));
}
BENCHMARK(BM_ReadRecord);

// A record behind megabytes of junk: every block is found from the end.
void BM_ReadRecordBehindJunk(benchmark::State& state) {
    std::string junk;
    while (junk.size() < static_cast<size_t>(state.range(0))) junk += "123456789|";
    String text = String(junk.c_str()) + WriteSavedRecord(Played());
    for (auto _ : state) benchmark::DoNotOptimize(ReadSavedRecord(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * text.Length() * 2);
}
BENCHMARK(BM_ReadRecordBehindJunk)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
