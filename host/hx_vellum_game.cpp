#include "host/hx_vellum_game.h"

#include <utility>

#include "host/data_path.h"
#include "host/user_folders.h"

HxVellumGame::HxVellumGame(GameFiles files, std::unique_ptr<HostWindow> window,
                           std::unique_ptr<JoystickSource> joysticks)
    : HxGlfwGame(std::move(window), std::move(joysticks)), files_(std::move(files)) {}

// The folders stay bytes end to end; only the game's own names are text.
std::string HxVellumGame::FileSystemPath(const String& path) { return MapVirtualPath(path, files_.dataFolder); }

std::string HxVellumGame::StateFilePath() { return files_.stateFile; }

int HxVellumGame::SaveState(const String& state) {
    if (files_.stateFile.empty()) return -1;
    if (!files_.stateFolder.empty() && !CreateFolders(files_.stateFolder, 0700)) return -1;
    return HxGlfwGame::SaveState(state);
}
