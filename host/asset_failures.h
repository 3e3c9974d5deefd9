// Names every asset the game asked for and could not load, on standard
// error, so a damaged data folder is not just silently missing pictures:
//
//   Sol Brim: cannot load data/world001-hd.png: not a PNG image
//
// Rules:
// - The path is shown as the game asked for it (the virtual root's scheme
//   dropped), never as a resolved file path.
// - One line per file and reason: the same file failing again for the same
//   reason (a reload at another resolution) stays quiet; a new reason is
//   reported.
// - Reporting changes nothing else: the loader still returns null and the
//   game goes on.
#pragma once
#include <map>
#include <string>

#include "runtime/string.h"

// Decides which failures are worth a line; kept apart from the output so
// the rule is testable.
class AssetFailureLog {
public:
    // True when this file has not failed before for this reason.
    bool IsNew(const std::string& path, const std::string& reason);

private:
    std::map<std::string, std::string> lastReason_;
};

// "data/menu.png" for "vellum://data/menu.png" and for "./data/menu.png";
// other paths unchanged.
std::string AssetDisplayPath(const String& path);

// The reason for a file that would not open, from its errno.
const char* OpenFailureReason(int error);

// Writes the line to standard error (and among the recent lines a crash
// report shows) unless the same failure was reported already.
void ReportAssetFailure(const String& path, const char* reason);
