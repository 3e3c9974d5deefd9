// Writes every asset the game loads into `dataDir` (images at each of
// their levels, the bitmap fonts, the sound effects, the application icon
// at each size, the music generator's song and instruments) and, when
// `sheetPath` is not empty, the contact sheet. Throws std::runtime_error on
// failure. What it writes is listed once, in asset_catalogue.def.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

void GenerateAssets(const std::filesystem::path& dataDir, const std::filesystem::path& sheetPath);

// Every path GenerateAssets writes under `dataDir`, relative to it and
// sorted: the catalogue as the generator reads it.
std::vector<std::string> AssetFiles();
