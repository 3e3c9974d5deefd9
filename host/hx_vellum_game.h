// HxVellumGame: the host class the entry point creates, the one place a
// product specialises the host. It reads its assets from the data folder and
// keeps the record in the state file found at start (host/game_files.h); by
// default, those of the working folder.
#pragma once
#include <memory>

#include "host/game_files.h"
#include "host/hx_glfw_game.h"

class HxVellumGame : public HxGlfwGame {
public:
    HxVellumGame(GameFiles files, std::unique_ptr<HostWindow> window, std::unique_ptr<JoystickSource> joysticks);

    std::string FileSystemPath(const String& path) override;
    // Makes the state file's folder (mode 0700) first; when it cannot be
    // made, or there is no state file at all, nothing is written and the
    // result is -1.
    int SaveState(const String& state) override;

protected:
    std::string StateFilePath() override;

private:
    GameFiles files_;
};
