#include "audio/gxtk_audio.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "audio/discarded_buffers.h"
#include "codec/audio_decoder.h"
#include "host/asset_failures.h"
#include "host/hx_game.h"
#include "runtime/gc.h"

namespace {

int gGenerations = 0;

// OpenAL formats by bytes per sample (1, 2) and channel count (1, 2).
ALenum AlFormat(int format, int channels) {
    static const ALenum kFormats[2][2] = {{AL_FORMAT_MONO8, AL_FORMAT_STEREO8},
                                          {AL_FORMAT_MONO16, AL_FORMAT_STEREO16}};
    if (format < 1 || format > 2 || channels < 1 || channels > 2) return 0;
    return kFormats[format - 1][channels - 1];
}

void CloseDeviceAtExit() {
    if (gAudioDevice) gAudioDevice->Close();
}

}  // namespace

Global<Ref<gxtkAudio>> gAudioDevice;

gxtkAudio::gxtkAudio() : generation_(++gGenerations) {
    static const bool closesAtExit = std::atexit(CloseDeviceAtExit) == 0;
    (void)closesAtExit;
    device_ = alcOpenDevice(nullptr);
    if (!device_) {
        Print(String("OpenAl error: alcOpenDevice failed"));
    } else if (!(context_ = alcCreateContext(device_, nullptr))) {
        Print(String("OpenAl error: alcCreateContext failed"));
    } else if (!alcMakeContextCurrent(context_)) {
        Print(String("OpenAl error: alcMakeContextCurrent failed"));
        alcDestroyContext(context_);
        context_ = nullptr;
    }
    // Position gives direction only; distance never changes loudness.
    if (context_) alDistanceModel(AL_NONE);
    // Buffers listed by an earlier device die with it.
    DiscardedBuffers().clear();
}

// Only reached when the device itself is collected (tests; the game keeps
// its device for the whole run and closes it at exit).
gxtkAudio::~gxtkAudio() {
    // With no device in use the listed buffers can only be this one's.
    if (!gAudioDevice) DiscardedBuffers().clear();
    Close();
}

void gxtkAudio::Close() {
    if (context_) {
        ALCcontext* previous = alcGetCurrentContext();
        alcMakeContextCurrent(context_);
        for (Channel& c : channels_) {
            if (c.source) alDeleteSources(1, &c.source);
            c.source = 0;
            c.state = 0;
        }
        alcMakeContextCurrent(previous == context_ ? nullptr : previous);
        alcDestroyContext(context_);
        context_ = nullptr;
    }
    if (device_) alcCloseDevice(device_);
    device_ = nullptr;
}

void gxtkAudio::Mark() {
    for (Channel& c : channels_) {
        if (c.state != 0 && !Stopped(c)) gc_mark(c.sample);
    }
}

void gxtkAudio::ForgetSample(gxtkSample* sample) {
    for (Channel& c : channels_) {
        if (c.sample.get() == sample) c.sample = nullptr;
    }
}

ALuint gxtkAudio::Source(int channel) {
    Channel& c = channels_[channel];
    if (c.source == 0 && HasOutput()) {
        alGetError();
        ALuint source = 0;
        alGenSources(1, &source);
        if (alGetError() == AL_NO_ERROR) c.source = source;
    }
    return c.source;
}

ALint gxtkAudio::SourceState(const Channel& c) const {
    ALint state = AL_INITIAL;
    if (c.source != 0) alGetSourcei(c.source, AL_SOURCE_STATE, &state);
    return state;
}

// ---- device suspension ----------------------------------------------------

int gxtkAudio::Suspend() {
    for (Channel& c : channels_) {
        if (c.state == 1 && SourceState(c) == AL_PLAYING) alSourcePause(c.source);
    }
    return 0;
}

int gxtkAudio::Resume() {
    for (Channel& c : channels_) {
        if (c.state == 1 && SourceState(c) == AL_PAUSED) alSourcePlay(c.source);
    }
    return 0;
}

// ---- samples --------------------------------------------------------------

gxtkSample* gxtkAudio::LoadSample(const String& path) {
    FlushDiscarded();
    return LoadSampleData(new gxtkSample(), path);
}

gxtkSample* gxtkAudio::LoadSampleData(gxtkSample* sample, const String& path) {
    HxGame* host = HxGame::Current();
    if (!sample || !host) return nullptr;
    FILE* file = host->OpenAsset(path);
    if (!file) return nullptr;
    int length = 0, channels = 0, format = 0, hertz = 0;
    const char* reason = nullptr;
    unsigned char* data = DecodeAudioFile(file, path, &length, &channels, &format, &hertz, &reason);
    std::fclose(file);
    // A whole sound was just allocated: the next collector step is a full one.
    gc::SetForce();
    if (!data) {
        ReportAssetFailure(path, reason);
        return nullptr;
    }
    UploadSampleData(sample, data, length, channels, format, hertz);
    std::free(data);
    return sample;
}

