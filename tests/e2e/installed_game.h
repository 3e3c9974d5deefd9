// Support for the tests of the game away from its build tree (installed,
// unpacked from the package, or copied): scratch folders, the game started
// from an empty folder with a private home, and the checks they share.
#pragma once
#include <string>
#include <vector>

#include "tests/e2e/game_process.h"

// A fresh folder under /tmp, removed with everything in it at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& Path() const { return path_; }
    // A new empty folder path/name (parents made as needed).
    std::string Make(const std::string& name) const;

private:
    std::string path_;
};

// The game at binary, started in startFolder (which gets no "data" link),
// with HOME=home and the XDG data and state homes under it, so nothing of
// the test machine's own player is read or written.
GameProcess::Options AwayFromTheBuild(const std::string& binary, const std::string& startFolder,
                                      const std::string& home);
std::string DataHomeIn(const std::string& home);  // home + "/xdg-data"

// Waits for two screenshots in a row of the title: hundreds of colours (a window stuck
// without its assets shows one flat colour) and the best-scores list beside
// the menu (the loading screen before it has none). The screenshot is kept
// at shotPath.
bool DrawsTheTitle(const GameProcess& game, const std::string& shotPath);

// What the game left in the folder it was started from: the names there,
// except the captured output the test harness writes into it.
std::vector<std::string> LeftInStartFolder(const std::string& startFolder);

// Whether path holds a complete saved record whose every block checks out.
bool HoldsAValidRecord(const std::string& path);

// Where screenshots of a test area are kept: ${SOLBRIM_BUILD_DIR}/e2e-artifacts/<area>.
std::string ArtifactFolder(const std::string& area);
