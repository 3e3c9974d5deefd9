#include "tools/assetgen/instruments.h"

#include <algorithm>
#include <cmath>

namespace instruments {
namespace {
using synth::Samples;
using synth::SampleCount;
using synth::TimeOf;

constexpr double kPi = 3.14159265358979323846;
// Drums peak below the voices: the player mixes five channels at once.
constexpr double kDrumPeak = 0.75;
constexpr double kVoicePeak = 0.6;

void FinishDrum(Samples& s, double fadeOut) {
    synth::FadeEdges(s, 0.0005, fadeOut);
    synth::NormalisePeak(s, kDrumPeak);
}

// A sine whose pitch falls from `from` to `to` hertz with time constant
// `fall`, decaying with `decay`: kicks, toms and congas.
Samples PitchedThump(double from, double to, double fall, double decay, double seconds) {
    Samples s(SampleCount(seconds));
    double phase = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = TimeOf(i);
        phase += (to + (from - to) * std::exp(-t / fall)) / synth::kHertz;
        s[i] = synth::Sine(phase) * std::exp(-t / decay);
    }
    return s;
}

// Noise through a crude band: high-passed by subtracting a low-passed copy,
// then low-passed; decaying with `decay`.
Samples NoiseBurst(std::uint32_t seed, double low, double high, double decay, double seconds) {
    Samples s(SampleCount(seconds));
    synth::Noise noise(seed);
    synth::LowPass under(low), over(high);
    for (std::size_t i = 0; i < s.size(); ++i) {
        double n = noise.Next();
        double band = over.Step(n - under.Step(n));
        s[i] = band * std::exp(-TimeOf(i) / decay);
    }
    return s;
}

Samples Kick() {
    Samples s = PitchedThump(150, 45, 0.03, 0.16, 0.45);
    synth::MixInto(s, NoiseBurst(0xB0071u, 800, 6000, 0.004, 0.02), 0, 0.4);
    for (double& v : s) v = std::tanh(1.8 * v);
    FinishDrum(s, 0.05);
    return s;
}

Samples Snare() {
    Samples s = PitchedThump(240, 180, 0.02, 0.07, 0.3);
    synth::MixInto(s, NoiseBurst(0x5A4E1u, 1200, 9000, 0.09, 0.3), 0, 1.3);
    FinishDrum(s, 0.06);
    return s;
}

Samples Hat(std::uint32_t seed, double decay, double seconds) {
    Samples s = NoiseBurst(seed, 6500, 16000, decay, seconds);
    FinishDrum(s, seconds * 0.3);
    return s;
}

Samples Clap() {
    // Three quick bursts, then a short tail.
    Samples s;
    for (int i = 0; i < 3; ++i) synth::MixInto(s, NoiseBurst(0xC1A9u + i, 900, 5000, 0.008, 0.03), SampleCount(0.011 * i), 1.0);
    synth::MixInto(s, NoiseBurst(0xC1AAAu, 900, 5000, 0.06, 0.25), SampleCount(0.033), 0.8);
    FinishDrum(s, 0.05);
    return s;
}

Samples Tom(double hertz) {
    Samples s = PitchedThump(hertz * 1.6, hertz, 0.04, 0.18, 0.5);
    synth::MixInto(s, NoiseBurst(0x70Bu, 500, 4000, 0.01, 0.04), 0, 0.3);
    FinishDrum(s, 0.08);
    return s;
}

Samples Crash() {
    Samples s = NoiseBurst(0xC4A5Au, 3000, 14000, 0.45, 1.4);
    // A little metallic ring under the wash.
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = TimeOf(i);
        s[i] += 0.08 * std::exp(-t / 0.5) * (synth::Sine(3321 * t) + synth::Sine(4707 * t));
    }
    FinishDrum(s, 0.3);
    return s;
}

Samples Rim() {
    Samples s(SampleCount(0.08));
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = TimeOf(i);
        s[i] = std::exp(-t / 0.012) * (synth::Sine(1700 * t) + 0.6 * synth::Sine(820 * t));
    }
    synth::MixInto(s, NoiseBurst(0x217u, 2000, 9000, 0.003, 0.01), 0, 0.5);
    FinishDrum(s, 0.02);
    return s;
}

