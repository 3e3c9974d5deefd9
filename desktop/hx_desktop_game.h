// HxDesktopGame: the host of the desktop program, an HxVellumGame on the
// GLFW game window and the window library's joysticks, passing the window
// size and resolution level it is told on to its crash reports.
#pragma once
#include "host/hx_vellum_game.h"

struct GLFWwindow;

class HxDesktopGame : public HxVellumGame {
public:
    HxDesktopGame(GameFiles files, GLFWwindow* window);

    void SetWindowSize(int width, int height) override;
    void SetResolutionLevel(int level) override;
};
