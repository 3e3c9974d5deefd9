// Writes every asset the game loads into `dataDir` (images at each of
// their levels, the bitmap fonts, the sound effects, the application icon
// at each size) and, when `sheetPath`
// is not empty, the contact sheet. Throws std::runtime_error on failure.
#pragma once
#include <filesystem>

void GenerateAssets(const std::filesystem::path& dataDir, const std::filesystem::path& sheetPath);
