#include "host/data_path.h"

namespace {

struct VirtualRoot {
    const char* prefix;
    const char* folder;  // null: the data folder
};

constexpr VirtualRoot kRoots[] = {
    {"vellum://data/", nullptr},
    {"vellum://internal/", "./internal/"},
    {"vellum://external/", "./external/"},
};

}  // namespace

String FixDataPath(const String& path) {
    int scheme = path.Find(String(":/"));
    if (scheme >= 0 && path.Find(String("/")) == scheme + 1) return path;
    if (path.StartsWith(String("./")) || path.StartsWith(String("/"))) return path;
    return String("vellum://data/") + path;
}

String MapVirtualPath(const String& path, const String& dataFolder) {
    if (!path.StartsWith(String("vellum:"))) return path;
    for (const VirtualRoot& root : kRoots) {
        String prefix(root.prefix);
        if (!path.StartsWith(prefix)) continue;
        String folder = root.folder ? String(root.folder) : dataFolder;
        return folder + path.Slice(prefix.Length());
    }
    return String();
}
