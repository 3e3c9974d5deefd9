#include "game/shell/saved_record.h"

#include <climits>
#include <cstdint>
#include <string>

namespace {

using Settings = std::array<int, SavedRecord::kSettings>;
using BadgeWords = std::array<int, SavedRecord::kBadgeWords>;
using Places = std::array<int, SavedRecord::kPlaces>;

constexpr int kSettingsStart = 0;
constexpr int kBadgesStart = kSettingsStart + SavedRecord::kSettingsFields;
constexpr int kTablesStart = kBadgesStart + SavedRecord::kBadgeFields;
// A record written whole splits into its fields plus the empty piece after
// the final "|".
constexpr int kWrittenPieces = SavedRecord::kFields + 1;
constexpr int kLargestBlock = SavedRecord::kSettingsFields;
static_assert(kLargestBlock >= SavedRecord::kBadgeFields && kLargestBlock >= SavedRecord::kTableFields);

int Wrap(std::uint32_t sum) { return static_cast<int>(sum); }

bool IsSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Where the fields of a text lie, without splitting it. Only the first and
// the last kKeep separators are remembered: every field a block can be read
// from lies among the first or the last kWrittenPieces fields.
class RecordFields {
public:
    explicit RecordFields(const String& text) : units_(text.Data()), length_(text.Length()) {
        for (int i = 0; i < length_; ++i) {
            if (units_[i] != u'|') continue;
            if (separators_ < kKeep) head_[separators_] = i;
            tail_[separators_ % kKeep] = i;
            ++separators_;
        }
    }

    int Count() const { return separators_ + 1; }

    int Value(int field) const {
        int begin = SeparatorAt(field - 1) + 1;
        int end = SeparatorAt(field);
        return ParseRecordField(units_ + begin, end - begin);
    }

private:
    static constexpr int kKeep = kWrittenPieces + 1;

    // Separator j ends field j; the text's ends stand in for separators -1
    // and Count() - 1.
    int SeparatorAt(int j) const {
        if (j < 0) return -1;
        if (j >= separators_) return length_;
        if (j < kKeep) return head_[j];
        return tail_[j % kKeep];  // j >= separators_ - kKeep by the callers' ranges
    }

    const char16_t* units_;
    int length_;
    int separators_ = 0;
    std::array<int, kKeep> head_{};
    std::array<int, kKeep> tail_{};
};

// One block: where a written record holds it, how many fields it has
// (checksum last), and how to check and keep its values.
struct BlockReader {
    int writtenStart;
    int fields;
    // Checks values[0 .. fields - 2] against the checksum; stores them when good.
    bool (*accept)(const int* values, int checksum, int table, SavedRecord& out);
    int table;
};

bool AcceptSettings(const int* values, int checksum, int, SavedRecord& out) {
    Settings s;
    for (int i = 0; i < SavedRecord::kSettings; ++i) s[i] = values[i];
    if (SettingsChecksum(s) != checksum) return false;
    out.settings = s;
    return true;
}

bool AcceptBadges(const int* values, int checksum, int, SavedRecord& out) {
    BadgeWords w;
    for (int i = 0; i < SavedRecord::kBadgeWords; ++i) w[i] = values[i];
    if (BadgeChecksum(w) != checksum) return false;
    out.badgeWords = w;
    return true;
}

bool AcceptTable(const int* values, int checksum, int table, SavedRecord& out) {
    Places best, recent;
    for (int i = 0; i < SavedRecord::kPlaces; ++i) {
        best[i] = values[2 * i];
        recent[i] = values[2 * i + 1];
    }
    if (TableChecksum(table, best, recent) != checksum) return false;
    out.best[table] = best;
    out.recent[table] = recent;
    return true;
}

bool TryBlock(const RecordFields& f, const BlockReader& block, int start, SavedRecord& out) {
    std::array<int, kLargestBlock> values{};
    for (int i = 0; i < block.fields; ++i) values[i] = f.Value(start + i);
    return block.accept(values.data(), values[block.fields - 1], block.table, out);
}

bool Fits(const RecordFields& f, int start, int fields) { return start >= 0 && start + fields <= f.Count(); }

constexpr int kBlocks = 2 + SavedRecord::kModes;
using Blocks = std::array<BlockReader, kBlocks>;

// How many of the blocks from `first` on check out when each stands `shift`
// fields from where it was written; none unless the first one does.
int AgreeingBlocks(const RecordFields& f, const Blocks& blocks, int first, int shift) {
    SavedRecord scratch;
    int agreeing = 0;
    for (int k = first; k < kBlocks; ++k) {
        int start = blocks[k].writtenStart + shift;
        bool good = Fits(f, start, blocks[k].fields) && TryBlock(f, blocks[k], start, scratch);
        if (!good && k == first) return 0;
        agreeing += good ? 1 : 0;
    }
    return agreeing;
}

// Reads block k at `position`, advancing it past the block. Until a block has
// failed, the damage (if any) lies further on and the position is trusted.
// After that the blocks behind the damage may stand where the position says
// (the damage kept the field count), where they stand counted from the end
// (the count changed inside the damage) or where they were written (an
// earlier guess was off). A weak sum over zeros can match at a wrong place,
// so the place with which the most of the remaining blocks agree wins; on a
// tie the end comes first, then the position, then the written place.
BlockResult ReadBlock(const RecordFields& f, const Blocks& blocks, int k, int& position, bool& trustEnd,
                      SavedRecord& out) {
    const BlockReader& block = blocks[k];
    bool present = Fits(f, position, block.fields);
    if (!trustEnd && present && TryBlock(f, block, position, out)) {
        position += block.fields;
        return BlockResult::Loaded;
    }
    trustEnd = true;
    int fromEnd = block.writtenStart + f.Count() - kWrittenPieces;
    int bestStart = 0, mostAgreeing = 0;
    for (int start : {fromEnd, position, block.writtenStart}) {
        int agreeing = AgreeingBlocks(f, blocks, k, start - block.writtenStart);
        if (agreeing > mostAgreeing) {
            mostAgreeing = agreeing;
            bestStart = start;
        }
    }
    if (mostAgreeing > 0) {
        TryBlock(f, block, bestStart, out);
        position = bestStart + block.fields;
        return BlockResult::Loaded;
    }
    if (!present) return BlockResult::Missing;
    position += block.fields;
    return BlockResult::Invalid;
}

void AppendField(std::string& out, int value) {
    out += std::to_string(value);
    out += '|';
}

}  // namespace

