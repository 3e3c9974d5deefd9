// The file that marks a folder as the game's own data: the asset generator
// writes it into every data folder it makes, and the game takes a ./data in
// the folder it was started from only when it is there (host/game_files.h),
// so a player's unrelated data/ folder is passed over.
#pragma once
#include <string>

inline constexpr const char* kDataMarkerName = "solbrim-data";

// What the marker holds: one line naming the game and the version that made
// the data. Only its presence is checked.
inline std::string DataMarkerText(const std::string& version) { return "Sol Brim data " + version + "\n"; }
