// Asset names and virtual paths.
//
// Assets are named relative to the data folder ('menu.png'); FixDataPath
// turns such a name into the virtual path "vellum://data/menu.png", and the
// host maps the three virtual roots to folders: the data root to the data
// folder found at start (host/game_files.h), the other two under the working
// directory.
#pragma once
#include "runtime/string.h"

// Leaves paths that already carry a scheme or drive ("x:/..."), and paths
// starting with "./" or "/", unchanged; prefixes anything else with
// "vellum://data/".
String FixDataPath(const String& path);

// The file path of a virtual path: "vellum://data/", "vellum://internal/"
// and "vellum://external/" become dataFolder (which ends in "/"),
// "./internal/" and "./external/"; a path without the "vellum:" scheme is
// returned unchanged; any other "vellum:" path gives the empty String (it
// cannot be opened).
String MapVirtualPath(const String& path, const String& dataFolder = String("./data/"));