int SettingsChecksum(const Settings& settings) {
    std::uint32_t sum = 0;
    for (int i = 0; i < SavedRecord::kSettings; ++i)
        sum += static_cast<std::uint32_t>(i) * static_cast<std::uint32_t>(settings[i]);
    return Wrap(sum);
}

int BadgeChecksum(const BadgeWords& words) {
    std::uint32_t sum = 0;
    for (int w : words) sum += static_cast<std::uint32_t>(w);
    return Wrap(sum);
}

int TableChecksum(int table, const Places& best, const Places& recent) {
    std::uint32_t sum = 0;
    for (int i = 0; i < SavedRecord::kPlaces; ++i) {
        sum += static_cast<std::uint32_t>(i + 4) * static_cast<std::uint32_t>(best[i]);
        sum += static_cast<std::uint32_t>(i + 3 + table) * static_cast<std::uint32_t>(recent[i]);
    }
    return Wrap(sum);
}

String WriteSavedRecord(const SavedRecord& r) {
    std::string out;
    out.reserve(1024);
    for (int v : r.settings) AppendField(out, v);
    AppendField(out, SettingsChecksum(r.settings));
    for (int v : r.badgeWords) AppendField(out, v);
    AppendField(out, BadgeChecksum(r.badgeWords));
    for (int t = 0; t < SavedRecord::kModes; ++t) {
        for (int i = 0; i < SavedRecord::kPlaces; ++i) {
            AppendField(out, r.best[t][i]);
            AppendField(out, r.recent[t][i]);
        }
        AppendField(out, TableChecksum(t, r.best[t], r.recent[t]));
    }
    return String(out.c_str());
}

SavedRecordLoad ReadSavedRecord(const String& text) {
    const Blocks blocks = {{
        {kSettingsStart, SavedRecord::kSettingsFields, AcceptSettings, 0},
        {kBadgesStart, SavedRecord::kBadgeFields, AcceptBadges, 0},
        {kTablesStart, SavedRecord::kTableFields, AcceptTable, 0},
        {kTablesStart + SavedRecord::kTableFields, SavedRecord::kTableFields, AcceptTable, 1},
        {kTablesStart + 2 * SavedRecord::kTableFields, SavedRecord::kTableFields, AcceptTable, 2},
    }};
    SavedRecordLoad load;
    RecordFields fields(text);
    int position = 0;
    bool trustEnd = false;
    std::array<BlockResult*, kBlocks> results = {&load.settings, &load.badges, &load.tables[0], &load.tables[1],
                                                 &load.tables[2]};
    for (int k = 0; k < kBlocks; ++k) *results[k] = ReadBlock(fields, blocks, k, position, trustEnd, load.record);
    return load;
}

int ParseRecordField(const char16_t* units, int length) {
    // NUL units are passed over: they are what a UTF-16 file without its
    // byte-order mark leaves between the digits once read as UTF-8.
    int i = 0;
    auto next = [&]() -> int {
        while (i < length && units[i] == 0) ++i;
        return i < length ? static_cast<unsigned char>(units[i]) : -1;
    };
    while (next() >= 0 && IsSpace(static_cast<unsigned char>(next()))) ++i;
    bool negative = false;
    if (next() == '-' || next() == '+') {
        negative = next() == '-';
        ++i;
    }
    long long value = 0;
    for (int c = next(); c >= '0' && c <= '9'; ++i, c = next()) {
        if (value <= static_cast<long long>(INT_MAX) + 1) value = value * 10 + (c - '0');
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}
