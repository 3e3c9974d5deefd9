// Where the game's files are: the data folder it reads and the record it
// saves. Resolved once at start, before any window opens.
//
// The data folder is the first of these that exists:
//   1. ./data in the working folder (development, the tests), only when it
//      holds the data marker (host/data_marker.h): a data/ of the player's
//      own in the folder a menu starts the game from is not the game's;
//   2. data/ beside the executable (the build tree: build/data, build/solbrim);
//   3. ../share/solbrim/data from the executable's folder (an installed copy
//      under any prefix, or a package unpacked anywhere).
// The executable's folder comes from /proc/self/exe, never from argv[0] or
// the working folder; when it cannot be read only the first is tried.
//
// The record stays at ./.vellumstate only in case 1. Otherwise it lives in
// the player's own folder, $XDG_DATA_HOME/solbrim (made with mode 0700 on the
// first save), so nothing is ever written into the folder the game was
// started from.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct GameFiles {
    std::string dataFolder = "./data/";        // always ends in '/'
    std::string stateFile = "./.vellumstate";  // "" when there is nowhere to keep it
    std::string stateFolder;                   // made before saving; "" for the working folder
};

// The data folder candidates in the order they are tried, without the
// trailing '/'. An empty exeFolder (unreadable /proc/self/exe) leaves ./data.
std::vector<std::string> DataFolderCandidates(const std::string& exeFolder);

// The game's files for an executable in exeFolder and a player whose data
// home (XdgDataHome) is userDataHome; nothing when no candidate is a folder
// (or ./data lacks its marker file).
std::optional<GameFiles> LocateGameFiles(const std::string& exeFolder, const std::string& userDataHome,
                                         const std::function<bool(const std::string&)>& isFolder,
                                         const std::function<bool(const std::string&)>& isFile);

// The one line printed when no data folder exists, naming every candidate.
std::string MissingDataMessage(const std::vector<std::string>& candidates);

// The folder holding the running executable, from /proc/self/exe; "" when
// that link cannot be read.
std::string ExecutableFolder();

// LocateGameFiles for this process. When there is no data folder it prints
// MissingDataMessage to standard error and exits with status 1.
GameFiles LocateGameFilesOrExit();
