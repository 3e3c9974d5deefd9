// Sound effects: each plays on the next of a rotating set of channels, so a
// burst of effects overlaps instead of cutting itself off.
#include "audio/audio.h"
#include "game/game_constants.h"
#include "game/my_app.h"
#include "game/sound_mode.h"

namespace {
constexpr int kSfxChannels = 24;
}  // namespace

void c_MyApp::PlaySfx(int sound, float rate, float volume, float pan) {
    if (!SoundEffectsOn(settings[kSettingSoundMode])) return;
    sfxRotor = (sfxRotor + 1) % kSfxChannels;
    if (sfxRotor < 0 || sfxRotor > 31) sfxRotor = 0;
    int channel = channelOrder[sfxRotor];
    StopChannel(channel);
    if (sound >= 0 && sound < sounds.Length() && sounds[sound]) PlaySoundOnChannel(sounds[sound], channel, 0);
    SetChannelRate(channel, rate);
    SetChannelVolume(channel, volume);
    SetChannelPan(channel, pan);
}
