#include "tests/e2e/installed_game.h"

#include <stdlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include <stb_image.h>

#include "game/shell/saved_record.h"

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    char pattern[] = "/tmp/solbrim-away-XXXXXX";
    if (mkdtemp(pattern)) path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
}

std::string ScratchFolder::Make(const std::string& name) const {
    std::string folder = path_ + "/" + name;
    fs::create_directories(folder);
    return folder;
}

std::string DataHomeIn(const std::string& home) { return home + "/xdg-data"; }

GameProcess::Options AwayFromTheBuild(const std::string& binary, const std::string& startFolder,
                                      const std::string& home) {
    GameProcess::Options options;
    options.binary = binary;
    options.workDir = startFolder;
    options.linkData = false;
    options.env = {"HOME=" + home, "XDG_DATA_HOME=" + DataHomeIn(home), "XDG_STATE_HOME=" + home + "/xdg-state"};
    return options;
}

namespace {

// The orange of the best-scores list in the title's side panel, which the
// loading screen before it does not have.
int BestListPixels(const std::string& shotPath) {
    int width = 0, height = 0, channels = 0;
    unsigned char* rgb = stbi_load(shotPath.c_str(), &width, &height, &channels, 3);
    if (!rgb) return 0;
    int count = 0;
    for (int y = 60; y < std::min(height, 230); ++y)
        for (int x = 500; x < std::min(width, 640); ++x) {
            const unsigned char* p = rgb + 3 * (static_cast<std::size_t>(y) * width + x);
            count += p[0] > 200 && p[1] > 160 && p[1] < 235 && p[2] > 60 && p[2] < 140;
        }
    stbi_image_free(rgb);
    return count;
}

}  // namespace

bool DrawsTheTitle(const GameProcess& game, const std::string& shotPath) {
    return WaitUntilSteady(30, [&] {
        game.Screenshot(shotPath);
        return CountColours(shotPath) >= 300 && BestListPixels(shotPath) > 30;
    });
}

std::vector<std::string> LeftInStartFolder(const std::string& startFolder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(startFolder)) {
        std::string name = entry.path().filename().string();
        if (name != "stdout.txt" && name != "stderr.txt") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool HoldsAValidRecord(const std::string& path) {
    std::string bytes = ReadFile(path);
    if (bytes.empty()) return false;
    SavedRecordLoad load =
        ReadSavedRecord(String::Decode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
    bool tables = std::all_of(load.tables.begin(), load.tables.end(),
                              [](BlockResult r) { return r == BlockResult::Loaded; });
    return load.settings == BlockResult::Loaded && load.badges == BlockResult::Loaded && tables;
}

std::string ArtifactFolder(const std::string& area) {
    std::string folder = BuildFolder() + "/e2e-artifacts/" + area;
    fs::create_directories(folder);
    return folder;
}