gxtkSample* gxtkAudio::UploadSampleData(gxtkSample* sample, const void* data, int length, int channels,
                                        int format, int hertz) {
    sample->Discard();
    if (!HasOutput()) return sample;
    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR) return sample;
    ALenum alFormat = AlFormat(format, channels);
    std::int64_t bytes = static_cast<std::int64_t>(length) * channels * format;
    // An unknown layout leaves the buffer empty: the sample plays silence.
    if (alFormat != 0 && length >= 0 && bytes <= INT_MAX) {
        alBufferData(buffer, alFormat, data, static_cast<ALsizei>(bytes), hertz);
    }
    // A refused rate or size must not be mistaken later for a failed delete.
    alGetError();
    sample->buffer = buffer;
    sample->deviceGeneration = generation_;
    return sample;
}

// A buffer can only be deleted once no source holds it; sources that have
// finished let theirs go first. Buffers still held stay listed for later.
void gxtkAudio::FlushDiscarded() {
    std::vector<unsigned int>& listed = DiscardedBuffers();
    if (listed.empty() || !HasOutput()) return;
    DetachFinishedBuffers();
    std::vector<unsigned int> kept;
    for (ALuint buffer : listed) {
        alGetError();
        alDeleteBuffers(1, &buffer);
        if (alGetError() != AL_NO_ERROR) kept.push_back(buffer);
    }
    listed.swap(kept);
}

// Also channels the game stopped: their source still names the last buffer.
void gxtkAudio::DetachFinishedBuffers() {
    for (Channel& c : channels_) {
        ALint state = SourceState(c);
        if (c.source != 0 && (state == AL_STOPPED || state == AL_INITIAL)) alSourcei(c.source, AL_BUFFER, 0);
    }
}

// ---- channels -------------------------------------------------------------

int gxtkAudio::PlaySample(gxtkSample* sample, int channel, int flags) {
    if (!sample || !ValidChannel(channel) || !HasOutput()) return 0;
    FlushDiscarded();
    ALuint source = Source(channel);
    if (source == 0) return 0;
    ALuint buffer = sample->deviceGeneration == generation_ ? sample->buffer : 0;
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    alSourcei(source, AL_LOOPING, flags != 0 ? AL_TRUE : AL_FALSE);
    alSourcePlay(source);
    Channel& c = channels_[channel];
    c.sample = sample;
    c.flags = flags;
    c.state = 1;
    return 0;
}

int gxtkAudio::StopChannel(int channel) {
    if (!ValidChannel(channel)) return 0;
    Channel& c = channels_[channel];
    if (c.state != 0) {
        alSourceStop(c.source);
        c.state = 0;
    }
    return 0;
}

int gxtkAudio::PauseChannel(int channel) {
    if (!ValidChannel(channel)) return 0;
    Channel& c = channels_[channel];
    if (c.state != 1) return 0;
    if (Stopped(c)) {
        c.state = 0;  // it had ended: nothing to pause, nothing to resume
    } else {
        alSourcePause(c.source);
        c.state = 2;
    }
    return 0;
}

int gxtkAudio::ResumeChannel(int channel) {
    if (!ValidChannel(channel)) return 0;
    Channel& c = channels_[channel];
    if (c.state == 2) {
        alSourcePlay(c.source);
        c.state = 1;
    }
    return 0;
}

int gxtkAudio::ChannelState(int channel) {
    if (!ValidChannel(channel)) return 0;
    Channel& c = channels_[channel];
    if (c.state == 1 && Stopped(c)) c.state = 0;
    return c.state;
}

int gxtkAudio::SetVolume(int channel, float volume) {
    if (!ValidChannel(channel)) return 0;
    if (ALuint source = Source(channel)) alSourcef(source, AL_GAIN, volume);
    return 0;
}

int gxtkAudio::SetPan(int channel, float pan) {
    if (!ValidChannel(channel)) return 0;
    if (ALuint source = Source(channel)) alSource3f(source, AL_POSITION, std::sin(pan), 0.0f, -std::cos(pan));
    return 0;
}

int gxtkAudio::SetRate(int channel, float rate) {
    if (!ValidChannel(channel)) return 0;
    if (ALuint source = Source(channel)) alSourcef(source, AL_PITCH, rate);
    return 0;
}

// ---- music ----------------------------------------------------------------

int gxtkAudio::PlayMusic(const String& path, int flags) {
    StopMusic();
    gxtkSample* sample = LoadSample(path);
    if (!sample) return -1;
    PlaySample(sample, kMusicChannel, flags);
    return 0;
}

int gxtkAudio::StopMusic() { return StopChannel(kMusicChannel); }
int gxtkAudio::PauseMusic() { return PauseChannel(kMusicChannel); }
int gxtkAudio::ResumeMusic() { return ResumeChannel(kMusicChannel); }
int gxtkAudio::MusicState() { return ChannelState(kMusicChannel); }
int gxtkAudio::SetMusicVolume(float volume) { return SetVolume(kMusicChannel, volume); }
