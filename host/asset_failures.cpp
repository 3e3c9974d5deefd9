#include "host/asset_failures.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "runtime/recent_lines.h"

bool AssetFailureLog::IsNew(const std::string& path, const std::string& reason) {
    auto [entry, inserted] = lastReason_.try_emplace(path, reason);
    if (inserted) return true;
    if (entry->second == reason) return false;
    entry->second = reason;
    return true;
}

std::string AssetDisplayPath(const String& path) {
    std::string text = path.ToUtf8();
    for (const char* prefix : {"vellum://", "./"}) {
        if (text.starts_with(prefix)) return text.substr(std::strlen(prefix));
    }
    return text;
}

const char* OpenFailureReason(int error) {
    switch (error) {
        case 0:  // a path outside the data roots never reaches fopen
        case ENOENT:
        case ENOTDIR:
            return "file not found";
        case EACCES:
        case EPERM:
            return "permission denied";
        default:
            return std::strerror(error);
    }
}

void ReportAssetFailure(const String& path, const char* reason) {
    static AssetFailureLog log;
    if (!reason) reason = "cannot be read";
    std::string shown = AssetDisplayPath(path);
    if (!log.IsNew(shown, reason)) return;
    std::string line = "Sol Brim: cannot load " + shown + ": " + reason;
    RecordPrintedText(line.data(), line.size());
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}
