#include "host/user_folders.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

namespace {

// The value of an environment variable when it is an absolute path.
std::string AbsoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') return std::string();
    return value;
}

std::string XdgFolder(const char* variable, const char* defaultUnderHome) {
    std::string folder = AbsoluteFromEnvironment(variable);
    if (!folder.empty()) return folder;
    std::string home = AbsoluteFromEnvironment("HOME");
    if (home.empty()) return std::string();
    return home + "/" + defaultUnderHome;
}

}  // namespace

bool IsFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsRegularFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string XdgDataHome() { return XdgFolder("XDG_DATA_HOME", ".local/share"); }
std::string XdgStateHome() { return XdgFolder("XDG_STATE_HOME", ".local/state"); }
std::string XdgConfigHome() { return XdgFolder("XDG_CONFIG_HOME", ".config"); }

std::string GameFolderIn(const std::string& base) {
    if (base.empty()) return std::string();
    return base + "/" + kGameFolderName;
}

bool CreateFolders(const std::string& path, mode_t mode) {
    if (path.empty() || path[0] != '/') return false;
    // Each prefix ending before a '/' (and the whole path) is made in turn;
    // one that exists already is fine as long as it is a folder.
    for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        std::string prefix = path.substr(0, end);
        if (!prefix.empty() && mkdir(prefix.c_str(), mode) != 0 && errno != EEXIST) return false;
        if (end == std::string::npos) break;
    }
    return IsFolder(path);
}
