// The window's icon: the game's icon art, drawn by the asset generator into
// the data folder in several sizes (icon-16.png ... icon-256.png). Whichever
// of them exist are handed to the window system, which picks the size it
// needs; with none, the window keeps the system's default icon.
#pragma once
#include <string>
#include <vector>

struct GLFWwindow;

inline constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

struct IconImage {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;  // rows top to bottom, 4 bytes a pixel
};

// The icon files in folder (ending in '/') that decode, as RGBA in size
// order; a missing or unreadable file is left out.
std::vector<IconImage> LoadIconImages(const std::string& folder);

// Sets the icon from the data folder (ending in '/'); nothing changes
// without icon files.
void SetWindowIcon(GLFWwindow* window, const std::string& dataFolder);
