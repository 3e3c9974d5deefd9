#include "tests/music/player_fixture.h"

#include <AL/al.h>

#include <cmath>

#include "audio/audio.h"
#include "runtime/ref.h"
#include "tests/game/game_fixture.h"

namespace {

// Players of the running test; roots, so the collector keeps them.
Global<Array<Ref<c_TunePlayer>>> gPlayers;

ALuint SourceOf(int channel) {
    gxtkAudio* audio = gAudioDevice;
    return audio ? audio->ChannelRecord(channel).source : 0;
}

}  // namespace

int PlayerTest::now_ = 0;

void PlayerTest::SetUp() {
    Game();  // host, window, devices; no update runs here
    ASSERT_TRUE(gAudioDevice) << "the harness made no audio device";
    gPlayers = Array<Ref<c_TunePlayer>>(8);
    SetClock(0);
}

void PlayerTest::TearDown() {
    for (int i = 0; i < gPlayers.Length(); ++i) {
        if (gPlayers[i]) gPlayers[i]->StopAll(1);
    }
    for (int channel = 0; channel < 33; ++channel) StopChannel(channel);
    gPlayers = Array<Ref<c_TunePlayer>>();
}

c_TunePlayer* PlayerTest::NewPlayer() {
    c_TunePlayer* player = new c_TunePlayer();
    for (int i = 0; i < gPlayers.Length(); ++i) {
        if (!gPlayers[i]) {
            gPlayers[i] = player;
            break;
        }
    }
    player->clock = &PlayerTest::Clock;
    player->Init(kBase, 4, 3, 3, 4);
    return player;
}

void PlayerTest::LoadInstruments(c_TunePlayer* player) {
    for (int k = 1; k <= 8; ++k) {
        player->kitA[k] = LoadSound(String("inst/d4-") + String::FromInt(k) + String(".wav"));
        player->kitB[k] = LoadSound(String("inst/d3-") + String::FromInt(k) + String(".wav"));
    }
    player->voices[2] = LoadSound(String("inst/lead3.wav"));
    player->voices[3] = LoadSound(String("inst/accompany4.wav"));
    player->voices[4] = LoadSound(String("inst/bass0.wav"));
}

c_TunePlayer* PlayerTest::PlayingPlayer() {
    c_TunePlayer* player = NewPlayer();
    LoadInstruments(player);
    player->playState = 2;
    player->loadStep = 0;
    player->nextRowTime = Clock() + 100;
    return player;
}

void PlayerTest::SetCell(c_TunePlayer* player, int pattern, int channel, int row, int note, int volume,
                         int command, int parameter) {
    int base = pattern * 4096 + channel * 512 + row * 8;
    player->song[base] = note;
    player->song[base + 1] = volume;
    player->song[base + 2] = command;
    player->song[base + 3] = parameter;
    if (note || volume || command || parameter) {
        if (pattern > player->lastPattern[channel]) player->lastPattern[channel] = pattern;
    }
}

void PlayerTest::SetClock(int ms) { now_ = ms; }
int PlayerTest::Clock() { return now_; }

int PlayerTest::RunUntil(c_TunePlayer* player, int ms) {
    int rows = 0;
    while (now_ < ms) {
        ++now_;
        int before = player->row;
        int sections = player->sectionCount;
        player->Update(0, 1);
        rows += player->row != before || player->sectionCount != sections;
    }
    return rows;
}

void PlayerTest::NextRow(c_TunePlayer* player) {
    SetClock(player->nextRowTime + 1);
    player->Tick();
}

float PlayerTest::Gain(int channel) {
    ALfloat v = -1;
    alGetSourcef(SourceOf(channel), AL_GAIN, &v);
    return v;
}

float PlayerTest::Pitch(int channel) {
    ALfloat v = -1;
    alGetSourcef(SourceOf(channel), AL_PITCH, &v);
    return v;
}

float PlayerTest::PanX(int channel) {
    ALfloat x = 0, y = 0, z = 0;
    alGetSource3f(SourceOf(channel), AL_POSITION, &x, &y, &z);
    return x;
}

int PlayerTest::State(int channel) { return ChannelState(channel); }
