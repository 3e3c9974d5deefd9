// OpenAL pointed at a backend that does not exist: the device reports it
// once and every operation afterwards is harmless.
#include <gtest/gtest.h>

#include <cstdlib>

#include "audio/audio.h"
#include "runtime/gc.h"
#include "tests/audio/audio_fixtures.h"
#include "tests/audio/wav_builder.h"
#include "tests/support/idle_host.h"

namespace {

TEST(AudioWithoutDevice, EveryOperationRunsSilently) {
    TempDir dir;
    // Must be in place before the first OpenAL call of the process.
    std::string conf = dir.Write("alsoft.conf", WavBuilder().Tag("[general]\ndrivers = no-such-backend\n").Build());
    setenv("ALSOFT_CONF", conf.c_str(), 1);
    IdleHost();

    testing::internal::CaptureStdout();
    gAudioDevice = new gxtkAudio();
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "OpenAl error: alcOpenDevice failed\n");
    EXPECT_FALSE(gAudioDevice->HasOutput());

    std::string wav = dir.Write("tone.wav", WavBuilder::Pcm(1, 8000, 16, SineSamples16(1, 8000, 0.2)));
    Ref<c_Sound> sound = LoadSound(String(wav.c_str()));
    ASSERT_TRUE(sound) << "the file is fine; only the output is missing";
    EXPECT_EQ(sound->sample->buffer, 0u);
    EXPECT_EQ(LoadSound(String("/no/such/file.wav")), nullptr);

    gxtkAudio& audio = *gAudioDevice;
    for (int ch = -1; ch <= gxtkAudio::kChannels; ++ch) {
        PlaySoundOnChannel(sound, ch, ch & 1);
        SetChannelVolume(ch, 0.5f);
        SetChannelPan(ch, -0.5f);
        SetChannelRate(ch, 2.0f);
        PauseChannel(ch);
        ResumeChannel(ch);
        EXPECT_EQ(ChannelState(ch), 0);
        StopChannel(ch);
    }
    EXPECT_EQ(PlayMusic(String(wav.c_str()), 1), 0);
    EXPECT_EQ(PlayMusic(String("/no/such/file.ogg"), 1), -1);
    PauseMusic();
    ResumeMusic();
    SetMusicVolume(0.1f);
    EXPECT_EQ(MusicState(), 0);
    StopMusic();
    audio.Suspend();
    audio.Resume();
    audio.FlushDiscarded();
    sound->Discard();
    for (int i = 0; i < 3; ++i) {
        gc::SetForce();
        gc::CollectStep();
    }
    EXPECT_EQ(audio.ChannelRecord(0).source, 0u) << "no sources are made without output";
}

}  // namespace
