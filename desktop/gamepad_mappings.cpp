#include "desktop/gamepad_mappings.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>

#include "host/file_io.h"
#include "host/user_folders.h"

namespace {

constexpr std::size_t kGuidLength = 32;
// The window library keeps names in a 128-byte buffer, and passes over
// lines that do not fit its 1,024-byte line buffer.
constexpr std::size_t kMaxNameLength = 127;
constexpr std::size_t kMaxLineLength = 1023;

constexpr std::array<std::string_view, 21> kElements = {
    "a",         "b",          "x",          "y",         "back",        "start",        "guide",
    "leftshoulder", "rightshoulder", "leftstick", "rightstick", "dpup",     "dpright",      "dpdown",
    "dpleft",    "leftx",      "lefty",      "rightx",    "righty",      "lefttrigger",  "righttrigger",
};

bool AllDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

// "b3", "a2", "+a2", "-a2", "a2~" or "h0.4".
bool IsInput(std::string_view v) {
    if (!v.empty() && v[0] == 'h') {
        std::size_t dot = v.find('.');
        return dot != std::string_view::npos && AllDigits(v.substr(1, dot - 1)) && AllDigits(v.substr(dot + 1));
    }
    bool signedAxis = !v.empty() && (v[0] == '+' || v[0] == '-');
    if (signedAxis) v.remove_prefix(1);
    if (v.empty() || (v[0] != 'a' && v[0] != 'b') || (signedAxis && v[0] != 'a')) return false;
    bool axis = v[0] == 'a';
    v.remove_prefix(1);
    if (axis && !v.empty() && v.back() == '~') v.remove_suffix(1);
    return AllDigits(v);
}

std::string FieldFault(std::string_view field) {
    std::size_t colon = field.find(':');
    if (colon == std::string_view::npos || colon == 0) return "\"" + std::string(field) + "\" is not element:input";
    std::string_view key = field.substr(0, colon), value = field.substr(colon + 1);
    if (value.empty()) return "\"" + std::string(key) + "\" has no input";
    if (key[0] == '+' || key[0] == '-') key.remove_prefix(1);
    bool known = std::find(kElements.begin(), kElements.end(), key) != kElements.end();
    if (known && !IsInput(value)) return "\"" + std::string(value) + "\" is not an input";
    return std::string();
}

bool IsComment(std::string_view line) {
    std::size_t first = line.find_first_not_of(" \t");
    return first == std::string_view::npos || line[first] == '#';
}

std::string ReadTextFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::string();
    std::vector<unsigned char> bytes = ReadWholeFile(file);
    std::fclose(file);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

std::string MappingLineFault(std::string_view line) {
    // The joined text is handed over as a C string: a NUL would end it there
    // and lose every later line.
    if (line.find('\0') != std::string_view::npos) return "the line holds a NUL byte";
    if (line.size() > kMaxLineLength) return "the line is longer than 1023 characters";
    std::size_t guidEnd = line.find(',');
    if (guidEnd == std::string_view::npos) return "not GUID,name,mappings";
    std::string_view guid = line.substr(0, guidEnd);
    if (guid.size() != kGuidLength ||
        !std::all_of(guid.begin(), guid.end(), [](unsigned char c) { return std::isxdigit(c); })) {
        return "the GUID is not 32 hexadecimal digits";
    }
    std::size_t nameEnd = line.find(',', guidEnd + 1);
    if (nameEnd == std::string_view::npos) return "not GUID,name,mappings";
    std::size_t nameLength = nameEnd - guidEnd - 1;
    if (nameLength == 0) return "the name is empty";
    if (nameLength > kMaxNameLength) return "the name is too long";
    for (std::size_t start = nameEnd + 1; start < line.size();) {
        std::size_t end = std::min(line.find(',', start), line.size());
        if (end > start) {
            std::string fault = FieldFault(line.substr(start, end - start));
            if (!fault.empty()) return fault;
        }
        start = end + 1;
    }
    return std::string();
}

std::string UsableMappings(std::string_view text, std::string_view source, std::vector<std::string>* complaints) {
    std::string usable;
    int number = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (IsComment(line)) continue;
        std::string fault = MappingLineFault(line);
        if (fault.empty()) {
            usable.append(line).push_back('\n');
        } else {
            complaints->push_back(std::string(source) + " line " + std::to_string(number) + ": " + fault);
        }
    }
    return usable;
}

std::string CollectGamepadMappings(std::FILE* errors) {
    std::vector<std::string> complaints;
    std::string usable;
    std::string folder = GameFolderIn(XdgConfigHome());
    if (!folder.empty()) {
        std::string path = folder + "/" + kMappingsFileName;
        usable += UsableMappings(ReadTextFile(path), path, &complaints);
    }
    if (const char* variable = std::getenv(kMappingsVariable)) {
        usable += UsableMappings(variable, kMappingsVariable, &complaints);
    }
    for (const std::string& complaint : complaints) {
        std::fprintf(errors, "Gamepad mapping skipped, %s\n", complaint.c_str());
    }
    return usable;
}

void LoadGamepadMappings() {
    std::string mappings = CollectGamepadMappings(stderr);
    if (!mappings.empty()) glfwUpdateGamepadMappings(mappings.c_str());
}
