// Key translation: window-library key identities (GLFW 3) to the host's key
// codes, which are Windows virtual-key numbers. The table is data so tests
// can check every entry.
#pragma once
#include <span>

// The window library's key numbers the table uses: GLFW 3's, which the
// desktop's GLFW and the browser's port of it both deliver. Digits and
// letters are their own characters ('0'..'9', 'A'..'Z').
namespace window_key {
inline constexpr int kSpace = 32;
inline constexpr int kApostrophe = 39;
inline constexpr int kComma = 44;
inline constexpr int kMinus = 45;
inline constexpr int kPeriod = 46;
inline constexpr int kSlash = 47;
inline constexpr int kSemicolon = 59;
inline constexpr int kEqual = 61;
inline constexpr int kLeftBracket = 91;
inline constexpr int kBackslash = 92;
inline constexpr int kRightBracket = 93;
inline constexpr int kGraveAccent = 96;
inline constexpr int kEscape = 256;
inline constexpr int kEnter = 257;
inline constexpr int kTab = 258;
inline constexpr int kBackspace = 259;
inline constexpr int kInsert = 260;
inline constexpr int kDelete = 261;
inline constexpr int kRight = 262;
inline constexpr int kLeft = 263;
inline constexpr int kDown = 264;
inline constexpr int kUp = 265;
inline constexpr int kPageUp = 266;
inline constexpr int kPageDown = 267;
inline constexpr int kHome = 268;
inline constexpr int kEnd = 269;
inline constexpr int kLeftShift = 340;
inline constexpr int kLeftControl = 341;
inline constexpr int kRightShift = 344;
inline constexpr int kRightControl = 345;
constexpr int F(int n) { return 289 + n; }  // F1 .. F25
inline constexpr int kLast = 348;
}  // namespace window_key

struct KeyTranslation {
    int glfwKey;
    int code;
};

// Every key the host reports; any other key translates to 0 and is ignored
// (keypad, F13 and up, alt, super, lock keys, ...). Both shift keys give 16,
// both control keys 17.
std::span<const KeyTranslation> KeyTranslationTable();

// The key code of a window key, or 0 when the key is ignored.
int TranslateKey(int glfwKey);

// The character event a key press sends besides its key-down event, or 0:
// Backspace, Tab, Enter and Escape send their own code; Page Up .. Down,
// the arrows and Insert send code + 0x10000 (a non-printing key); Delete
// sends 127.
int EditingKeyChar(int code);

// Characters the character callback passes on: printable ones only
// (32..126 and from 160 up).
bool IsPrintableChar(unsigned int codepoint);
