// Decoding file contents into a String, as every text load does. Target:
// at least 300 MB/s for a 1 MiB UTF-8 text.
#include <benchmark/benchmark.h>

#include <string>

#include "runtime/string.h"

namespace {

constexpr std::size_t kTextBytes = 1 << 20;

// Exactly kTextBytes of UTF-8 made by repeating a sample (cut at a whole
// character, padded with ASCII).
std::string MakeText(const std::string& sample) {
    std::string text;
    while (text.size() + sample.size() <= kTextBytes) text += sample;
    text.append(kTextBytes - text.size(), 'x');
    return text;
}

// Plain ASCII: a saved-state record.
const std::string kAscii = "12|0|1|5|250|3|0|0|1|9999|42|17|0|1|0|0|2048|61|";
// Mostly ASCII with accented letters, as in credits and names.
const std::string kLatin = "Crédits: Zoë Brontë, Ångström & Müller — déjà vu, naïve café. ";
// Three-byte units throughout.
const std::string kCjk = "太陽の縁を転がる玉、光る硬貨。";

void BM_DecodeUtf8(benchmark::State& state, const std::string& sample) {
    const std::string text = MakeText(sample);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    String decoded = String::Decode(bytes, text.size());
    // A fallback to one unit per byte would mean the text was judged invalid.
    if (static_cast<std::size_t>(decoded.Length()) == text.size() && sample != kAscii)
        state.SkipWithError("text decoded as invalid UTF-8");
    for (auto _ : state) {
        String s = String::Decode(bytes, text.size());
        benchmark::DoNotOptimize(s.Data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK_CAPTURE(BM_DecodeUtf8, ascii, kAscii)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_DecodeUtf8, latin, kLatin)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_DecodeUtf8, cjk, kCjk)->Unit(benchmark::kMicrosecond);

}  // namespace
