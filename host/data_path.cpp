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

std::string MapVirtualPath(const String& path, const std::string& dataFolder) {
    if (!path.StartsWith(String("vellum:"))) return path.ToUtf8();
    for (const VirtualRoot& root : kRoots) {
        String prefix(root.prefix);
        if (!path.StartsWith(prefix)) continue;
        std::string folder = root.folder ? std::string(root.folder) : dataFolder;
        return folder + path.Slice(prefix.Length()).ToUtf8();
    }
    return std::string();
}

String FilePathText(const std::string& filePath) {
    return String::Decode(reinterpret_cast<const unsigned char*>(filePath.data()), filePath.size());
}
