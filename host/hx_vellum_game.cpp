#include "host/hx_vellum_game.h"

#include <utility>

#include "host/data_path.h"
#include "host/user_folders.h"

namespace {
// File names are bytes; UTF-8 ones (a player's name in a path) stay intact.
String FromUtf8(const std::string& text) {
    return String::Decode(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}
}  // namespace

HxVellumGame::HxVellumGame(GameFiles files, std::unique_ptr<HostWindow> window,
                           std::unique_ptr<JoystickSource> joysticks)
    : HxGlfwGame(std::move(window), std::move(joysticks)), files_(std::move(files)) {}

String HxVellumGame::PathToFilePath(const String& path) {
    return MapVirtualPath(path, FromUtf8(files_.dataFolder));
}

String HxVellumGame::StatePath() { return FromUtf8(files_.stateFile); }

int HxVellumGame::SaveState(const String& state) {
    if (files_.stateFile.empty()) return -1;
    if (!files_.stateFolder.empty() && !CreateFolders(files_.stateFolder, 0700)) return -1;
    return HxGlfwGame::SaveState(state);
}
