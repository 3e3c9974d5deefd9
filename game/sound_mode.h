// The sound-mode setting (settings[kSettingSoundMode]): 0 silent, 1 sound
// effects and music, 2 sound effects only, 3 music only. The title screen and
// the pause menu change it; PlaySfx and the music generator obey it. A saved
// record can hold any int here, so every rule below takes any int safely.
#pragma once
#include "game/game_constants.h"

constexpr bool SoundEffectsOn(int mode) { return mode == 1 || mode == 2; }
constexpr bool MusicOn(int mode) { return mode == 1 || mode == 3; }

// The next of the four modes; a damaged mode below 0 also lands in 0..3.
constexpr int NextSoundMode(int mode) { return (mode % 4 + 5) % 4; }

// A click on a sound button: all four modes in turn when the music generator
// is built in; otherwise a switch between 0 and 1, where any other mode
// becomes 0.
constexpr int ClickedSoundMode(int mode, bool musicBuiltIn) {
    if (musicBuiltIn) return NextSoundMode(mode);
    return mode == 0 ? 1 : 0;
}

// The sound button's face: crossed out while silent.
constexpr int SoundButtonIcon(int mode) { return mode == 0 ? kIconSoundOff : kIconSoundOn; }
