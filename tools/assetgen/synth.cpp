#include "tools/assetgen/synth.h"

#include <algorithm>
#include <cmath>

namespace synth {
namespace {
constexpr double kTwoPi = 6.283185307179586;
}

std::size_t SampleCount(double seconds) { return static_cast<std::size_t>(std::lround(seconds * kHertz)); }
double TimeOf(std::size_t index) { return static_cast<double>(index) / kHertz; }

double Noise::Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / 8388608.0 - 1.0;
}

LowPass::LowPass(double cutoff) : a_(1.0 - std::exp(-kTwoPi * cutoff / kHertz)) {}
double LowPass::Step(double x) {
    y_ += a_ * (x - y_);
    return y_;
}

double Sine(double phase) { return std::sin(kTwoPi * phase); }

double SoftSquare(double phase, int harmonics) {
    double sum = 0;
    for (int k = 0; k < harmonics; ++k) {
        int n = 2 * k + 1;
        sum += Sine(phase * n) / n;
    }
    return sum * (4.0 / 3.14159265358979323846);
}

void MixInto(Samples& dst, const Samples& src, std::size_t offset, double gain) {
    if (dst.size() < offset + src.size()) dst.resize(offset + src.size(), 0.0);
    for (std::size_t i = 0; i < src.size(); ++i) dst[offset + i] += src[i] * gain;
}

void FadeEdges(Samples& s, double fadeIn, double fadeOut) {
    const std::size_t n = s.size();
    const std::size_t in = std::min(n, SampleCount(fadeIn)), out = std::min(n, SampleCount(fadeOut));
    for (std::size_t i = 0; i < in; ++i) s[i] *= 0.5 - 0.5 * std::cos(3.14159265358979323846 * i / in);
    for (std::size_t i = 0; i < out; ++i)
        s[n - 1 - i] *= 0.5 - 0.5 * std::cos(3.14159265358979323846 * i / out);
}

double Peak(const Samples& s) {
    double peak = 0;
    for (double v : s) peak = std::max(peak, std::fabs(v));
    return peak;
}

double Rms(const Samples& s) {
    if (s.empty()) return 0;
    double sum = 0;
    for (double v : s) sum += v * v;
    return std::sqrt(sum / static_cast<double>(s.size()));
}

void NormalisePeak(Samples& s, double peak) {
    double p = Peak(s);
    if (p <= 0) return;
    for (double& v : s) v *= peak / p;
}
}  // namespace synth
