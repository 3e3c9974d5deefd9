// HxDesktopGame: the host of the desktop program, an HxVellumGame on the
// GLFW game window and the window library's joysticks.
#pragma once
#include "host/hx_vellum_game.h"

struct GLFWwindow;

class HxDesktopGame : public HxVellumGame {
public:
    HxDesktopGame(GameFiles files, GLFWwindow* window);
};
