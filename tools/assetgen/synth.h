// Small deterministic synthesis kit for the sound effects: mono sample
// buffers in [-1, 1] at one fixed rate, oscillators, envelopes and a
// seeded noise source (no global state, so every run is identical).
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace synth {
constexpr int kHertz = 44100;
using Samples = std::vector<double>;

std::size_t SampleCount(double seconds);
double TimeOf(std::size_t index);

class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed) {}
    double Next();  // uniform in [-1, 1)
private:
    std::uint32_t state_;
};

// One-pole low-pass filter; `cutoff` in hertz.
class LowPass {
public:
    explicit LowPass(double cutoff);
    double Step(double x);
private:
    double a_;
    double y_ = 0;
};

// A square wave made only of its first few odd harmonics: bright but free
// of the aliasing hiss a naive square has. `phase` counts cycles.
double SoftSquare(double phase, int harmonics);
double Sine(double phase);

// Adds `src` into `dst` from sample `offset` on, scaled by `gain`; `dst`
// grows as needed.
void MixInto(Samples& dst, const Samples& src, std::size_t offset, double gain);
// Raised-cosine fades so a sound starts and ends at silence without a click.
void FadeEdges(Samples& s, double fadeIn, double fadeOut);
// Scales the buffer so its largest magnitude is `peak` (below full scale).
void NormalisePeak(Samples& s, double peak);
double Peak(const Samples& s);
double Rms(const Samples& s);
}  // namespace synth
