#include "tools/assetgen/output_file.h"

#include <cstdio>
#include <stdexcept>
#include <string>

void WriteFileAtomically(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::filesystem::path temp = path;
    temp += ".part";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot create " + temp.string());
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) {
        std::filesystem::remove(temp);
        throw std::runtime_error("cannot write " + temp.string());
    }
    std::filesystem::rename(temp, path);
}
