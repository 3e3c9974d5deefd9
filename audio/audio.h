// The sound operations the game calls; each goes to the audio device.
// Before the device exists they do nothing (LoadSound gives null).
#pragma once
#include "audio/gxtk_audio.h"
#include "audio/sound.h"
#include "runtime/ref.h"

// A sound from a file under the data folder (see FixDataPath), or null when
// the file is missing or not a WAV / Ogg Vorbis file.
c_Sound* LoadSound(const String& path);
// Plays the sound's sample on the channel (flags non-zero: loop); a sound
// without a sample, or no sound, plays nothing.
int PlaySoundOnChannel(c_Sound* sound, int channel, int flags);
int PlaySound(c_Sound* sound, int channel = 0, int flags = 0);
int StopChannel(int channel);
int PauseChannel(int channel);
int ResumeChannel(int channel);
// 0 stopped, 1 playing, 2 paused.
int ChannelState(int channel);
int SetChannelVolume(int channel, float volume);
int SetChannelPan(int channel, float pan);
int SetChannelRate(int channel, float rate);
// 0, or -1 when the file cannot be loaded.
int PlayMusic(const String& path, int flags);
int StopMusic();
int PauseMusic();
int ResumeMusic();
int MusicState();
int SetMusicVolume(float volume);
