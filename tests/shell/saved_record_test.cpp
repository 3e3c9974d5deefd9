// The saved record on its own: its exact text, round trips, which edits a
// block's checksum notices, and damaged texts of every kind.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "game/shell/saved_record.h"

namespace {

constexpr int kBlocks = 2 + SavedRecord::kModes;  // settings, badges, three tables
constexpr int kBlockFields[kBlocks] = {SavedRecord::kSettingsFields, SavedRecord::kBadgeFields,
                                       SavedRecord::kTableFields, SavedRecord::kTableFields,
                                       SavedRecord::kTableFields};

String Ascii(const std::string& s) { return String(s.c_str()); }

std::string Narrow(const String& s) { return s.ToNarrow(); }

SavedRecord RandomRecord(std::mt19937& rng) {
    std::uniform_int_distribution<int> any(INT_MIN, INT_MAX);
    std::uniform_int_distribution<int> score(1, 5000000);
    SavedRecord r;
    for (int& v : r.settings) v = any(rng) % 1000;
    for (int& w : r.badgeWords) w = any(rng);
    for (int t = 0; t < SavedRecord::kModes; ++t)
        for (int i = 0; i < SavedRecord::kPlaces; ++i) {
            r.best[t][i] = score(rng);
            r.recent[t][i] = score(rng);
        }
    return r;
}

// What a player's file typically holds: defaults, a few scores, zeros.
SavedRecord PlayedRecord() {
    SavedRecord r;
    r.settings[1] = 5;
    r.settings[5] = 1;
    r.settings[10] = r.settings[11] = 64;
    r.settings[12] = 10;
    r.best[1][0] = 120;
    r.best[1][1] = 45;
    r.recent[1][0] = 45;
    r.recent[1][1] = 120;
    r.best[0][0] = 5;
    r.recent[0][0] = 5;
    return r;
}

bool SameSettings(const SavedRecord& a, const SavedRecord& b) { return a.settings == b.settings; }
bool SameBadges(const SavedRecord& a, const SavedRecord& b) { return a.badgeWords == b.badgeWords; }
bool SameTable(const SavedRecord& a, const SavedRecord& b, int t) {
    return a.best[t] == b.best[t] && a.recent[t] == b.recent[t];
}

void ExpectAllLoaded(const SavedRecordLoad& load) {
    EXPECT_EQ(load.settings, BlockResult::Loaded);
    EXPECT_EQ(load.badges, BlockResult::Loaded);
    for (BlockResult t : load.tables) EXPECT_EQ(t, BlockResult::Loaded);
}

void ExpectSameRecord(const SavedRecord& a, const SavedRecord& b) {
    EXPECT_TRUE(SameSettings(a, b));
    EXPECT_TRUE(SameBadges(a, b));
    for (int t = 0; t < SavedRecord::kModes; ++t) EXPECT_TRUE(SameTable(a, b, t)) << "table " << t;
}

// Where the field with the given index (0-based) of a written record begins.
size_t FieldStart(const std::string& text, int field) {
    size_t begin = 0;
    for (int i = 0; i < field; ++i) begin = text.find('|', begin) + 1;
    return begin;
}

// Replaces the field with the given index.
std::string WithField(const std::string& text, int field, const std::string& value) {
    size_t begin = FieldStart(text, field);
    return text.substr(0, begin) + value + text.substr(text.find('|', begin));
}

// Removes the field with the given index together with its separator.
std::string WithoutField(const std::string& text, int field) {
    size_t begin = FieldStart(text, field);
    return text.substr(0, begin) + text.substr(text.find('|', begin) + 1);
}

TEST(SavedRecordText, KnownRecordIsWrittenExactly) {
    SavedRecord r;
    r.settings[1] = 5;
    r.settings[5] = 1;
    r.settings[10] = 64;
    r.settings[11] = 64;
    r.settings[12] = 10;
    r.badgeWords[0] = 1;
    r.badgeWords[7] = INT_MIN;  // badge 255: bit 31 of the last word
    r.best[0][0] = 500;
    r.best[0][1] = 300;
    r.recent[0][0] = 300;
    r.recent[0][1] = 500;
    r.best[2][0] = 7;
    r.recent[2][0] = 7;
    // Checksums by hand: settings 1*5 + 5*1 + 10*64 + 11*64 + 12*10 = 1474;
    // badges 1 - 2^31 = -2147483647; mode 1: 4*500 + 5*300 + 3*300 + 4*500 = 6400;
    // mode 2: 0; mode 3: 4*7 + 5*7 = 63.
    std::string expected =
        "0|5|0|0|0|1|0|0|0|0|64|64|10|0|0|0|0|0|0|0|0|0|0|0|0|1474|"
        "1|0|0|0|0|0|0|-2147483648|-2147483647|"
        "500|300|300|500|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|6400|"
        "0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|"
        "7|7|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|63|";
    EXPECT_EQ(Narrow(WriteSavedRecord(r)), expected);

    SavedRecordLoad load = ReadSavedRecord(Ascii(expected));
    ExpectAllLoaded(load);
    EXPECT_EQ(load.record.badgeWords[7], INT_MIN);
    ExpectSameRecord(load.record, r);
}

TEST(SavedRecordRoundTrip, WrittenRecordsReadBackExactly) {
    std::mt19937 rng(7);
    for (int k = 0; k < 200; ++k) {
        SavedRecord r = RandomRecord(rng);
        SavedRecordLoad load = ReadSavedRecord(WriteSavedRecord(r));
        ExpectAllLoaded(load);
        ExpectSameRecord(load.record, r);
    }
    SavedRecord negative;
    negative.settings[3] = -5;
    negative.best[1][4] = -100;
    negative.recent[2][9] = INT_MIN;
    SavedRecordLoad load = ReadSavedRecord(WriteSavedRecord(negative));
    ExpectAllLoaded(load);
    ExpectSameRecord(load.record, negative);
}

TEST(SavedRecordRoundTrip, UnicodeEncodingsOfTheFileReadTheSame) {
    std::mt19937 rng(11);
    SavedRecord r = RandomRecord(rng);
    std::string text = Narrow(WriteSavedRecord(r));
    std::vector<unsigned char> le{0xFF, 0xFE}, be{0xFE, 0xFF}, utf8bom{0xEF, 0xBB, 0xBF};
    for (char c : text) {
        le.push_back(static_cast<unsigned char>(c));
        le.push_back(0);
        be.push_back(0);
        be.push_back(static_cast<unsigned char>(c));
        utf8bom.push_back(static_cast<unsigned char>(c));
    }
    for (const auto* bytes : {&le, &be, &utf8bom}) {
        SavedRecordLoad load = ReadSavedRecord(String::Decode(bytes->data(), bytes->size()));
        ExpectAllLoaded(load);
        ExpectSameRecord(load.record, r);
    }
    // UTF-16 without its mark reads as UTF-8 with NULs between the
    // characters; they are passed over, so the record still loads.
    for (const auto* marked : {&le, &be}) {
        std::vector<unsigned char> bare(marked->begin() + 2, marked->end());
        SavedRecordLoad load = ReadSavedRecord(String::Decode(bare.data(), bare.size()));
        ExpectAllLoaded(load);
        ExpectSameRecord(load.record, r);
    }
}

TEST(SavedRecordEdits, SettingZeroIsNotCheckedEveryOtherSettingIs) {
    std::string text = Narrow(WriteSavedRecord(PlayedRecord()));
    SavedRecordLoad first = ReadSavedRecord(Ascii(WithField(text, 0, "99")));
    ExpectAllLoaded(first);
    EXPECT_EQ(first.record.settings[0], 99);
    for (int i = 1; i < SavedRecord::kSettings; ++i) {
        SavedRecordLoad load = ReadSavedRecord(Ascii(WithField(text, i, "77")));
        EXPECT_EQ(load.settings, BlockResult::Invalid) << "setting " << i;
        EXPECT_EQ(load.badges, BlockResult::Loaded);
        for (int t = 0; t < SavedRecord::kModes; ++t) {
            EXPECT_EQ(load.tables[t], BlockResult::Loaded);
            EXPECT_TRUE(SameTable(load.record, PlayedRecord(), t));
        }
    }
}

TEST(SavedRecordEdits, SwappedBadgeWordsStayValidAChangedWordDoesNot) {
    SavedRecord r;
    r.badgeWords[0] = 5;
    r.badgeWords[6] = -8;
    std::string text = Narrow(WriteSavedRecord(r));
    int w0 = SavedRecord::kSettingsFields;
    std::string swapped = WithField(WithField(text, w0, "-8"), w0 + 6, "5");
    SavedRecordLoad load = ReadSavedRecord(Ascii(swapped));
    EXPECT_EQ(load.badges, BlockResult::Loaded);
    EXPECT_EQ(load.record.badgeWords[0], -8);
    EXPECT_EQ(load.record.badgeWords[6], 5);
    EXPECT_EQ(ReadSavedRecord(Ascii(WithField(text, w0 + 3, "1"))).badges, BlockResult::Invalid);
}

TEST(SavedRecordEdits, ATableEditInvalidatesOnlyThatTable) {
    std::string text = Narrow(WriteSavedRecord(PlayedRecord()));
    int table2 = SavedRecord::kSettingsFields + SavedRecord::kBadgeFields + SavedRecord::kTableFields;
    SavedRecordLoad load = ReadSavedRecord(Ascii(WithField(text, table2 + 3, "999999")));
    EXPECT_EQ(load.settings, BlockResult::Loaded);
    EXPECT_EQ(load.badges, BlockResult::Loaded);
    EXPECT_EQ(load.tables[0], BlockResult::Loaded);
    EXPECT_EQ(load.tables[1], BlockResult::Invalid);
    EXPECT_EQ(load.tables[2], BlockResult::Loaded);
}

TEST(SavedRecordFields, NumbersAreReadLikeTheCLibraryButSaturate) {
    auto parse = [](const std::u16string& s) { return ParseRecordField(s.data(), static_cast<int>(s.size())); };
    EXPECT_EQ(parse(u"42"), 42);
    EXPECT_EQ(parse(u"  \t\n-17"), -17);
    EXPECT_EQ(parse(u"+8"), 8);
    EXPECT_EQ(parse(u"12abc"), 12);
    EXPECT_EQ(parse(u"abc"), 0);
    EXPECT_EQ(parse(u""), 0);
    EXPECT_EQ(parse(u"-"), 0);
    EXPECT_EQ(parse(u"- 5"), 0);
    EXPECT_EQ(parse(u"99999999999999999999999999"), INT_MAX);
    EXPECT_EQ(parse(u"-99999999999999999999999999"), INT_MIN);
    EXPECT_EQ(parse(u"2147483647"), INT_MAX);
    EXPECT_EQ(parse(u"-2147483648"), INT_MIN);
    EXPECT_EQ(parse(u"2147483648"), INT_MAX);
    // Only the low byte of a unit counts: U+0131 reads as '1', U+0100 ends the number.
    EXPECT_EQ(parse(u"\u0131\u0132"), 12);
    EXPECT_EQ(parse(u"5\u01007"), 5);
    EXPECT_EQ(parse(std::u16string(u"\0-\0" u"1\0" u"2", 6)), -12);
}

TEST(SavedRecordDamage, EmptyAndShortTextsSkipWhatIsMissing) {
    SavedRecordLoad empty = ReadSavedRecord(String());
    EXPECT_EQ(empty.settings, BlockResult::Missing);
    EXPECT_EQ(empty.badges, BlockResult::Missing);
    for (BlockResult t : empty.tables) EXPECT_EQ(t, BlockResult::Missing);

    // Every cut of a record keeps the blocks that ended before the cut.
    SavedRecord r = PlayedRecord();
    std::string text = Narrow(WriteSavedRecord(r));
    std::vector<size_t> blockEnds;  // index just past each block's checksum field
    int field = 0;
    size_t at = 0;
    for (int b = 0; b < kBlocks; ++b) {
        for (int i = 0; i < kBlockFields[b]; ++i, ++field) at = text.find('|', at) + 1;
        blockEnds.push_back(at - 1);
    }
    for (size_t cut = 0; cut <= text.size(); ++cut) {
        SavedRecordLoad load = ReadSavedRecord(Ascii(text.substr(0, cut)));
        BlockResult results[kBlocks] = {load.settings, load.badges, load.tables[0], load.tables[1], load.tables[2]};
        for (int b = 0; b < kBlocks; ++b) {
            if (cut >= blockEnds[b]) {
                EXPECT_EQ(results[b], BlockResult::Loaded) << "cut " << cut << " block " << b;
            }
        }
        if (cut >= blockEnds[0]) {
            EXPECT_TRUE(SameSettings(load.record, r));
        }
    }
}

TEST(SavedRecordDamage, LostOrExtraSeparatorsCostOnlyTheirBlock) {
    SavedRecord r = PlayedRecord();
    r.badgeWords = {3, 0, 0, 1 << 20, 0, 0, 0, -1};
    std::string text = Narrow(WriteSavedRecord(r));
    // A separator lost inside the settings: the blocks behind still load.
    size_t third = text.find('|', text.find('|', text.find('|') + 1) + 1);
    SavedRecordLoad lost = ReadSavedRecord(Ascii(text.substr(0, third) + text.substr(third + 1)));
    EXPECT_EQ(lost.settings, BlockResult::Invalid);
    EXPECT_EQ(lost.badges, BlockResult::Loaded);
    for (int t = 0; t < SavedRecord::kModes; ++t) {
        EXPECT_EQ(lost.tables[t], BlockResult::Loaded);
        EXPECT_TRUE(SameTable(lost.record, r, t));
    }
    // An extra field in the badge words: settings before and tables behind survive.
    std::string extra = WithField(text, SavedRecord::kSettingsFields + 2, "0|0");
    SavedRecordLoad added = ReadSavedRecord(Ascii(extra));
    EXPECT_EQ(added.settings, BlockResult::Loaded);
    EXPECT_EQ(added.badges, BlockResult::Invalid);
    for (int t = 0; t < SavedRecord::kModes; ++t) EXPECT_EQ(added.tables[t], BlockResult::Loaded);
    ExpectSameRecord(added.record, [&] {
        SavedRecord expect = r;
        expect.badgeWords = {};
        return expect;
    }());
}

// A hand-edited setting plus a tail that is off by a field: the tables are
// found where they were written even when a block of zeros matched at a
// shifted place first.
TEST(SavedRecordDamage, AnEditedSettingAndAnOffTailKeepTheTables) {
    SavedRecord r;  // mode 1 never played: its table is all zeros
    r.settings[5] = 1;
    r.settings[10] = r.settings[11] = 64;
    r.settings[12] = 10;
    r.best[1] = {930, 415, 415, 60, 0, 0, 0, 0, 0, 0};
    r.recent[1] = {415, 60, 930, 415, 0, 0, 0, 0, 0, 0};
    r.best[2] = {75, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    r.recent[2] = {75, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::string edited = WithField(Narrow(WriteSavedRecord(r)), 3, "2");
    const std::string tails[] = {edited.substr(0, edited.size() - 1), edited + "0|", edited + "12"};
    for (const std::string& text : tails) {
        SavedRecordLoad load = ReadSavedRecord(Ascii(text));
        EXPECT_EQ(load.settings, BlockResult::Invalid) << text;
        EXPECT_EQ(load.badges, BlockResult::Loaded) << text;
        for (int t = 0; t < SavedRecord::kModes; ++t) {
            EXPECT_EQ(load.tables[t], BlockResult::Loaded) << "table " << t << ": " << text;
            EXPECT_TRUE(SameTable(load.record, r, t)) << "table " << t << ": " << text;
        }
    }
}

// A played game's record with a changed setting (same field count) and, further
// on, a field lost from the front of mode 1's table: the badges are read where
// they stand, not where the shifted tail would put them, and the tables behind
// the loss are found from the end.
TEST(SavedRecordDamage, AnEditedSettingAndALostFieldBehindKeepTheOtherBlocks) {
    SavedRecord r = PlayedRecord();
    r.best[0] = r.recent[0] = {};
    r.best[1] = r.recent[1] = {};
    r.best[2][0] = r.recent[2][0] = 474;
    r.badgeWords[6] = 1 << 20;
    std::string text = WithField(Narrow(WriteSavedRecord(r)), 5, "0");
    int table1 = SavedRecord::kSettingsFields + SavedRecord::kBadgeFields;
    text = WithoutField(text, table1);
    SavedRecordLoad load = ReadSavedRecord(Ascii(text));
    EXPECT_EQ(load.settings, BlockResult::Invalid);
    EXPECT_EQ(load.badges, BlockResult::Loaded);
    EXPECT_EQ(load.record.badgeWords[6], 1 << 20);
    EXPECT_TRUE(SameBadges(load.record, r));
    for (int t = 1; t < SavedRecord::kModes; ++t) {
        EXPECT_EQ(load.tables[t], BlockResult::Loaded) << "table " << t;
        EXPECT_TRUE(SameTable(load.record, r, t)) << "table " << t;
    }
}

TEST(SavedRecordDamage, HugeTextsAreReadInOnePass) {
    SavedRecord r = PlayedRecord();
    std::string record = Narrow(WriteSavedRecord(r));
    std::string junk;
    junk.reserve(8 << 20);
    while (junk.size() < (8u << 20)) junk += "123456789|";
    // Junk behind a record: the blocks are all in front.
    ExpectAllLoaded(ReadSavedRecord(Ascii(record + junk)));
    // Junk in front of a record: every block is found from the end.
    SavedRecordLoad behind = ReadSavedRecord(Ascii(junk + record));
    ExpectAllLoaded(behind);
    ExpectSameRecord(behind.record, r);
    // Only separators, or one endless number.
    EXPECT_EQ(ReadSavedRecord(Ascii(std::string(4 << 20, '|'))).settings, BlockResult::Loaded);  // all zeros
    EXPECT_EQ(ReadSavedRecord(Ascii(std::string(4 << 20, '9'))).settings, BlockResult::Missing);
}

TEST(SavedRecordDamage, BinaryNoiseNeverCrashes) {
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 2000);
    for (int k = 0; k < 2000; ++k) {
        std::vector<unsigned char> bytes(static_cast<size_t>(length(rng)));
        for (auto& b : bytes) b = static_cast<unsigned char>(k % 2 ? byte(rng) : "0123456789-|"[byte(rng) % 12]);
        SavedRecordLoad load = ReadSavedRecord(String::Decode(bytes.data(), bytes.size()));
        // Whatever loads must be self-consistent: writing it gives its checksum back.
        if (load.settings == BlockResult::Loaded) {
            SavedRecordLoad again = ReadSavedRecord(WriteSavedRecord(load.record));
            EXPECT_TRUE(SameSettings(again.record, load.record));
        }
    }
}

// Which blocks each character of a written record belongs to: the fields of a
// block and their separators; the separator that ends a block's checksum
// also touches the next block's first field.
std::vector<std::set<int>> BlockMap(const std::string& text) {
    std::vector<std::set<int>> owners(text.size());
    size_t at = 0;
    for (int b = 0; b < kBlocks; ++b) {
        for (int i = 0; i < kBlockFields[b]; ++i) {
            size_t sep = text.find('|', at);
            for (size_t c = at; c <= sep; ++c) owners[c].insert(b);
            if (i == kBlockFields[b] - 1 && b + 1 < kBlocks) owners[sep].insert(b + 1);
            at = sep + 1;
        }
    }
    return owners;
}

std::string RandomPiece(std::mt19937& rng) {
    static const char kAlphabet[] = "0123456789|||-+ x\xff";
    std::uniform_int_distribution<int> len(1, 12), pick(0, sizeof(kAlphabet) - 2);
    std::string s;
    for (int n = len(rng); n > 0; --n) s += kAlphabet[pick(rng)];
    return s;
}

// One mutation at a position in [lo, hi): overwrite, insert, delete or
// duplicate a span of at most 30 characters. Adds the blocks whose characters
// it touched (positions as in `owners`, the map of the unmutated record).
std::string Mutate(const std::string& text, const std::vector<std::set<int>>& owners, size_t lo, size_t hi,
                   std::mt19937& rng, std::set<int>& damaged) {
    auto touch = [&](size_t c) {
        if (c < owners.size()) damaged.insert(owners[c].begin(), owners[c].end());
    };
    std::uniform_int_distribution<size_t> pos(lo, hi - 1);
    std::uniform_int_distribution<int> kind(0, 3), span(1, 30);
    size_t a = pos(rng);
    size_t b = std::min(text.size(), a + static_cast<size_t>(span(rng)));
    switch (kind(rng)) {
        case 0: {  // overwrite
            std::string piece = RandomPiece(rng);
            b = std::min(text.size(), a + piece.size());
            for (size_t c = a; c < b; ++c) touch(c);
            return text.substr(0, a) + piece.substr(0, b - a) + text.substr(b);
        }
        case 1:  // insert before a
            touch(a);
            if (a > 0) touch(a - 1);
            return text.substr(0, a) + RandomPiece(rng) + text.substr(a);
        case 2:  // delete [a, b)
            for (size_t c = a; c < b; ++c) touch(c);
            return text.substr(0, a) + text.substr(b);
        default:  // duplicate [a, b) right after itself
            touch(b);
            touch(b - 1);
            return text.substr(0, b) + text.substr(a, b - a) + text.substr(b);
    }
}

struct Outcome {
    BlockResult results[kBlocks];
    bool same[kBlocks];
};

Outcome Judge(const SavedRecordLoad& load, const SavedRecord& original) {
    return {{load.settings, load.badges, load.tables[0], load.tables[1], load.tables[2]},
            {SameSettings(load.record, original), SameBadges(load.record, original),
             SameTable(load.record, original, 0), SameTable(load.record, original, 1),
             SameTable(load.record, original, 2)}};
}

// One damaged region: every block it did not touch loads unchanged.
void CheckOneDamage(const SavedRecord& original, int seed, int rounds) {
    std::mt19937 rng(static_cast<unsigned>(seed));
    std::string text = Narrow(WriteSavedRecord(original));
    std::vector<std::set<int>> owners = BlockMap(text);
    for (int k = 0; k < rounds; ++k) {
        std::set<int> damaged;
        std::string mutated = Mutate(text, owners, 0, text.size(), rng, damaged);
        Outcome o = Judge(ReadSavedRecord(Ascii(mutated)), original);
        for (int b = 0; b < kBlocks; ++b) {
            if (damaged.count(b)) continue;
            ASSERT_EQ(o.results[b], BlockResult::Loaded) << "round " << k << " block " << b << ": " << mutated;
            ASSERT_TRUE(o.same[b]) << "round " << k << " block " << b << ": " << mutated;
        }
    }
}

// Two damaged regions: the blocks in front of the first and behind the last
// still load unchanged.
void CheckTwoDamages(const SavedRecord& original, int seed, int rounds) {
    std::mt19937 rng(static_cast<unsigned>(seed));
    std::string text = Narrow(WriteSavedRecord(original));
    std::vector<std::set<int>> owners = BlockMap(text);
    size_t mid = text.size() / 2;
    for (int k = 0; k < rounds; ++k) {
        std::set<int> damaged;
        // The later region first, so that the earlier one's positions still hold.
        std::string mutated = Mutate(text, owners, mid, text.size(), rng, damaged);
        mutated = Mutate(mutated, owners, 0, mid - 40, rng, damaged);
        Outcome o = Judge(ReadSavedRecord(Ascii(mutated)), original);
        for (int b = 0; b < kBlocks; ++b) {
            if (b >= *damaged.begin() && b <= *damaged.rbegin()) continue;
            ASSERT_EQ(o.results[b], BlockResult::Loaded) << "round " << k << " block " << b << ": " << mutated;
            ASSERT_TRUE(o.same[b]) << "round " << k << " block " << b << ": " << mutated;
        }
    }
}

// The text of a written record with its end changed: the final separator
// lost, one to three fields added (zeros most often, as they are what can
// pass a checksum at a shifted place), or the last field cut short. Adds the
// last table to damaged when the cut changes the last field's value.
std::string ChangeTail(const std::string& text, std::mt19937& rng, std::set<int>& damaged) {
    std::uniform_int_distribution<int> kind(0, 2), extra(1, 3), digit(0, 9);
    std::string body = text.substr(0, text.size() - 1);  // without the final "|"
    switch (kind(rng)) {
        case 0:
            return body;
        case 1: {
            std::string out = text;
            for (int n = extra(rng); n > 0; --n) out += (digit(rng) < 7 ? "0" : std::to_string(digit(rng))) + "|";
            if (digit(rng) < 3) out.pop_back();  // the added fields may lack their last separator too
            return out;
        }
        default: {
            size_t lastField = body.rfind('|') + 1;
            std::string last = body.substr(lastField);
            std::uniform_int_distribution<size_t> keep(0, last.size() - 1);
            std::string cut = last.substr(0, keep(rng));
            auto value = [](const std::string& s) {
                std::u16string u(s.begin(), s.end());
                return ParseRecordField(u.data(), static_cast<int>(u.size()));
            };
            if (value(cut) != value(last)) damaged.insert(kBlocks - 1);
            return body.substr(0, lastField) + cut;
        }
    }
}

int FirstFieldOf(int block) {
    int first = 0;
    for (int i = 0; i < block; ++i) first += kBlockFields[i];
    return first;
}

// The field count of a block changed inside it: a field lost, a field
// added (a zero most often), or two fields run together by a lost separator.
// The block becomes damaged; so does the next one when the merge reaches it.
std::string ChangeCountInside(const std::string& text, int block, std::mt19937& rng, std::set<int>& damaged) {
    std::uniform_int_distribution<int> kind(0, 2), digit(0, 9);
    std::uniform_int_distribution<int> field(FirstFieldOf(block), FirstFieldOf(block) + kBlockFields[block] - 1);
    int f = field(rng);
    damaged.insert(block);
    switch (kind(rng)) {
        case 0:
            return WithoutField(text, f);
        case 1: {
            size_t at = FieldStart(text, f);
            std::string added = digit(rng) < 7 ? "0" : std::to_string(digit(rng) * 37);
            return text.substr(0, at) + added + "|" + text.substr(at);
        }
        default: {
            if (f == FirstFieldOf(block) + kBlockFields[block] - 1 && block + 1 < kBlocks) damaged.insert(block + 1);
            size_t separator = text.find('|', FieldStart(text, f));
            return text.substr(0, separator) + text.substr(separator + 1);
        }
    }
}

// One block damaged by one to three edited numbers (its field count kept),
// followed by a changed field count: inside a later block, or at the tail.
// Every other block still loads unchanged.
void CheckDamageThenCountChange(const SavedRecord& original, int seed, int rounds) {
    std::mt19937 rng(static_cast<unsigned>(seed));
    std::string text = Narrow(WriteSavedRecord(original));
    std::uniform_int_distribution<int> block(0, kBlocks - 1), edits(1, 3), number(-99, 99999), coin(0, 1);
    for (int k = 0; k < rounds; ++k) {
        int b = block(rng);
        std::set<int> damaged{b};
        int first = FirstFieldOf(b);
        std::uniform_int_distribution<int> field(first, first + kBlockFields[b] - 1);
        std::string mutated = text;
        for (int n = edits(rng); n > 0; --n) mutated = WithField(mutated, field(rng), std::to_string(number(rng)));
        if (b + 1 < kBlocks && coin(rng)) {
            std::uniform_int_distribution<int> later(b + 1, kBlocks - 1);
            mutated = ChangeCountInside(mutated, later(rng), rng, damaged);
        } else {
            mutated = ChangeTail(mutated, rng, damaged);
        }
        Outcome o = Judge(ReadSavedRecord(Ascii(mutated)), original);
        for (int c = 0; c < kBlocks; ++c) {
            if (damaged.count(c)) continue;
            ASSERT_EQ(o.results[c], BlockResult::Loaded) << "round " << k << " block " << c << ": " << mutated;
            ASSERT_TRUE(o.same[c]) << "round " << k << " block " << c << ": " << mutated;
        }
    }
}

TEST(SavedRecordDamage, RandomCorruptionCostsOnlyTheDamagedBlock) {
    std::mt19937 rng(2024);
    for (int n = 0; n < 5; ++n) CheckOneDamage(RandomRecord(rng), n, 1000);
    CheckOneDamage(PlayedRecord(), 99, 3000);
}

TEST(SavedRecordDamage, ADamagedBlockAndACountChangeBehindItSpareEveryOtherBlock) {
    std::mt19937 rng(4711);
    for (int n = 0; n < 3; ++n) CheckDamageThenCountChange(RandomRecord(rng), 300 + n, 1000);
    CheckDamageThenCountChange(PlayedRecord(), 31, 3000);
    SavedRecord sparse;  // one mode played once, everything else zero
    sparse.best[2][0] = sparse.recent[2][0] = 40;
    CheckDamageThenCountChange(sparse, 32, 3000);
}

TEST(SavedRecordDamage, TwoDamagedRegionsSpareTheBlocksOutsideThem) {
    std::mt19937 rng(77);
    for (int n = 0; n < 3; ++n) CheckTwoDamages(RandomRecord(rng), 100 + n, 1000);
    CheckTwoDamages(PlayedRecord(), 5, 2000);
}

}  // namespace
