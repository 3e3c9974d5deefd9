// Writing generated files: parent folders are created, and a file appears
// under its name only once it is complete (written beside it, then renamed),
// so an interrupted build never leaves a truncated asset behind.
#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

void WriteFileAtomically(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
