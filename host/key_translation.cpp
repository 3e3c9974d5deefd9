#include "host/key_translation.h"

#include <GLFW/glfw3.h>

#include <array>

namespace {

constexpr KeyTranslation kTable[] = {
    {GLFW_KEY_SPACE, 32},
    {GLFW_KEY_APOSTROPHE, 222},
    {GLFW_KEY_COMMA, 188},
    {GLFW_KEY_MINUS, 189},
    {GLFW_KEY_PERIOD, 190},
    {GLFW_KEY_SLASH, 191},
    {GLFW_KEY_0, '0'}, {GLFW_KEY_1, '1'}, {GLFW_KEY_2, '2'}, {GLFW_KEY_3, '3'},
    {GLFW_KEY_4, '4'}, {GLFW_KEY_5, '5'}, {GLFW_KEY_6, '6'}, {GLFW_KEY_7, '7'},
    {GLFW_KEY_8, '8'}, {GLFW_KEY_9, '9'},
    {GLFW_KEY_SEMICOLON, 186},
    {GLFW_KEY_EQUAL, 187},
    {GLFW_KEY_A, 'A'}, {GLFW_KEY_B, 'B'}, {GLFW_KEY_C, 'C'}, {GLFW_KEY_D, 'D'},
    {GLFW_KEY_E, 'E'}, {GLFW_KEY_F, 'F'}, {GLFW_KEY_G, 'G'}, {GLFW_KEY_H, 'H'},
    {GLFW_KEY_I, 'I'}, {GLFW_KEY_J, 'J'}, {GLFW_KEY_K, 'K'}, {GLFW_KEY_L, 'L'},
    {GLFW_KEY_M, 'M'}, {GLFW_KEY_N, 'N'}, {GLFW_KEY_O, 'O'}, {GLFW_KEY_P, 'P'},
    {GLFW_KEY_Q, 'Q'}, {GLFW_KEY_R, 'R'}, {GLFW_KEY_S, 'S'}, {GLFW_KEY_T, 'T'},
    {GLFW_KEY_U, 'U'}, {GLFW_KEY_V, 'V'}, {GLFW_KEY_W, 'W'}, {GLFW_KEY_X, 'X'},
    {GLFW_KEY_Y, 'Y'}, {GLFW_KEY_Z, 'Z'},
    {GLFW_KEY_LEFT_BRACKET, 219},
    {GLFW_KEY_BACKSLASH, 220},
    {GLFW_KEY_RIGHT_BRACKET, 221},
    {GLFW_KEY_GRAVE_ACCENT, 192},
    {GLFW_KEY_ESCAPE, 27},
    {GLFW_KEY_F1, 112}, {GLFW_KEY_F2, 113}, {GLFW_KEY_F3, 114}, {GLFW_KEY_F4, 115},
    {GLFW_KEY_F5, 116}, {GLFW_KEY_F6, 117}, {GLFW_KEY_F7, 118}, {GLFW_KEY_F8, 119},
    {GLFW_KEY_F9, 120}, {GLFW_KEY_F10, 121}, {GLFW_KEY_F11, 122}, {GLFW_KEY_F12, 123},
    {GLFW_KEY_UP, 38},
    {GLFW_KEY_DOWN, 40},
    {GLFW_KEY_LEFT, 37},
    {GLFW_KEY_RIGHT, 39},
    {GLFW_KEY_TAB, 9},
    {GLFW_KEY_ENTER, 13},
    {GLFW_KEY_BACKSPACE, 8},
    {GLFW_KEY_INSERT, 45},
    {GLFW_KEY_DELETE, 46},
    {GLFW_KEY_PAGE_UP, 33},
    {GLFW_KEY_PAGE_DOWN, 34},
    {GLFW_KEY_HOME, 36},
    {GLFW_KEY_END, 35},
    {GLFW_KEY_LEFT_SHIFT, 16},
    {GLFW_KEY_RIGHT_SHIFT, 16},
    {GLFW_KEY_LEFT_CONTROL, 17},
    {GLFW_KEY_RIGHT_CONTROL, 17},
};

// Direct lookup by GLFW key (GLFW_KEY_LAST is 348).
constexpr std::array<short, GLFW_KEY_LAST + 1> BuildLookup() {
    std::array<short, GLFW_KEY_LAST + 1> lookup{};
    for (const KeyTranslation& t : kTable) lookup[t.glfwKey] = static_cast<short>(t.code);
    return lookup;
}

constexpr auto kLookup = BuildLookup();

}  // namespace

std::span<const KeyTranslation> KeyTranslationTable() { return kTable; }

int TranslateKey(int glfwKey) {
    if (glfwKey < 0 || glfwKey > GLFW_KEY_LAST) return 0;
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
