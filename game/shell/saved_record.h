// The saved record: everything the game remembers between runs as one line
// of decimal fields, each followed by "|", in five blocks that each end in
// their own checksum: the 25 settings, the 8 badge words, and one table per
// game mode (best and recent entries interleaved). A damaged block is judged
// by its own checksum and dropped alone; the others still load.
//
// Pure code (runtime only), so it can be tested and fuzzed without a window.
#pragma once
#include <array>

#include "runtime/string.h"

struct SavedRecord {
    static constexpr int kSettings = 25;
    static constexpr int kBadgeWords = 8;
    static constexpr int kModes = 3;
    static constexpr int kPlaces = 10;
    // Fields of each block, checksum included, and of the whole record.
    static constexpr int kSettingsFields = kSettings + 1;
    static constexpr int kBadgeFields = kBadgeWords + 1;
    static constexpr int kTableFields = 2 * kPlaces + 1;
    static constexpr int kFields = kSettingsFields + kBadgeFields + kModes * kTableFields;

    std::array<int, kSettings> settings{};
    // Word w holds badge flags 32w .. 32w + 31, flag 32w + b in bit b.
    std::array<int, kBadgeWords> badgeWords{};
    // best[t][i]: place i (0 = best) of mode t + 1; recent[t][i]: game i (0 = newest).
    std::array<std::array<int, kPlaces>, kModes> best{};
    std::array<std::array<int, kPlaces>, kModes> recent{};
};

enum class BlockResult {
    Missing,  // not enough fields: the caller keeps what it had
    Invalid,  // checksum mismatch: the caller resets the block
    Loaded,   // checksum matched: the values in the record are good
};

struct SavedRecordLoad {
    SavedRecord record;  // only the blocks reported Loaded hold read values
    BlockResult settings = BlockResult::Missing;
    BlockResult badges = BlockResult::Missing;
    std::array<BlockResult, SavedRecord::kModes> tables{BlockResult::Missing, BlockResult::Missing,
                                                         BlockResult::Missing};
};

// Checksums, in wrapping 32-bit arithmetic. settings[0] carries weight 0.
int SettingsChecksum(const std::array<int, SavedRecord::kSettings>& settings);
int BadgeChecksum(const std::array<int, SavedRecord::kBadgeWords>& words);
int TableChecksum(int table, const std::array<int, SavedRecord::kPlaces>& best,
                  const std::array<int, SavedRecord::kPlaces>& recent);

String WriteSavedRecord(const SavedRecord& record);

// Blocks are read in order, each from where the previous one ended. Once a
// block's checksum has failed, each later block is also tried where it
// stands counted from the end of the record (a separator was lost or added
// inside the damage) and where it was written (the damage kept the field
// count but the tail is off), and the place most of the remaining blocks
// agree with wins, so intact blocks behind the damage survive. Works in one
// pass over the text and allocates nothing, however long the text is.
SavedRecordLoad ReadSavedRecord(const String& text);

// One field as a number: the low byte of each unit, leading white space
// skipped, an optional sign, digits up to the first non-digit (none: 0);
// values beyond the int range saturate; NUL units are ignored.
int ParseRecordField(const char16_t* units, int length);
