#include "web/web_host_window.h"

#include <GLFW/glfw3.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include "glfw/glfw_game_window.h"

namespace {
bool PageHidden() {
    EmscriptenVisibilityChangeEvent status{};
    if (emscripten_get_visibility_status(&status) != EMSCRIPTEN_RESULT_SUCCESS) return false;
    return status.hidden != 0;
}
}  // namespace

bool WebHostWindow::IsIconified() { return PageHidden(); }

bool WebHostWindow::IsActive() { return !PageHidden(); }

void ResizeCanvas(int width, int height) {
    if (width <= 0 || height <= 0) return;
    // Not through the window library's resize path: in fullscreen it sizes
    // the window to the screen, whatever the page chose.
    EM_ASM(
        {
            var canvas = Module["canvas"];
            if (canvas.width != $0) canvas.width = $0;
            if (canvas.height != $1) canvas.height = $1;
            var win = GLFW.active;
            if (!win || (win.width == $0 && win.height == $1)) return;
            win.width = $0;
            win.height = $1;
            GLFW.onWindowSizeChanged();
            GLFW.onFramebufferSizeChanged();
        },
        width, height);
}

void CanvasSize(int* width, int* height) { emscripten_get_canvas_element_size("#canvas", width, height); }

GLFWwindow* OpenCanvasWindow(int width, int height) {
    if (!glfwInit()) WindowStartupFailed("glfwInit failed");
    GLFWwindow* window = CreateGameWindow();
    // Creating the window set the canvas to the window's first size.
    ResizeCanvas(width, height);
    glfwShowWindow(window);
    return window;
}
