// The player's state, its timing (Update, Tick), the arrangement chosen per
// bar and per section, and how one row sounds on one channel (PlayRow).
#include "music/tune_player.h"

#include <cmath>
#include <cstdint>

#include "app/framework.h"
#include "audio/audio.h"
#include "runtime/random.h"

const char* const c_TunePlayer::kTitleSong = "inst/song0.png";

namespace {

constexpr int kChannelSlots = 8;
constexpr int kRows = 64;
constexpr int kNotDueWindow = 123456;  // a row further ahead than this counts as due
// A row due longer ago than this is not caught up with: rows played one per
// update would rush (after the music was off, the window suspended, a stall).
constexpr int kMaxLateMs = 250;
constexpr int kPauseDelayMs = 150;
constexpr int kStartDelayMs = 100;

constexpr int kCommandRateUpFine = 1;
constexpr int kCommandRateDownFine = 2;
constexpr int kCommandRateUp = 3;
constexpr int kCommandRateDown = 4;
constexpr int kCommandBreak = 8;
constexpr int kCommandPatternStep = 27;
constexpr float kMaxRate = 4.0f;
constexpr float kMinRate = 0.25f;

constexpr int kDrumNotes[8] = {13, 15, 17, 18, 20, 22, 24, 25};
constexpr float kDrumPan[2] = {-0.35f, 0.35f};

// Difference a - b of two wrapping millisecond times.
int TimeDiff(int a, int b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

int TimeAdd(int a, int ms) { return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(ms)); }

// The shared seed for a section's draws, wrapping instead of overflowing.
int SectionSeed(int offset, int sectionCount, int songSeed) {
    return static_cast<int32_t>(static_cast<uint32_t>(offset) + static_cast<uint32_t>(sectionCount) * 9u +
                                static_cast<uint32_t>(songSeed));
}

template <class T>
void Fill(const Array<T>& array, T value) {
    for (int i = 0; i < array.Length(); ++i) array[i] = value;
}

}  // namespace

c_TunePlayer::c_TunePlayer() : clock(&Millisecs) {
    requestedVoices = Array<int>(kChannelSlots);
    voiceNumbers = Array<int>(kChannelSlots);
    kitA = Array<Ref<c_Sound>>(9);
    kitB = Array<Ref<c_Sound>>(9);
    voices = Array<Ref<c_Sound>>(kChannelSlots);
    song = Array<int>(kPatterns * kPatternValues + 1);
    lastPattern = Array<int>(kChannelSlots);
    audioChannels = Array<int>(kChannelSlots);
    channelBusy = Array<int>(kChannelSlots);
    patternOf = Array<int>(kChannelSlots);
    mutedNow = Array<int>(kChannelSlots);
    leadIn = Array<int>(kChannelSlots);
    mutedNext = Array<int>(kChannelSlots);
    rates = Array<float>(kChannelSlots);
    envelopes = Array<float>(kChannelSlots);
    levels = Array<float>(kChannelSlots);
}

void c_TunePlayer::Mark() {
    gc_mark(requestedVoices);
    gc_mark(voiceNumbers);
    gc_mark(kitA);
    gc_mark(kitB);
    gc_mark(voices);
    gc_mark(songImage);
    gc_mark(song);
    gc_mark(lastPattern);
    gc_mark(audioChannels);
    gc_mark(channelBusy);
    gc_mark(patternOf);
    gc_mark(mutedNow);
    gc_mark(leadIn);
    gc_mark(mutedNext);
    gc_mark(rates);
    gc_mark(envelopes);
    gc_mark(levels);
}

int c_TunePlayer::Now() const { return clock ? clock() : Millisecs(); }

int c_TunePlayer::Init(int base, int a, int b, int c, int d) {
    baseChannel = base;
    requestedVoices[1] = a;
    requestedVoices[2] = b;
    requestedVoices[3] = c;
    requestedVoices[4] = d;
    return 0;
}

int c_TunePlayer::StopAll(int reset) {
    for (int i = 0; i < channelCount && i < kChannelSlots; ++i) {
        if (audioChannels[i] > 0 && channelBusy[i] == 1) {
            StopChannel(audioChannels[i]);
            channelBusy[i] = 0;
        }
    }
    if (reset == 1) playState = 0;
    return 0;
}

