#include "host/data_path.h"

namespace {

struct VirtualRoot {
    const char* prefix;
    const char* folder;
};

constexpr VirtualRoot kRoots[] = {
    {"vellum://data/", "./data/"},
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

String MapVirtualPath(const String& path) {
    if (!path.StartsWith(String("vellum:"))) return path;
    for (const VirtualRoot& root : kRoots) {
        String prefix(root.prefix);
        if (path.StartsWith(prefix)) return String(root.folder) + path.Slice(prefix.Length());
    }
    return String();
}
