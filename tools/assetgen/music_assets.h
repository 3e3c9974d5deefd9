// The music generator's files under data/: the title song image and the
// instruments it plays (see title_song.h and instruments.h).
#pragma once
#include <filesystem>

void GenerateMusicAssets(const std::filesystem::path& dataDir);