int c_TunePlayer::Update(int paused, int musicOn) {
    if (playState == 0) StopAll(0);
    if (playState == 2 && loadStep == 0 && paused == 0) {
        if (musicOn == 1) Tick();
    } else if (paused == 1) {
        nextRowTime = TimeAdd(Now(), kPauseDelayMs);
    }
    if (playState == 2 && (paused == 1 || musicOn == 0)) StopAll(0);
    return 0;
}

int c_TunePlayer::SongValue(int pattern, int channel, int rowIndex, int k) const {
    return song[pattern * kPatternValues + channel * 512 + rowIndex * 8 + k];
}

int c_TunePlayer::Tick() {
    int now = Now();
    int ahead = TimeDiff(nextRowTime, now);
    if (ahead >= 0 && ahead <= kNotDueWindow) return 0;
    // Far behind, or a time far ahead (the clock went back): play this row
    // now and keep the beat from here rather than racing through rows.
    if (ahead > kNotDueWindow || ahead < -kMaxLateMs) nextRowTime = now;

    // Every channel plays this row; a break ends the bar after it.
    bool patternBreak = false;
    for (int c = 0; c < channelCount && c < kChannelSlots; ++c) {
        if (SongValue(patternOf[c], c, row, 2) == kCommandPatternStep) {
            int parameter = SongValue(patternOf[c], c, row, 3);
            bool odd = barsLeft % 2 != 0;
            if (parameter == 1 && odd) patternOf[c] += 1;
            if (parameter == 2 && !odd) patternOf[c] -= 1;
            // A step past either end of the song stays inside it.
            if (patternOf[c] < 0) patternOf[c] = 0;
            if (patternOf[c] > kPatterns - 1) patternOf[c] = kPatterns - 1;
        }
        int note = SongValue(patternOf[c], c, row, 0);
        int volume = SongValue(patternOf[c], c, row, 1);
        int command = SongValue(patternOf[c], c, row, 2);
        int parameter = SongValue(patternOf[c], c, row, 3);
        PlayRow(c, note, volume, command, parameter);
        if (command == kCommandBreak) patternBreak = true;
    }
    if (patternBreak) row = kRows - 1;

    int rowMs = static_cast<int>(8000.0 / (tempo < 1 ? 1 : tempo));
    nextRowTime = TimeAdd(nextRowTime, rowMs);
    row = (row + 1) % kRows;
    if (row == 0) StartBar();
    return 0;
}

void c_TunePlayer::StartBar() {
    randomSeed = SectionSeed(0, sectionCount, songSeed);
    for (int i = 0; i < 16; ++i) RandomInt(1, 5);
    if (progression.Length() == 1) progression = String(" ") + Progression(RandomInt(0, 4));
    if (progression.Length() > 1) progression = progression.Slice(1);
    barsLeft -= 1;
    if (barsLeft < 1) StartSection();
}

void c_TunePlayer::StartSection() {
    randomSeed = SectionSeed(0, sectionCount, songSeed);
    for (int i = 0; i < 11; ++i) RandomInt(1, 5);
    barsLeft = 2 * RandomInt(1, 2);
    sectionCount += 1;
    for (int c = 0; c < channelCount && c < kChannelSlots; ++c) {
        randomSeed = SectionSeed(7 * c, sectionCount, songSeed);
        for (int i = 0; i < 11; ++i) RandomInt(1, 5);
        patternOf[c] = RandomInt(0, lastPattern[c]);
        if (playState > 1) mutedNow[c] = mutedNext[c];
        mutedNext[c] = RandomInt(0, 1);
        leadIn[c] = RandomInt(0, 1);
    }
    // The two drum channels never rest together.
    if (playState > 1 && mutedNow[0] == 1 && mutedNow[1] == 1) mutedNow[0] = 0;
}

c_Sound* c_TunePlayer::DrumSample(int channel, int note) const {
    const Array<Ref<c_Sound>>& kit = channel == 0 ? kitA : kitB;
    for (int i = 0; i < 8; ++i) {
        if (kDrumNotes[i] == note) return kit[i + 1];
    }
    return nullptr;
}

