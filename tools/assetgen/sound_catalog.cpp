#include "tools/assetgen/sound_catalog.h"

#include <algorithm>
#include <cmath>

namespace sfx {
namespace {
using synth::Samples;
using synth::SampleCount;
using synth::TimeOf;

// Every effect peaks at the same level, well below full scale, so the
// game's volume settings (and rates up to 1.2) never clip.
constexpr double kPeak = 0.7;

void Finish(Samples& s, double fadeIn, double fadeOut) {
    synth::FadeEdges(s, fadeIn, fadeOut);
    synth::NormalisePeak(s, kPeak);
}

// A bell-like tone: a sine with two quieter, slightly inharmonic partials.
Samples Bell(double hertz, double seconds, double decay) {
    Samples s(SampleCount(seconds));
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = TimeOf(i);
        double attack = std::min(1.0, t / 0.003);
        s[i] = attack * std::exp(-t / decay) *
               (synth::Sine(hertz * t) + 0.35 * synth::Sine(2.01 * hertz * t) * std::exp(-t / (decay * 0.5)) +
                0.12 * synth::Sine(3.98 * hertz * t) * std::exp(-t / (decay * 0.3)));
    }
    synth::FadeEdges(s, 0, 0.04);  // no step where a note's buffer ends
    return s;
}
}  // namespace

Samples CoinPickup() {
    // B5 then E6, a rising fourth; the second note rings out.
    const double split = 0.065, total = 0.42;
    Samples s(SampleCount(total));
    double phase = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = TimeOf(i);
        // A 3 ms glide between the notes keeps the change free of a click.
        double glide = std::clamp((t - split) / 0.003, 0.0, 1.0);
        double hertz = 987.77 + (1318.51 - 987.77) * glide * glide * (3 - 2 * glide);
        phase += hertz / synth::kHertz;
        // One continuous envelope: a step in level at the change of note
        // would click.
        double amp = 0.8 * (t < split ? 1.0 : std::exp(-(t - split) / 0.11));
        s[i] = amp * (0.65 * synth::SoftSquare(phase, 4) + 0.35 * synth::Sine(phase));
    }
    Finish(s, 0.002, 0.03);
    return s;
}

Samples Hit() {
    // A falling low sine for the body, a short burst of muffled noise for
    // the contact, gently saturated.
    Samples s(SampleCount(0.32));
    synth::Noise noise(0x5017B81u);
    synth::LowPass muffle(500), muffleMore(500);  // two poles: a thud, not a hiss
    double phase = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = TimeOf(i);
        phase += (42 + 120 * std::exp(-t / 0.045)) / synth::kHertz;
        double body = synth::Sine(phase) * std::exp(-t / 0.085);
        double thud = muffleMore.Step(muffle.Step(noise.Next())) * std::exp(-t / 0.03) * 4.0;
        s[i] = std::tanh(1.2 * (0.9 * body + 0.6 * thud)) / std::tanh(1.2);
    }
    Finish(s, 0.0015, 0.06);
    return s;
}

Samples Tick() {
    Samples s(SampleCount(0.08));
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = TimeOf(i);
        s[i] = std::exp(-t / 0.014) * (synth::Sine(1320 * t) + 0.5 * synth::Sine(660 * t));
    }
    Finish(s, 0.001, 0.02);
    return s;
}

Samples MenuClick() {
    // A quick downward blip with a hint of noise on its front edge.
    Samples s(SampleCount(0.05));
    synth::Noise noise(0xC11C4u);
    synth::LowPass soften(6000);
    double phase = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = TimeOf(i);
        phase += (900 + 900 * std::exp(-t / 0.008)) / synth::kHertz;
        s[i] = std::exp(-t / 0.011) * synth::Sine(phase) + 0.3 * soften.Step(noise.Next()) * std::exp(-t / 0.0025);
    }
    Finish(s, 0.0012, 0.012);
    return s;
}

Samples Flourish() {
    // C6 E6 G6 C7, 70 ms apart, the last one left to ring.
    const double notes[] = {1046.5, 1318.51, 1567.98, 2093.0};
    Samples s;
    for (int i = 0; i < 4; ++i) {
        bool last = i == 3;
        synth::MixInto(s, Bell(notes[i], last ? 0.62 : 0.45, last ? 0.18 : 0.11), SampleCount(0.07 * i),
                       last ? 0.8 : 0.6);
    }
    Finish(s, 0.002, 0.12);
    return s;
}
}  // namespace sfx

std::vector<SoundAsset> SoundCatalog() {
    return {
#define ASSET_SOUND(file, recipe) {file, recipe},
#include "tools/assetgen/asset_catalogue.def"
    };
}
