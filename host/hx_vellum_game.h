// HxVellumGame: the host class the entry point creates. It adds nothing to
// HxGlfwGame; it is the one place a product could specialise the host.
#pragma once
#include "host/hx_glfw_game.h"

class HxVellumGame : public HxGlfwGame {
public:
    using HxGlfwGame::HxGlfwGame;
};
