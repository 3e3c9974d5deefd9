#include "host/key_translation.h"

#include <array>

namespace {

namespace wk = window_key;

constexpr KeyTranslation kTable[] = {
    {wk::kSpace, 32},
    {wk::kApostrophe, 222},
    {wk::kComma, 188},
    {wk::kMinus, 189},
    {wk::kPeriod, 190},
    {wk::kSlash, 191},
    {'0', '0'}, {'1', '1'}, {'2', '2'}, {'3', '3'},
    {'4', '4'}, {'5', '5'}, {'6', '6'}, {'7', '7'},
    {'8', '8'}, {'9', '9'},
    {wk::kSemicolon, 186},
    {wk::kEqual, 187},
    {'A', 'A'}, {'B', 'B'}, {'C', 'C'}, {'D', 'D'},
    {'E', 'E'}, {'F', 'F'}, {'G', 'G'}, {'H', 'H'},
    {'I', 'I'}, {'J', 'J'}, {'K', 'K'}, {'L', 'L'},
    {'M', 'M'}, {'N', 'N'}, {'O', 'O'}, {'P', 'P'},
    {'Q', 'Q'}, {'R', 'R'}, {'S', 'S'}, {'T', 'T'},
    {'U', 'U'}, {'V', 'V'}, {'W', 'W'}, {'X', 'X'},
    {'Y', 'Y'}, {'Z', 'Z'},
    {wk::kLeftBracket, 219},
    {wk::kBackslash, 220},
    {wk::kRightBracket, 221},
    {wk::kGraveAccent, 192},
    {wk::kEscape, 27},
    {wk::F(1), 112}, {wk::F(2), 113}, {wk::F(3), 114}, {wk::F(4), 115},
    {wk::F(5), 116}, {wk::F(6), 117}, {wk::F(7), 118}, {wk::F(8), 119},
    {wk::F(9), 120}, {wk::F(10), 121}, {wk::F(11), 122}, {wk::F(12), 123},
    {wk::kUp, 38},
    {wk::kDown, 40},
    {wk::kLeft, 37},
    {wk::kRight, 39},
    {wk::kTab, 9},
    {wk::kEnter, 13},
    {wk::kBackspace, 8},
    {wk::kInsert, 45},
    {wk::kDelete, 46},
    {wk::kPageUp, 33},
    {wk::kPageDown, 34},
    {wk::kHome, 36},
    {wk::kEnd, 35},
    {wk::kLeftShift, 16},
    {wk::kRightShift, 16},
    {wk::kLeftControl, 17},
    {wk::kRightControl, 17},
};

// Direct lookup by window key.
constexpr std::array<short, wk::kLast + 1> BuildLookup() {
    std::array<short, wk::kLast + 1> lookup{};
    for (const KeyTranslation& t : kTable) lookup[t.glfwKey] = static_cast<short>(t.code);
    return lookup;
}

constexpr auto kLookup = BuildLookup();

}  // namespace

std::span<const KeyTranslation> KeyTranslationTable() { return kTable; }

int TranslateKey(int glfwKey) {
    if (glfwKey < 0 || glfwKey > wk::kLast) return 0;
    return kLookup[glfwKey];
}

int EditingKeyChar(int code) {
    switch (code) {
        case 8:
        case 9:
        case 13:
        case 27:
            return code;
        case 46:
            return 127;
        default:
            break;
    }
    if ((code >= 33 && code <= 40) || code == 45) return code + 0x10000;
    return 0;
}

bool IsPrintableChar(unsigned int codepoint) {
    return (codepoint >= 32 && codepoint <= 126) || codepoint >= 160;
}
