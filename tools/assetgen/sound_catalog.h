// The game's sound effects, synthesised: each is a file under data/ and a
// recipe that makes its samples at synth::kHertz.
#pragma once
#include <string>
#include <vector>

#include "tools/assetgen/synth.h"

struct SoundAsset {
    std::string file;         // e.g. "sfx/001.wav"
    synth::Samples (*make)();
};

std::vector<SoundAsset> SoundCatalog();

namespace sfx {
synth::Samples CoinPickup();    // 001: short, bright two-note chime
synth::Samples Hit();           // 002: dull, short thump
synth::Samples Tick();          // 095: a soft, low select tick
synth::Samples MenuClick();     // 098: very short click
synth::Samples Flourish();      // 099: a little rising bell arpeggio
}  // namespace sfx
