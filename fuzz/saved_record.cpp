// Feeds arbitrary text to the saved-record reader, as 8-bit units and as
// UTF-16 units, and checks that what it accepts is self-consistent: written
// back and read again, every block loads with the same values.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "game/shell/saved_record.h"

namespace {

bool Same(const SavedRecord& a, const SavedRecord& b) {
    return a.settings == b.settings && a.badgeWords == b.badgeWords && a.best == b.best && a.recent == b.recent;
}

void Check(const String& text) {
    SavedRecordLoad load = ReadSavedRecord(text);
    SavedRecordLoad again = ReadSavedRecord(WriteSavedRecord(load.record));
    if (again.settings != BlockResult::Loaded || again.badges != BlockResult::Loaded) std::abort();
    for (BlockResult t : again.tables)
        if (t != BlockResult::Loaded) std::abort();
    if (!Same(again.record, load.record)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char16_t> bytes(data, data + size);
    Check(String(bytes.data(), static_cast<int>(bytes.size())));
    std::vector<char16_t> pairs;
    for (size_t i = 0; i + 1 < size; i += 2) pairs.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    Check(String(pairs.data(), static_cast<int>(pairs.size())));
    return 0;
}
