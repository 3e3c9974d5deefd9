// gxtkAudio: the OpenAL device with 33 channels (0..31 sound effects,
// 32 music). One per process, created when the game starts.
//
// - A channel's OpenAL source is made the first time the channel is used.
// - Channel state: 0 stopped, 1 playing, 2 paused by the game. A sound that
//   ends by itself is noticed lazily (ChannelState, PauseChannel).
// - Suspend pauses what is playing without touching the states; Resume
//   restarts exactly that, so sounds the game paused stay paused.
// - A sample still sounding on a channel is kept alive by Mark even when
//   the game has dropped it; once collected its buffer is deleted at the
//   next flush of the discard list.
// - Without an OpenAL device or context every channel operation does
//   nothing and loaded samples are silent; the game runs on.
// - Channel numbers outside 0..32 are ignored (state reads 0).
#pragma once
#include <AL/al.h>
#include <AL/alc.h>

#include "audio/gxtk_sample.h"
#include "runtime/object.h"
#include "runtime/ref.h"

class gxtkAudio : public Object {
public:
    static constexpr int kChannels = 33;
    static constexpr int kMusicChannel = 32;

    struct Channel {
        ALuint source = 0;  // 0 until first needed, then kept
        Ref<gxtkSample> sample;  // last started here
        int flags = 0;  // non-zero: looping
        int state = 0;  // 0 stopped, 1 playing, 2 paused
    };

    gxtkAudio();
    ~gxtkAudio() override;
    void Mark() override;

    virtual int Suspend();
    virtual int Resume();
    virtual gxtkSample* LoadSampleData(gxtkSample* sample, const String& path);
    virtual gxtkSample* LoadSample(const String& path);
    virtual int PlaySample(gxtkSample* sample, int channel, int flags);
    virtual int StopChannel(int channel);
    virtual int PauseChannel(int channel);
    virtual int ResumeChannel(int channel);
    virtual int ChannelState(int channel);
    virtual int SetVolume(int channel, float volume);
    // Pan is an angle in radians: 0 ahead, -1 / 1 about 57 degrees left / right.
    virtual int SetPan(int channel, float pan);
    virtual int SetRate(int channel, float rate);
    // 0, or -1 when the file cannot be loaded.
    virtual int PlayMusic(const String& path, int flags);
    virtual int StopMusic();
    virtual int PauseMusic();
    virtual int ResumeMusic();
    virtual int MusicState();
    virtual int SetMusicVolume(float volume);

    // Puts decoded samples (length frames of channels × format bytes) into a
    // new buffer of the sample. Layouts OpenAL cannot take give a silent
    // buffer. Returns the sample.
    gxtkSample* UploadSampleData(gxtkSample* sample, const void* data, int length, int channels, int format,
                                 int hertz);
    // Deletes the listed buffers no source holds any more.
    void FlushDiscarded();

    // Releases the sources, the context and the device; the device is
    // silent afterwards. Runs at exit for the open device, so the audio
    // library finds nothing left open when the process ends.
    void Close();

    // True when OpenAL is playing for us (device, context, made current).
    bool HasOutput() const { return context_ != nullptr; }
    const Channel& ChannelRecord(int channel) const { return channels_[channel]; }
    // Distinguishes this device's buffers from those of a closed one.
    int Generation() const { return generation_; }
    // Called when a sample is destroyed.
    void ForgetSample(gxtkSample* sample);

private:
    static bool ValidChannel(int channel) { return channel >= 0 && channel < kChannels; }
    // The channel's source, made on first use; 0 without output.
    ALuint Source(int channel);
    ALint SourceState(const Channel& c) const;
    bool Stopped(const Channel& c) const { return SourceState(c) == AL_STOPPED; }
    void DetachFinishedBuffers();

    ALCdevice* device_ = nullptr;
    ALCcontext* context_ = nullptr;
    Channel channels_[kChannels];
    int generation_ = 0;
};

// The one audio device, made when the game starts; null before. Samples
// and the exit handler reach the device through it.
extern Global<Ref<gxtkAudio>> gAudioDevice;
