// c_TunePlayer: the music generator, a tracker-style player. Its song is an
// image of up to 63 patterns (64 rows x 8 channels x 8 values, one value per
// pixel in the top five bits of blue); five channels play: two drum kits,
// lead, accompaniment and bass. At the start of every section of two or four
// bars it picks, from a generator reseeded by the section number and
// `songSeed`, which pattern each channel plays and which channels rest, so
// one short song yields a long, varied and reproducible piece.
//
// The game object owns one player and drives it only while `musicEnabled`
// is 1: Init at creation, Update every update, FinishLoading every render
// (decoding the song draws into the frame buffer), PlayTitleSong whenever
// the title screen shows, StopAll(1) at the end of every game-over phase.
//
// Player channel i plays on audio channel `baseChannel` - i - 1 (31 .. 27
// for the game's base 32), clear of the sound-effect rotor (0 .. 23).
#pragma once
#include "graphics/image.h"
#include "audio/sound.h"
#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime/string.h"

class c_TunePlayer : public Object {
public:
    // Millisecond clock; tests put a hand-driven one here.
    using Clock = int (*)();

    static constexpr int kPatterns = 64;           // frames of the song image
    static constexpr int kDecodedPatterns = 63;    // frames 0..62 are read
    static constexpr int kPatternValues = 4096;    // 8 channels x 64 rows x 8 values
    static constexpr int kLoadSteps = 70;

    c_TunePlayer();
    void Mark() override;

    // --- The eleven operations, in slot order ---
    // Sets the base channel and the requested voices 1..4 (kit A, kit B,
    // lead, accompaniment).
    virtual int Init(int baseChannel, int a, int b, int c, int d);
    // One loading step: the song image, a drum sample or a voice, and on
    // steps 5..67 the decoding of one pattern.
    virtual int LoadSongStep();
    // Up to three loading steps; once per rendered frame.
    virtual int FinishLoading();
    // Stops every channel the player started; reset 1 also stops playing.
    virtual int StopAll(int reset);
    // Playback rate of a progression letter (a character code), 0 for others.
    virtual float LetterRatio(int ch);
    // Playback rate of note 1..32 (13 = the sample's own pitch), 0 for others.
    virtual float NoteRatio(int n);
    virtual int PlayRow(int channel, int note, int volume, int command, int parameter);
    virtual String Progression(int k);
    // Plays the next row when it is due.
    virtual int Tick();
    virtual int Update(int paused, int musicOn);

    // --- Choosing and starting a song ---
    // Starts `name` with the given seed from its first bar: loads it first
    // unless it is the song already loaded, takes the voices Init requested,
    // and brings chord progressions into play.
    virtual int StartSong(const String& name, int seed);
    // The title screen's music: when nothing is playing, starts the title
    // song with the next seed of a fixed series (the first start of a run
    // always sounds the same, each later one is arranged afresh).
    virtual int PlayTitleSong();

    // --- Members ---
    int baseChannel = 0;
    Array<int> requestedVoices;  // [1..4] from Init
    int loadStep = 0;            // 0 loaded or idle; 1..70 next loading step
    Array<int> voiceNumbers;     // [1] kit A, [2] kit B, [3] lead, [4] accompaniment, [5] bass
    Array<Ref<c_Sound>> kitA, kitB;  // drum samples in 1..8
    Array<Ref<c_Sound>> voices;      // [2] lead, [3] accompaniment, [4] bass
    String songName;
    Ref<c_Image> songImage;
    Array<int> song;         // value k of row r, channel c, pattern f at f*4096 + c*512 + r*8 + k
    Array<int> lastPattern;  // per channel, the highest pattern holding a value
    int nextRowTime = 0;
    int playState = 0;  // 0 stopped, 2 playing
    int channelCount = 5;
    Array<int> audioChannels;
    Array<int> channelBusy;
    Array<int> patternOf;
    int row = 0;
    int barsLeft = 0;
    Array<int> mutedNow;
    Array<int> leadIn;
    Array<int> mutedNext;
    float transpose = 1.0f;
    String progression;
    Array<float> rates;
    Array<float> envelopes;
    float masterVolume = 0.5f;
    Array<float> levels;
    int tempo = 95;
    int songSeed = 0;
    int sectionCount = 0;

    // Name of the song whose loading last ran to the end ("" none).
    String loadedSong;
    // Songs PlayTitleSong has started so far in this run.
    int titleStarts = 0;
    Clock clock;

    // The title song and its seeds.
    static const char* const kTitleSong;
    static constexpr int kTitleSeed = 1;
    static constexpr int kTitleSeedStep = 7919;

private:
    int Now() const;
    void DecodePattern(int pattern);
    void StartSection();
    void StartBar();
    // The drum sample a note strikes on drum channel 0 or 1, or null.
    c_Sound* DrumSample(int channel, int note) const;
    int SongValue(int pattern, int channel, int rowIndex, int k) const;
};
