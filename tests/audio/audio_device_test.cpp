// The audio device against real OpenAL Soft (null backend: it mixes in real
// time, so sounds end by themselves as they would on a sound card).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <thread>

#include "audio/audio.h"
#include "audio/discarded_buffers.h"
#include "runtime/gc.h"
#include "tests/audio/audio_fixtures.h"
#include "tests/audio/wav_builder.h"
#include "tests/support/idle_host.h"

namespace {

using Bytes = WavBuilder::Bytes;

void FullCollect() {
    gc::SetForce();
    gc::CollectStep();
}

bool WaitFor(const std::function<bool()>& done, double seconds = 3.0) {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

class AudioDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        IdleHost();
        if (!gAudioDevice) gAudioDevice = new gxtkAudio();
        ASSERT_TRUE(Audio().HasOutput());
        for (int ch = 0; ch < gxtkAudio::kChannels; ++ch) {
            Audio().StopChannel(ch);
            Audio().SetVolume(ch, 1);
            Audio().SetRate(ch, 1);
            Audio().SetPan(ch, 0);
        }
        Audio().FlushDiscarded();
    }

    gxtkAudio& Audio() { return *gAudioDevice; }
    ALuint Source(int ch) { return Audio().ChannelRecord(ch).source; }
    ALint AlState(int ch) {
        ALint state = 0;
        alGetSourcei(Source(ch), AL_SOURCE_STATE, &state);
        return state;
    }
    // A 16-bit mono sine of the given length, straight into a buffer.
    gxtkSample* Tone(double seconds, int hertz = 8000) {
        Bytes pcm = SineSamples16(1, hertz, seconds);
        return Audio().UploadSampleData(new gxtkSample(), pcm.data(), static_cast<int>(pcm.size() / 2), 1, 2, hertz);
    }
    static bool Listed(ALuint buffer) {
        const std::vector<unsigned int>& listed = DiscardedBuffers();
        return std::find(listed.begin(), listed.end(), buffer) != listed.end();
    }
    std::string WriteWav(const std::string& name, const Bytes& bytes) { return dir_.Write(name, bytes); }

    TempDir dir_;
};

TEST_F(AudioDeviceTest, ChannelStateMachine) {
    gxtkSample* tone = Tone(5.0);
    EXPECT_EQ(Audio().ChannelState(4), 0);
    Audio().PlaySample(tone, 4, 0);
    EXPECT_EQ(Audio().ChannelState(4), 1);
    EXPECT_EQ(AlState(4), AL_PLAYING);
    Audio().PauseChannel(4);
    EXPECT_EQ(Audio().ChannelState(4), 2);
    EXPECT_EQ(AlState(4), AL_PAUSED);
    Audio().PauseChannel(4);
    EXPECT_EQ(Audio().ChannelState(4), 2) << "pausing twice changes nothing";
    Audio().ResumeChannel(4);
    EXPECT_EQ(Audio().ChannelState(4), 1);
    EXPECT_EQ(AlState(4), AL_PLAYING);
    Audio().ResumeChannel(4);
    EXPECT_EQ(Audio().ChannelState(4), 1);
    Audio().StopChannel(4);
    EXPECT_EQ(Audio().ChannelState(4), 0);
    EXPECT_EQ(AlState(4), AL_STOPPED);
    Audio().ResumeChannel(4);
    EXPECT_EQ(Audio().ChannelState(4), 0) << "a stopped channel does not resume";
    // Sources are made when a channel is first used, one per channel.
    EXPECT_NE(Source(4), 0u);
    EXPECT_NE(Source(4), Source(5));
}

TEST_F(AudioDeviceTest, OneShotThatEndedReportsStopped) {
    Audio().PlaySample(Tone(0.05), 6, 0);
    ASSERT_EQ(Audio().ChannelRecord(6).state, 1);
    ASSERT_TRUE(WaitFor([&] { return AlState(6) == AL_STOPPED; }));
    EXPECT_EQ(Audio().ChannelRecord(6).state, 1) << "noticed lazily";
    EXPECT_EQ(Audio().ChannelState(6), 0);
    EXPECT_EQ(Audio().ChannelRecord(6).state, 0);
}

TEST_F(AudioDeviceTest, PauseOnEndedSoundLeavesItStopped) {
    Audio().PlaySample(Tone(0.05), 7, 0);
    ASSERT_TRUE(WaitFor([&] { return AlState(7) == AL_STOPPED; }));
    Audio().PauseChannel(7);
    EXPECT_EQ(Audio().ChannelRecord(7).state, 0);
    Audio().ResumeChannel(7);
    EXPECT_EQ(Audio().ChannelState(7), 0);
    EXPECT_EQ(AlState(7), AL_STOPPED) << "resume must not replay an ended sound";
}

