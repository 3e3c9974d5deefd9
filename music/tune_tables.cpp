// The player's fixed tables: equal-tempered playback rates for notes and
// progression letters, and the four-bar chord progressions.
#include "music/tune_player.h"

namespace {

constexpr int kNotes = 32;

// Rate of notes 1..32; note 13 is the sample's own pitch.
constexpr float kNoteRatios[kNotes] = {
    0.5f,   0.5295f, 0.561f, 0.5945f, 0.63f,  0.6675f, 0.707f, 0.749f,   // 1..8
    0.7935f, 0.841f, 0.891f, 0.944f,  1.0f,   1.059f,  1.122f, 1.189f,   // 9..16
    1.26f,  1.335f,  1.414f, 1.498f,  1.587f, 1.682f,  1.782f, 1.888f,   // 17..24
    2.0f,   2.118f,  2.244f, 2.378f,  2.52f,  2.67f,   2.828f, 2.996f,   // 25..32
};

// The same rates named by letters, in note order (a keyboard's two rows):
// 'q' is the sample's pitch, 'j' a whole tone down, 'b' a fourth down.
constexpr char kNoteLetters[] = "zsxdcvgbhnjmq2w3er5t6y7ui9o0p[=]";
static_assert(sizeof(kNoteLetters) == kNotes + 1);

constexpr const char* kProgressions[] = {"qqqq", "qqjj", "qqbb", "qbqb", "qqqj", "qqzz"};
constexpr const char* kDefaultProgression = "qqjj";

}  // namespace

float c_TunePlayer::NoteRatio(int n) {
    if (n < 1 || n > kNotes) return 0.0f;
    return kNoteRatios[n - 1];
}

float c_TunePlayer::LetterRatio(int ch) {
    for (int i = 0; i < kNotes; ++i) {
        if (ch == kNoteLetters[i]) return kNoteRatios[i];
    }
    return 0.0f;
}

String c_TunePlayer::Progression(int k) {
    constexpr int count = static_cast<int>(sizeof(kProgressions) / sizeof(kProgressions[0]));
    if (k < 0 || k >= count) return String(kDefaultProgression);
    return String(kProgressions[k]);
}
