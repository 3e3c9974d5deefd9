#include "audio/audio.h"

#include "host/data_path.h"

c_Sound* LoadSound(const String& path) {
    if (!gAudioDevice) return nullptr;
    gxtkSample* sample = gAudioDevice->LoadSample(FixDataPath(path));
    return sample ? new c_Sound(sample) : nullptr;
}

int PlaySoundOnChannel(c_Sound* sound, int channel, int flags) {
    if (gAudioDevice && sound && sound->sample) gAudioDevice->PlaySample(sound->sample, channel, flags);
    return 0;
}

int PlaySound(c_Sound* sound, int channel, int flags) { return PlaySoundOnChannel(sound, channel, flags); }

int StopChannel(int channel) { return gAudioDevice ? gAudioDevice->StopChannel(channel) : 0; }
int PauseChannel(int channel) { return gAudioDevice ? gAudioDevice->PauseChannel(channel) : 0; }
int ResumeChannel(int channel) { return gAudioDevice ? gAudioDevice->ResumeChannel(channel) : 0; }
int ChannelState(int channel) { return gAudioDevice ? gAudioDevice->ChannelState(channel) : 0; }
int SetChannelVolume(int channel, float volume) { return gAudioDevice ? gAudioDevice->SetVolume(channel, volume) : 0; }
int SetChannelPan(int channel, float pan) { return gAudioDevice ? gAudioDevice->SetPan(channel, pan) : 0; }
int SetChannelRate(int channel, float rate) { return gAudioDevice ? gAudioDevice->SetRate(channel, rate) : 0; }
int PlayMusic(const String& path, int flags) { return gAudioDevice ? gAudioDevice->PlayMusic(path, flags) : -1; }
int StopMusic() { return gAudioDevice ? gAudioDevice->StopMusic() : 0; }
int PauseMusic() { return gAudioDevice ? gAudioDevice->PauseMusic() : 0; }
int ResumeMusic() { return gAudioDevice ? gAudioDevice->ResumeMusic() : 0; }
int MusicState() { return gAudioDevice ? gAudioDevice->MusicState() : 0; }
int SetMusicVolume(float volume) { return gAudioDevice ? gAudioDevice->SetMusicVolume(volume) : 0; }
