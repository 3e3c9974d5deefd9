// The per-user folders of the XDG base-directory rules, and the game's own
// folder inside each.
//
// A variable that is unset, empty or relative is ignored, as the rules say,
// and its default under $HOME is used. With no usable HOME either (unset,
// empty or relative) there is no such folder: the functions return "".
#pragma once
#include <sys/types.h>

#include <string>

inline constexpr const char* kGameFolderName = "solbrim";

std::string XdgDataHome();    // $XDG_DATA_HOME, else ~/.local/share
std::string XdgStateHome();   // $XDG_STATE_HOME, else ~/.local/state
std::string XdgConfigHome();  // $XDG_CONFIG_HOME, else ~/.config

// True when path names a folder (or a link to one).
bool IsFolder(const std::string& path);
// True when path names a plain file (or a link to one).
bool IsRegularFile(const std::string& path);

// base + "/solbrim", or "" when base is "".
std::string GameFolderIn(const std::string& base);

// Creates path and any missing parents; folders it creates get mode (before
// the umask). True when path is a folder afterwards, whether it was made
// here or existed; false for an empty or relative path, or when a part of it
// is a file or cannot be created.
bool CreateFolders(const std::string& path, mode_t mode);