int c_TunePlayer::PlayRow(int c, int note, int volume, int command, int parameter) {
    if (c < 0 || c >= kChannelSlots) return 0;
    int silent = mutedNow[c];
    // A channel that plays in the next section may join in its last eight rows.
    if (playState > 1 && barsLeft < 2 && row > 55 && leadIn[c] == 1 && mutedNext[c] == 0) silent = 0;

    transpose = 1.0f;
    if (playState > 1 && !progression.Empty()) transpose = LetterRatio(progression[0]);
    for (int i = 0; i < channelCount && i < kChannelSlots; ++i) audioChannels[i] = baseChannel - i - 1;
    int channel = audioChannels[c];
    bool drum = c == 0 || c == 1;

    if (drum && note > 0 && silent == 0 && channel > 0) {
        StopChannel(channel);
        c_Sound* sample = DrumSample(c, note);
        if (sample) {
            channelBusy[c] = 1;
            PlaySoundOnChannel(sample, channel, 0);
            SetChannelPan(channel, kDrumPan[c]);
        }
        rates[c] = 1.0f;
        envelopes[c] = 4.0f;
    }

    float f = static_cast<float>(volume - 1) / 29.0f;
    if (f > 1.0f) {
        envelopes[c] = 0.0f;
        f = 0.0f;
    }
    if (f < 0.0f) f = 0.0f;
    if (volume > 0 && channel > 0 && silent == 0) {
        envelopes[c] = 1.5f;
        SetChannelVolume(channel, masterVolume * f);
        levels[c] = f;
    }

    envelopes[c] = envelopes[c] - 0.1f;
    if (envelopes[c] < 0.0f) envelopes[c] = 0.0f;
    if (envelopes[c] < 1.0f && channel > 0) {
        levels[c] = levels[c] * envelopes[c];
        SetChannelVolume(channel, masterVolume * levels[c]);
    }

    bool melodic = c >= 2 && c <= 4;
    if (melodic && note > 0) {
        if (silent != 0) return 0;
        if (channel > 0) {
            StopChannel(channel);
            rates[c] = transpose * NoteRatio(note);
            envelopes[c] = 1.5f;
            SetChannelRate(channel, rates[c]);
            if (voices[c]) {
                channelBusy[c] = 1;
                PlaySoundOnChannel(voices[c], channel, 1);
            }
        }
    } else if (silent != 0) {
        return 0;
    }

    if (channel <= 0) return 0;
    float step = static_cast<float>(parameter);
    switch (command) {
        case kCommandRateUpFine:
            rates[c] = std::fmin(rates[c] + step / 180.0f, kMaxRate);
            break;
        case kCommandRateDownFine:
            rates[c] = std::fmax(rates[c] - step / 180.0f, kMinRate);
            break;
        case kCommandRateUp:
            rates[c] = std::fmin(rates[c] + step / 15.0f, kMaxRate);
            break;
        case kCommandRateDown:
            rates[c] = std::fmax(rates[c] - step / 15.0f, kMinRate);
            break;
        default:
            return 0;
    }
    SetChannelRate(channel, rates[c]);
    return 0;
}

int c_TunePlayer::StartSong(const String& name, int seed) {
    StopAll(0);
    bool loaded = loadStep == 0 && loadedSong == name && !name.Empty();
    bool loading = loadStep > 0 && songName == name;
    if (!loaded && !loading) {
        songName = name;
        loadedSong = String();
        // The voices Init asked for name the files; the bass has no request.
        for (int i = 1; i <= 4; ++i) voiceNumbers[i] = requestedVoices[i];
        voiceNumbers[5] = 0;
        loadStep = 1;
    }
    songSeed = seed;
    sectionCount = 0;
    row = 0;
    barsLeft = 0;  // the first bar plays every channel's pattern 0, then a section begins
    Fill(patternOf, 0);
    Fill(mutedNow, 0);
    Fill(mutedNext, 0);
    Fill(leadIn, 0);
    Fill(envelopes, 0.0f);
    Fill(levels, 0.0f);
    Fill(rates, 1.0f);
    // One letter left makes the next bar draw a progression; 'q' keeps the
    // first bar at the song's own pitch.
    progression = String("q");
    transpose = 1.0f;
    nextRowTime = TimeAdd(Now(), kStartDelayMs);
    playState = 2;
    return 0;
}

int c_TunePlayer::PlayTitleSong() {
    if (playState != 0) return 0;
    int seed = static_cast<int32_t>(static_cast<uint32_t>(kTitleSeed) +
                                    static_cast<uint32_t>(titleStarts) * static_cast<uint32_t>(kTitleSeedStep));
    titleStarts += 1;
    return StartSong(String(kTitleSong), seed);
}
