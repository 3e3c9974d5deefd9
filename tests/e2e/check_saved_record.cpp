// check_saved_record <state-file>: whether a state file the game wrote holds
// a whole, valid record: every block present with a matching checksum.
// Exit code 0 when it does, 1 when a block is missing or damaged (each named
// on standard error), 2 when the file cannot be read.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "game/shell/saved_record.h"

namespace {

bool Report(const char* block, BlockResult result) {
    if (result == BlockResult::Loaded) return true;
    std::fprintf(stderr, "check_saved_record: %s block %s\n", block,
                 result == BlockResult::Missing ? "missing" : "fails its checksum");
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: check_saved_record <state-file>\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "check_saved_record: cannot read %s\n", argv[1]);
        return 2;
    }
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    SavedRecordLoad load = ReadSavedRecord(String::Decode(bytes.data(), bytes.size()));
    bool valid = Report("settings", load.settings);
    valid = Report("badges", load.badges) && valid;
    const char* tables[] = {"mode 1 table", "mode 2 table", "mode 3 table"};
    for (int t = 0; t < SavedRecord::kModes; ++t) valid = Report(tables[t], load.tables[t]) && valid;
    return valid ? 0 : 1;
}
