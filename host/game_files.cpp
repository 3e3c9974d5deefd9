#include "host/game_files.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "host/data_marker.h"
#include "host/user_folders.h"

namespace {

constexpr const char* kWorkingDataFolder = "./data";
constexpr const char* kStateFileName = ".vellumstate";

GameFiles FilesInWorkingFolder() { return GameFiles{}; }

GameFiles FilesWithPlayerState(const std::string& dataFolder, const std::string& userDataHome) {
    GameFiles files;
    files.dataFolder = dataFolder + "/";
    files.stateFolder = GameFolderIn(userDataHome);
    files.stateFile = files.stateFolder.empty() ? std::string() : files.stateFolder + "/" + kStateFileName;
    return files;
}

}  // namespace

std::vector<std::string> DataFolderCandidates(const std::string& exeFolder) {
    std::vector<std::string> candidates{kWorkingDataFolder};
    if (exeFolder.empty()) return candidates;
    // /proc/self/exe is already free of links, so resolving ".." by text
    // names the same folder the file system would.
    std::filesystem::path exe(exeFolder);
    candidates.push_back((exe / "data").lexically_normal().string());
    candidates.push_back((exe / ".." / "share" / kGameFolderName / "data").lexically_normal().string());
    return candidates;
}

std::optional<GameFiles> LocateGameFiles(const std::string& exeFolder, const std::string& userDataHome,
                                         const std::function<bool(const std::string&)>& isFolder,
                                         const std::function<bool(const std::string&)>& isFile) {
    for (const std::string& candidate : DataFolderCandidates(exeFolder)) {
        if (!isFolder(candidate)) continue;
        if (candidate == kWorkingDataFolder) {
            // The other candidates are the game's by where they lie; this
            // one only by its marker.
            if (!isFile(candidate + "/" + kDataMarkerName)) continue;
            return FilesInWorkingFolder();
        }
        return FilesWithPlayerState(candidate, userDataHome);
    }
    return std::nullopt;
}

std::string MissingDataMessage(const std::vector<std::string>& candidates) {
    std::string message = "Sol Brim: cannot find the game's data folder (looked in ";
    for (std::size_t i = 0; i < candidates.size(); ++i) message += (i ? ", " : "") + candidates[i];
    return message + ")";
}

std::string ExecutableFolder() {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || !exe.is_absolute()) return std::string();
    return exe.parent_path().string();
}

GameFiles LocateGameFilesOrExit() {
    std::string exeFolder = ExecutableFolder();
    std::optional<GameFiles> files = LocateGameFiles(exeFolder, XdgDataHome(), IsFolder, IsRegularFile);
    if (files) return *files;
    std::fprintf(stderr, "%s\n", MissingDataMessage(DataFolderCandidates(exeFolder)).c_str());
    std::exit(1);
}
