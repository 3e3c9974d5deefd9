// Extra gamepad mappings for the window library's database, in the usual
// text format: one pad per line, "GUID,name,element:input,..." (for example
// "a:b0", "leftx:a0", "dpup:h0.1", "righttrigger:+a5", "platform:Linux").
// They come from the SDL_GAMECONTROLLERCONFIG variable and from
// $XDG_CONFIG_HOME/solbrim/gamecontrollerdb.txt; the variable's lines are
// applied last, so they win for a pad both name.
//
// A line that is not a mapping is reported once on standard error and left
// out: the window library would otherwise keep whatever part of it it could
// read, or reject it without saying which line; a line with a NUL byte
// would even cut off every line after it. Blank lines and lines
// starting with '#' are comments.
#pragma once
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* kMappingsVariable = "SDL_GAMECONTROLLERCONFIG";
inline constexpr const char* kMappingsFileName = "gamecontrollerdb.txt";

// Why line is not a mapping, or "" when it is one.
std::string MappingLineFault(std::string_view line);

// The mapping lines of text, each ending in '\n'. Each faulty line adds one
// complaint "<source> line <n>: <fault>".
std::string UsableMappings(std::string_view text, std::string_view source, std::vector<std::string>* complaints);

// The usable lines of the file and then of the variable; complaints go to
// errors, one line each.
std::string CollectGamepadMappings(std::FILE* errors);

// Hands the collected mappings to the window library (once it is initialised).
void LoadGamepadMappings();
