#include "tests/graphics/test_png.h"

#include <stb_image_write.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

// Never destroyed: the exit handler below still needs it.
std::vector<std::string>& TempDirs() {
    static auto* dirs = new std::vector<std::string>();
    return *dirs;
}

void RemoveTempDirs() {
    std::error_code ignored;
    for (const std::string& dir : TempDirs()) std::filesystem::remove_all(dir, ignored);
}

}  // namespace

std::string TestTempDir() {
    static int serial = 0;
    if (serial == 0) std::atexit(RemoveTempDirs);
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("solbrim-gfx-" + std::to_string(getpid()) + "-" + std::to_string(serial++));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    TempDirs().push_back(dir.string());
    return dir.string();
}

std::string WriteTestPng(const std::string& name, int width, int height, int channels, const unsigned char* pixels) {
    static std::string dir = TestTempDir();
    std::string path = dir + "/" + name;
    if (!stbi_write_png(path.c_str(), width, height, channels, pixels, width * channels)) std::abort();
    return path;
}
