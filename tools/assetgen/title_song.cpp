#include "tools/assetgen/title_song.h"

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace title_song {
namespace {

constexpr int kKitA = 0, kKitB = 1, kLead = 2, kAccompaniment = 3, kBass = 4;
constexpr int kPatternStep = 27;
constexpr int kSlideUpFine = 1, kSlideDownFine = 2;
constexpr int kCutVolume = 31;

// Drum hits by letter: a note of the kit's drum map and a volume.
struct Hit {
    int note;
    int volume;
};
const std::map<char, Hit> kKitAHits = {
    {'K', {13, 30}}, {'k', {13, 20}},  // kick
    {'S', {15, 27}}, {'s', {15, 11}},  // snare, ghost note
    {'h', {17, 14}}, {'o', {18, 16}},  // closed and open hat
    {'C', {20, 24}},                   // clap
    {'t', {22, 24}}, {'T', {24, 24}},  // low and high tom
    {'X', {25, 22}},                   // crash
};
const std::map<char, Hit> kKitBHits = {
    {'r', {13, 18}},                   // rim
    {'z', {15, 12}}, {'Z', {15, 18}},  // shaker
    {'h', {17, 12}}, {'H', {17, 19}},  // closed hat
    {'o', {18, 15}},                   // open hat
    {'b', {20, 14}},                   // tambourine
    {'l', {22, 22}}, {'g', {24, 20}},  // low and high conga
    {'x', {25, 13}},                   // zap
};

// Notes by the player's own letters (a tracker keyboard): 'q' is note 13,
// the sample's pitch (A); 'w' B, '3' C, 'r' D, 't' E, '6' F, '7' G, 'i' A
// an octave up, 'o' B, '0' C; below: 'j' G, 'b' E, 'v' D, 'd' C.
constexpr char kNoteLetters[] = "zsxdcvgbhnjmq2w3er5t6y7ui9o0p[=]";

int NoteOf(char letter) {
    for (int i = 0; kNoteLetters[i]; ++i) {
        if (kNoteLetters[i] == letter) return i + 1;
    }
    throw std::invalid_argument(std::string("not a note letter: ") + letter);
}

// Four measures of sixteen rows each make one pattern.
std::string Measures(const std::vector<std::string>& measures) {
    std::string rows;
    for (const std::string& m : measures) {
        if (m.size() != 16) throw std::invalid_argument("a measure is sixteen rows: " + m);
        rows += m;
    }
    if (rows.size() != SongImage::kRows) throw std::invalid_argument("a pattern is four measures");
    return rows;
}

void Drums(SongImage& song, int pattern, int channel, const std::map<char, Hit>& kit,
           const std::vector<std::string>& measures) {
    std::string rows = Measures(measures);
    for (int r = 0; r < SongImage::kRows; ++r) {
        if (rows[r] == '.') continue;
        auto hit = kit.find(rows[r]);
        if (hit == kit.end()) throw std::invalid_argument(std::string("not a drum letter: ") + rows[r]);
        song.Set(pattern, channel, r, {hit->second.note, hit->second.volume, 0, 0});
    }
}

// A melodic line: a note letter strikes a note at `volume`, '-' holds the
// sounding note at that volume for another stretch, '^' cuts it, '.' lets
// it ring and fade.
void Line(SongImage& song, int pattern, int channel, int volume, const std::vector<std::string>& measures) {
    std::string rows = Measures(measures);
    for (int r = 0; r < SongImage::kRows; ++r) {
        char c = rows[r];
        if (c == '.') continue;
        if (c == '-') {
            song.Set(pattern, channel, r, {0, volume, 0, 0});
        } else if (c == '^') {
            song.Set(pattern, channel, r, {0, kCutVolume, 0, 0});
        } else {
            song.Set(pattern, channel, r, {NoteOf(c), volume, 0, 0});
        }
    }
}

void Command(SongImage& song, int pattern, int channel, int row, int command, int parameter) {
    SongCell cell = song.Get(pattern, channel, row);
    cell.command = command;
    cell.parameter = parameter;
    song.Set(pattern, channel, row, cell);
}

void KitA(SongImage& song) {
    Drums(song, 0, kKitA, kKitAHits, {"K.......S.K.....", "K.......S.K.....", "K.......S.K.....", "K.......S.K.s.s."});
    Drums(song, 1, kKitA, kKitAHits, {"K..K....S.K.....", "K..K....S.K..K..", "K..K....S.K.....", "K..K....S.t.T.tT"});
    Drums(song, 2, kKitA, kKitAHits, {"K...K...S...K...", "K...K...S...K.k.", "K...K...S...K...", "K...K...S.K.SsSs"});
    Drums(song, 3, kKitA, kKitAHits, {"X.......C.......", "K.......S.......", "K.......C.....k.", "K.......S.s.S.S."});
}

void KitB(SongImage& song) {
    Drums(song, 0, kKitB, kKitBHits, {"h.H.h.H.h.H.h.H.", "h.H.h.H.h.H.h.H.", "h.H.h.H.h.H.h.H.", "h.H.h.H.h.H.o..."});
    Drums(song, 1, kKitB, kKitBHits, {"hhHhhhHhhhHhhhH.", "hhHhhhHhhhHhhho.", "hhHhhhHhhhHhhhH.", "hhHhhhHhhhHho..."});
    Drums(song, 2, kKitB, kKitBHits, {"z.zZz.zZb.zZz.zZ", "z.zZz.zZb.zZz.zZ", "z.zZz.zZb.zZz.zZ", "z.zZz.zZb.zZx..."});
    Drums(song, 3, kKitB, kKitBHits, {"l..g..l.g.l.g.g.", "l..g..l.g.l.gr..", "l..g..l.g.l.g.g.", "l..g..l.g.l.g.x."});
}

void LeadPhrases(SongImage& song) {
    // Call and answer; a soft vibrato from small alternating slides on the
    // long notes.
    Line(song, 0, kLead, 24, {"t.....r.t...i...", "7.....t.r...3...", "t.....r.t...i.o.", "0...o...i...-..."});
    Line(song, 1, kLead, 24, {"i.....7.t...r...", "3.....r.t...7...", "t...r...3...w...", "q.......-...^..."});
    Line(song, 2, kLead, 20, {"q.t.i.t.q.t.i.t.", "3.t.0.t.3.t.0.t.", "r.7.o.7.r.7.o.7.", "t.u.i.-.i.o.0.o."});
    Line(song, 3, kLead, 22, {"i.......-.......", "7.......t.......", "r.......t.......", "q.......-...^..."});
    for (int row : {57, 61}) Command(song, 0, kLead, row, kSlideUpFine, 2);
    for (int row : {59, 63}) Command(song, 0, kLead, row, kSlideDownFine, 2);
    for (int row : {2, 6}) Command(song, 3, kLead, row, kSlideUpFine, 2);
    for (int row : {4, 8}) Command(song, 3, kLead, row, kSlideDownFine, 2);
    // Row 0 steps to the partner: 0 -> 1 and 2 -> 3 in odd bars, back in even ones.
    Command(song, 0, kLead, 0, kPatternStep, 1);
    Command(song, 1, kLead, 0, kPatternStep, 2);
    Command(song, 2, kLead, 0, kPatternStep, 1);
    Command(song, 3, kLead, 0, kPatternStep, 2);
}

void Accompaniment(SongImage& song) {
    Line(song, 0, kAccompaniment, 13, {"q.3.t.3.q.3.t.3.", "q.3.t.3.q.3.t.3.", "d.j.3.j.d.j.3.j.", "j.v.7.v.b.j.t.j."});
    Line(song, 1, kAccompaniment, 16, {"..t...t...t...t.", "..t...t...3...t.", "..3...3...3...3.", "..7...7...t...t."});
    Line(song, 2, kAccompaniment, 12, {"q...-...-...-...", "3...-...-...-...", "r...-...-...-...", "t...-...-...-..."});
}

void BassLines(SongImage& song) {
    Line(song, 0, kBass, 27, {"q.....q.....q.i.", "q.....q.....q.7.", "d.....d.....d.3.", "j.....j.....b..."});
    Line(song, 1, kBass, 24, {"q.q.q.q.q.q.q.q.", "q.q.q.q.q.q.q.q.", "d.d.d.d.d.d.d.d.", "j.j.j.j.b.b.b.b."});
    Line(song, 2, kBass, 27, {"q.......-.......", "q.......-...-...", "d.......-.......", "j.......b......."});
}

}  // namespace

SongImage Compose() {
    SongImage song;
    KitA(song);
    KitB(song);
    LeadPhrases(song);
    Accompaniment(song);
    BassLines(song);
    return song;
}

}  // namespace title_song
