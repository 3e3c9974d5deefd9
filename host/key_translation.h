// Key translation: window-library key identities (GLFW 3) to the host's key
// codes, which are Windows virtual-key numbers. The table is data so tests
// can check every entry.
#pragma once
#include <span>

struct KeyTranslation {
    int glfwKey;
    int code;
};

// Every key the host reports; any other key translates to 0 and is ignored
// (keypad, F13 and up, alt, super, lock keys, ...). Both shift keys give 16,
// both control keys 17.
std::span<const KeyTranslation> KeyTranslationTable();

// The key code of a GLFW key, or 0 when the key is ignored.
int TranslateKey(int glfwKey);

// The character event a key press sends besides its key-down event, or 0:
// Backspace, Tab, Enter and Escape send their own code; Page Up .. Down,
// the arrows and Insert send code + 0x10000 (a non-printing key); Delete
// sends 127.
int EditingKeyChar(int code);

// Characters the character callback passes on: printable ones only
// (32..126 and from 160 up).
bool IsPrintableChar(unsigned int codepoint);
