// Asset names and virtual paths.
//
// Assets are named relative to the data folder ('menu.png'); FixDataPath
// turns such a name into the virtual path "vellum://data/menu.png", and the
// host maps the three virtual roots to folders: the data root to the data
// folder found at start (host/game_files.h), the other two under the working
// directory.
//
// File paths are bytes: the data folder is joined to the UTF-8 of the name
// without passing through String, so a folder whose name is not UTF-8 (a
// Latin-1 home) is still the folder that is opened.
#pragma once
#include <string>

#include "runtime/string.h"

// Leaves paths that already carry a scheme or drive ("x:/..."), and paths
// starting with "./" or "/", unchanged; prefixes anything else with
// "vellum://data/".
String FixDataPath(const String& path);

// The file path of a virtual path: "vellum://data/", "vellum://internal/"
// and "vellum://external/" become dataFolder (which ends in "/"),
// "./internal/" and "./external/"; a path without the "vellum:" scheme is
// returned unchanged (as UTF-8); any other "vellum:" path gives "" (it
// cannot be opened).
std::string MapVirtualPath(const String& path, const std::string& dataFolder = "./data/");

// A file path as text for the host's String interface; bytes that are not
// UTF-8 come out one unit each.
String FilePathText(const std::string& filePath);
