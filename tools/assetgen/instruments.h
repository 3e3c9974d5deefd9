// The music generator's instruments, synthesised: two drum kits of eight
// one-shot samples and three looping voices, each a file under data/inst/
// named in asset_catalogue.def.
//
// The file numbers are the voices the game asks its player for (kit A 4,
// kit B 3, lead 3, accompaniment 4; the bass is not asked for and is 0):
//   inst/d4-1.wav .. d4-8.wav  kit A: kick, snare, closed hat, open hat,
//                              clap, low tom, high tom, crash
//   inst/d3-1.wav .. d3-8.wav  kit B: rim, shaker, closed hat, open hat,
//                              tambourine, low conga, high conga, zap
//   inst/lead3.wav             bright pulse with a slow vibrato
//   inst/accompany4.wav        soft organ
//   inst/bass0.wav             round, slightly buzzy bass
// A voice sounds its note 13 at playback rate 1: the lead at 441 Hz, the
// accompaniment an octave and the bass two octaves lower (A, a few cents
// sharp, so that every period is a whole number of samples). Each voice is
// a whole number of its own periods long, so it loops without a click.
#pragma once
#include <vector>

#include "tools/assetgen/sound_catalog.h"

namespace instruments {
// Samples of one period at note 13, per voice.
constexpr int kLeadPeriod = 100;
constexpr int kAccompanimentPeriod = 200;
constexpr int kBassPeriod = 400;
// Length of every looping voice: a whole number of each voice's periods.
constexpr int kLoopSamples = 8800;

synth::Samples Lead();
synth::Samples Accompaniment();
synth::Samples Bass();
}  // namespace instruments

std::vector<SoundAsset> InstrumentCatalog();