TEST_F(AudioDeviceTest, LoopingSoundKeepsPlaying) {
    Audio().PlaySample(Tone(0.02), 8, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(Audio().ChannelState(8), 1);
    ALint looping = 0;
    alGetSourcei(Source(8), AL_LOOPING, &looping);
    EXPECT_EQ(looping, AL_TRUE);
    Audio().PlaySample(Tone(0.02), 8, 0);
    alGetSourcei(Source(8), AL_LOOPING, &looping);
    EXPECT_EQ(looping, AL_FALSE);
}

TEST_F(AudioDeviceTest, NewSoundOnAChannelCutsOffTheOld) {
    gxtkSample* a = Tone(5.0);
    gxtkSample* b = Tone(5.0, 11025);
    Audio().PlaySample(a, 3, 0);
    Audio().PlaySample(b, 3, 0);
    ALint buffer = 0;
    alGetSourcei(Source(3), AL_BUFFER, &buffer);
    EXPECT_EQ(static_cast<ALuint>(buffer), b->buffer);
    EXPECT_EQ(Audio().ChannelRecord(3).sample.get(), b);
    EXPECT_EQ(Audio().ChannelState(3), 1);
}

TEST_F(AudioDeviceTest, SuspendAndResumeKeepGamePausedChannelsPaused) {
    Audio().PlaySample(Tone(5.0), 1, 0);
    Audio().PlaySample(Tone(5.0), 2, 0);
    Audio().PauseChannel(2);
    Audio().PlaySample(Tone(0.02), 9, 0);
    ASSERT_TRUE(WaitFor([&] { return AlState(9) == AL_STOPPED; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    Audio().Suspend();
    EXPECT_EQ(AlState(1), AL_PAUSED);
    EXPECT_EQ(AlState(2), AL_PAUSED);
    EXPECT_EQ(Audio().ChannelState(1), 1) << "suspension leaves the game's states";
    EXPECT_EQ(Audio().ChannelState(2), 2);
    ALint offsetAtSuspend = 0;
    alGetSourcei(Source(1), AL_SAMPLE_OFFSET, &offsetAtSuspend);
    EXPECT_GT(offsetAtSuspend, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ALint offsetWhileSuspended = 0;
    alGetSourcei(Source(1), AL_SAMPLE_OFFSET, &offsetWhileSuspended);
    EXPECT_EQ(offsetWhileSuspended, offsetAtSuspend);
    Audio().Resume();
    EXPECT_EQ(AlState(1), AL_PLAYING);
    EXPECT_EQ(AlState(2), AL_PAUSED) << "the game paused it; it stays paused";
    EXPECT_EQ(AlState(9), AL_STOPPED) << "an ended sound is not restarted";
    ALint offsetAfterResume = 0;
    alGetSourcei(Source(1), AL_SAMPLE_OFFSET, &offsetAfterResume);
    EXPECT_GE(offsetAfterResume, offsetAtSuspend) << "continues from where it was";
    Audio().ResumeChannel(2);
    EXPECT_EQ(AlState(2), AL_PLAYING);
}

TEST_F(AudioDeviceTest, VolumePanAndRateStayWithTheChannel) {
    Audio().SetVolume(10, 0.25f);
    Audio().SetRate(10, 1.5f);
    Audio().SetPan(10, 1.0f);
    Audio().PlaySample(Tone(5.0), 10, 0);
    Audio().PlaySample(Tone(5.0), 10, 0);
    ALfloat gain = 0, pitch = 0, pos[3] = {};
    alGetSourcef(Source(10), AL_GAIN, &gain);
    alGetSourcef(Source(10), AL_PITCH, &pitch);
    alGetSourcefv(Source(10), AL_POSITION, pos);
    EXPECT_FLOAT_EQ(gain, 0.25f);
    EXPECT_FLOAT_EQ(pitch, 1.5f);
    EXPECT_NEAR(pos[0], std::sin(1.0), 1e-6);
    EXPECT_EQ(pos[1], 0.0f);
    EXPECT_NEAR(pos[2], -std::cos(1.0), 1e-6);
    Audio().SetPan(10, 0.0f);
    alGetSourcefv(Source(10), AL_POSITION, pos);
    EXPECT_NEAR(pos[0], 0.0, 1e-6);
    EXPECT_NEAR(pos[2], -1.0, 1e-6) << "straight ahead";
    ALint model = 0;
    alGetIntegerv(AL_DISTANCE_MODEL, &model);
    EXPECT_EQ(model, AL_NONE);
    // The music channel has its own operations.
    gAudioDevice->SetMusicVolume(0.5f);
    alGetSourcef(Source(gxtkAudio::kMusicChannel), AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.5f);
}

TEST_F(AudioDeviceTest, ChannelsOutsideTheRangeAreIgnored) {
    gxtkSample* tone = Tone(0.1);
    for (int ch : {-1, 33, 1000, -100000}) {
        Audio().PlaySample(tone, ch, 0);
        Audio().SetVolume(ch, 0.5f);
        Audio().SetPan(ch, 0.5f);
        Audio().SetRate(ch, 2);
        Audio().PauseChannel(ch);
        Audio().ResumeChannel(ch);
        Audio().StopChannel(ch);
        EXPECT_EQ(Audio().ChannelState(ch), 0);
    }
    Audio().PlaySample(nullptr, 0, 0);
    EXPECT_EQ(Audio().ChannelState(0), 0);
}

TEST_F(AudioDeviceTest, PlayingSampleStaysAliveAndIsCollectedAfter) {
    gxtkSample* tone = Tone(5.0);  // held by nothing but the channel
    ALuint buffer = tone->buffer;
    ASSERT_TRUE(alIsBuffer(buffer));
    Audio().PlaySample(tone, 11, 1);
    for (int i = 0; i < 3; ++i) FullCollect();
    ASSERT_TRUE(gc::IsLive(tone));
    EXPECT_EQ(Audio().ChannelRecord(11).sample.get(), tone);
    Audio().StopChannel(11);
    FullCollect();
    FullCollect();
    EXPECT_FALSE(gc::IsLive(tone));
    EXPECT_EQ(Audio().ChannelRecord(11).sample.get(), nullptr) << "no name of a destroyed sample is kept";
    EXPECT_TRUE(Listed(buffer));
    EXPECT_TRUE(alIsBuffer(buffer)) << "deleted only at the next flush";
    // The channel the game stopped still names the buffer; the flush lets go
    // of it so the buffer can go at once.
    Audio().LoadSample(String("/nonexistent/x.wav"));
    EXPECT_FALSE(alIsBuffer(buffer));
    EXPECT_FALSE(Listed(buffer));
}

TEST_F(AudioDeviceTest, OneShotThatEndedIsCollectable) {
    gxtkSample* tone = Tone(0.02);
    ALuint buffer = tone->buffer;
    Audio().PlaySample(tone, 12, 0);
    ASSERT_TRUE(WaitFor([&] { return AlState(12) == AL_STOPPED; }));
    FullCollect();
    FullCollect();
    EXPECT_FALSE(gc::IsLive(tone));
    Audio().PlaySample(Tone(0.02), 13, 0);
    EXPECT_FALSE(alIsBuffer(buffer));
}

TEST_F(AudioDeviceTest, BufferStillPlayingStaysListedUntilFree) {
    Ref<c_Sound> sound = new c_Sound(Tone(5.0));
    ALuint buffer = sound->sample->buffer;
    Audio().PlaySample(sound->sample, 14, 1);
    sound->Discard();
    EXPECT_EQ(sound->sample.get(), nullptr);
    Audio().FlushDiscarded();
    EXPECT_TRUE(alIsBuffer(buffer)) << "a playing source holds it";
    EXPECT_TRUE(Listed(buffer));
    EXPECT_EQ(Audio().ChannelState(14), 1);
    Audio().StopChannel(14);
    Audio().FlushDiscarded();
    EXPECT_FALSE(alIsBuffer(buffer));
    EXPECT_FALSE(Listed(buffer));
}

class AudioFileTest : public AudioDeviceTest {
protected:
    ALint BufferInfo(gxtkSample* s, ALenum what) {
        ALint v = -1;
        alGetBufferi(s->buffer, what, &v);
        return v;
    }
};

TEST_F(AudioFileTest, LoadsWavVariants) {
    Bytes samples8 = {0, 255, 128, 128, 10, 20, 30, 40};
    std::string stereo8 = WriteWav("stereo8.wav", WavBuilder::Pcm(2, 11025, 8, samples8));
    Ref<c_Sound> s = LoadSound(String(stereo8.c_str()));
    ASSERT_TRUE(s);
    ASSERT_TRUE(s->sample);
    EXPECT_EQ(BufferInfo(s->sample, AL_CHANNELS), 2);
    EXPECT_EQ(BufferInfo(s->sample, AL_BITS), 8);
    EXPECT_EQ(BufferInfo(s->sample, AL_FREQUENCY), 11025);
    EXPECT_EQ(BufferInfo(s->sample, AL_SIZE), 8);

    Bytes pcm = SineSamples16(1, 8000, 0.1);
    std::string list = WriteWav("list.wav", WavBuilder().Header().Fmt(1, 1, 8000, 16).Chunk("LIST", {'I', 'N', 'F', 'O'}).Chunk("data", pcm).Build());
    std::string fmt18 = WriteWav("fmt18.WAV", WavBuilder().Header().Fmt(1, 1, 8000, 16, 18).Chunk("data", pcm).Build());
    for (const std::string& file : {list, fmt18}) {
        Ref<c_Sound> sound = LoadSound(String(file.c_str()));
        ASSERT_TRUE(sound) << file;
        EXPECT_EQ(BufferInfo(sound->sample, AL_SIZE), static_cast<ALint>(pcm.size())) << file;
        EXPECT_EQ(BufferInfo(sound->sample, AL_BITS), 16) << file;
    }
}

TEST_F(AudioFileTest, RefusedFilesGiveNoSound) {
    std::string floatWav = WriteWav("float.wav", WavBuilder().Header().Fmt(3, 1, 8000, 32).Chunk("data", Bytes(16, 0)).Build());
    EXPECT_EQ(LoadSound(String(floatWav.c_str())), nullptr);
    EXPECT_EQ(LoadSound(String((dir_.Path() + "/missing.wav").c_str())), nullptr);
    std::string text = WriteWav("notes.txt", Bytes(100, 'a'));
    EXPECT_EQ(LoadSound(String(text.c_str())), nullptr);
    // Playing nothing is harmless.
    PlaySoundOnChannel(nullptr, 0, 0);
    PlaySoundOnChannel(new c_Sound(), 0, 0);
    EXPECT_EQ(ChannelState(0), 0);
}

TEST_F(AudioFileTest, LayoutsOpenAlCannotTakeAreSilentSamples) {
    std::string six = WriteWav("six.wav", WavBuilder::Pcm(6, 8000, 16, Bytes(120, 1)));
    std::string bits24 = WriteWav("b24.wav", WavBuilder::Pcm(1, 8000, 24, Bytes(30, 1)));
    for (const std::string& file : {six, bits24}) {
        Ref<c_Sound> sound = LoadSound(String(file.c_str()));
        ASSERT_TRUE(sound) << file;
        EXPECT_TRUE(alIsBuffer(sound->sample->buffer));
        EXPECT_EQ(BufferInfo(sound->sample, AL_SIZE), 0) << file;
        PlaySoundOnChannel(sound, 15, 0);
        EXPECT_TRUE(WaitFor([&] { return ChannelState(15) == 0; })) << "a silent sample ends at once";
    }
    EXPECT_EQ(alGetError(), AL_NO_ERROR) << "no error left behind for the discard flush";
}

TEST_F(AudioFileTest, LoadsOggVorbisAndPlaysItAsMusic) {
    std::string ogg = MakeOgg(dir_, "song.Ogg", 2, 22050, 0.5);
    ASSERT_FALSE(ogg.empty()) << "oggenc failed";
    Ref<c_Sound> s = LoadSound(String(ogg.c_str()));
    ASSERT_TRUE(s);
    EXPECT_EQ(BufferInfo(s->sample, AL_CHANNELS), 2);
    EXPECT_EQ(BufferInfo(s->sample, AL_BITS), 16);
    EXPECT_EQ(BufferInfo(s->sample, AL_FREQUENCY), 22050);
    EXPECT_NEAR(BufferInfo(s->sample, AL_SIZE), 22050 * 0.5 * 4, 256);

    EXPECT_EQ(PlayMusic(String(ogg.c_str()), 1), 0);
    EXPECT_EQ(MusicState(), 1);
    PauseMusic();
    EXPECT_EQ(MusicState(), 2);
    ResumeMusic();
    EXPECT_EQ(MusicState(), 1);
    EXPECT_EQ(PlayMusic(String((dir_.Path() + "/none.ogg").c_str()), 1), -1);
    EXPECT_EQ(MusicState(), 0) << "a failed start still stops the old music";
}

TEST_F(AudioFileTest, GlobalOperationsReachTheDevice) {
    std::string file = WriteWav("tone.wav", WavBuilder::Pcm(1, 8000, 16, SineSamples16(1, 8000, 5.0)));
    Ref<c_Sound> s = LoadSound(String(file.c_str()));
    ASSERT_TRUE(s);
    SetChannelVolume(20, 0.75f);
    SetChannelRate(20, 0.5f);
    SetChannelPan(20, -1.0f);
    PlaySoundOnChannel(s, 20, 0);
    EXPECT_EQ(ChannelState(20), 1);
    ALfloat gain = 0, pitch = 0, pos[3] = {};
    alGetSourcef(Source(20), AL_GAIN, &gain);
    alGetSourcef(Source(20), AL_PITCH, &pitch);
    alGetSourcefv(Source(20), AL_POSITION, pos);
    EXPECT_FLOAT_EQ(gain, 0.75f);
    EXPECT_FLOAT_EQ(pitch, 0.5f);
    EXPECT_NEAR(pos[0], -std::sin(1.0), 1e-6);
    PauseChannel(20);
    EXPECT_EQ(ChannelState(20), 2);
    ResumeChannel(20);
    StopChannel(20);
    EXPECT_EQ(ChannelState(20), 0);
    PlaySound(s, 21);
    EXPECT_EQ(ChannelState(21), 1);
}

}  // namespace
