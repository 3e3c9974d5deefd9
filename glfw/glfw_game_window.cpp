#include "glfw/glfw_game_window.h"

#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>

void WindowStartupFailed(const char* message) {
    std::printf("%s\n", message);
    std::fflush(stdout);
    std::exit(-1);
}

GLFWwindow* CreateGameWindow() {
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    glfwWindowHint(GLFW_DEPTH_BITS, 0);
    glfwWindowHint(GLFW_STENCIL_BITS, 0);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(kWindowWidth, kWindowHeight, kWindowTitle, nullptr, nullptr);
    if (!window) WindowStartupFailed("glfwOpenWindow failed");
    glfwMakeContextCurrent(window);
    return window;
}