Samples Shaker() {
    // Soft attack, short body: a grain rattle.
    Samples s = NoiseBurst(0x5A4Au, 4000, 12000, 0.05, 0.12);
    for (std::size_t i = 0; i < s.size(); ++i) s[i] *= std::min(1.0, TimeOf(i) / 0.015);
    FinishDrum(s, 0.03);
    return s;
}

Samples Tambourine() {
    Samples s = NoiseBurst(0x7A3Bu, 5000, 15000, 0.12, 0.35);
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = TimeOf(i);
        s[i] += 0.25 * std::exp(-t / 0.1) * synth::Sine(5400 * t) * synth::Sine(31 * t);
    }
    FinishDrum(s, 0.08);
    return s;
}

Samples Conga(double hertz) {
    Samples s = PitchedThump(hertz * 1.15, hertz, 0.01, 0.1, 0.35);
    FinishDrum(s, 0.05);
    return s;
}

Samples Zap() {
    Samples s(SampleCount(0.22));
    double phase = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = TimeOf(i);
        phase += (300 + 2200 * std::exp(-t / 0.03)) / synth::kHertz;
        s[i] = synth::SoftSquare(phase, 5) * std::exp(-t / 0.07);
    }
    FinishDrum(s, 0.04);
    return s;
}

Samples KickA() { return Kick(); }
Samples SnareA() { return Snare(); }
Samples ClosedHatA() { return Hat(0x4A7u, 0.025, 0.12); }
Samples OpenHatA() { return Hat(0x0BE4u, 0.2, 0.55); }
Samples ClapA() { return Clap(); }
Samples LowTomA() { return Tom(98); }
Samples HighTomA() { return Tom(147); }
Samples CrashA() { return Crash(); }
Samples RimB() { return Rim(); }
Samples ShakerB() { return Shaker(); }
Samples ClosedHatB() { return Hat(0x4A7Bu, 0.018, 0.09); }
Samples OpenHatB() { return Hat(0x0BEBu, 0.14, 0.4); }
Samples TambourineB() { return Tambourine(); }
Samples LowCongaB() { return Conga(196); }
Samples HighCongaB() { return Conga(294); }
Samples ZapB() { return Zap(); }

// Phase in cycles of a tone of `period` samples at sample i, with a vibrato
// of `depth` (relative) completing whole cycles over the loop, so the total
// phase over the loop stays a whole number and the loop joins smoothly.
double LoopPhase(std::size_t i, int period, double depth, int vibratoCycles) {
    double cycles = static_cast<double>(i) / period;
    if (depth == 0 || vibratoCycles == 0) return cycles;
    double loopCycles = static_cast<double>(kLoopSamples) / period;
    double w = 2 * kPi * vibratoCycles * static_cast<double>(i) / kLoopSamples;
    // Integral of (1 + depth * sin(w)): the cosine term returns to 0 at the end of the loop.
    return cycles + depth * loopCycles / (2 * kPi * vibratoCycles) * (1 - std::cos(w));
}

Samples Voice(int period, double (*wave)(double phase), double depth, int vibratoCycles) {
    Samples s(kLoopSamples);
    for (std::size_t i = 0; i < s.size(); ++i) s[i] = wave(LoopPhase(i, period, depth, vibratoCycles));
    synth::NormalisePeak(s, kVoicePeak);
    return s;
}

double PulseWave(double phase) {
    // A 30 % pulse from its first harmonics, plus a little body.
    double sum = 0;
    for (int n = 1; n <= 9; ++n) sum += std::sin(kPi * n * 0.3) / n * std::cos(2 * kPi * n * phase);
    return sum + 0.3 * synth::Sine(phase);
}

double OrganWave(double phase) {
    return synth::Sine(phase) + 0.5 * synth::Sine(2 * phase) + 0.22 * synth::Sine(3 * phase) +
           0.1 * synth::Sine(4 * phase);
}

double BassWave(double phase) { return synth::Sine(phase) + 0.35 * synth::SoftSquare(phase, 4); }

}  // namespace

Samples Lead() { return Voice(kLeadPeriod, PulseWave, 0.004, 1); }
Samples Accompaniment() { return Voice(kAccompanimentPeriod, OrganWave, 0.0, 0); }
Samples Bass() { return Voice(kBassPeriod, BassWave, 0.0, 0); }

}  // namespace instruments

std::vector<SoundAsset> InstrumentCatalog() {
    return {
#define ASSET_INSTRUMENT(file, recipe) {file, recipe},
#include "tools/assetgen/asset_catalogue.def"
    };
}
