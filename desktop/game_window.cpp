#include "desktop/game_window.h"

#include <GLFW/glfw3.h>
#include <unistd.h>

#include <cstdlib>

#include "desktop/gamepad_mappings.h"
#include "desktop/window_icon.h"

namespace {

// An X server can refuse a connection for a moment, even with no other
// client starting beside this one; a few more tries cost nothing when it
// answers at once.
bool InitWindowLibrary() {
    constexpr int kAttempts = 10;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        if (glfwInit()) return true;
        if (attempt < kAttempts) usleep(50000);
    }
    return false;
}

// Whichever way the process ends normally, the window library is let go
// last: exit handlers registered later (the audio device's) run before it.
// Not in the sanitizer build: terminating unloads the GL driver, after which
// the leak checker cannot tell the driver's own small leaks, which it is told
// to ignore by library name, from the program's.
void TerminateWindowLibraryAtExit() {
#if !defined(__SANITIZE_ADDRESS__)
    static const bool registered = std::atexit(glfwTerminate) == 0;
    (void)registered;
#endif
}

}  // namespace

void CentredWindowPosition(int desktopWidth, int desktopHeight, int* x, int* y) {
    *x = (desktopWidth - kWindowWidth) / 2;
    *y = (desktopHeight - kWindowHeight) / 2;
}

GLFWwindow* OpenGameWindow(const std::string& dataFolder) {
    if (!InitWindowLibrary()) WindowStartupFailed("glfwInit failed");
    TerminateWindowLibraryAtExit();
    LoadGamepadMappings();

    int desktopWidth = kWindowWidth, desktopHeight = kWindowHeight;
    if (GLFWmonitor* monitor = glfwGetPrimaryMonitor()) {
        if (const GLFWvidmode* mode = glfwGetVideoMode(monitor)) {
            desktopWidth = mode->width;
            desktopHeight = mode->height;
        }
    }

    GLFWwindow* window = CreateGameWindow();
    // Placed before it is shown, so it never appears anywhere else.
    int x = 0, y = 0;
    CentredWindowPosition(desktopWidth, desktopHeight, &x, &y);
    glfwSetWindowPos(window, x, y);
    SetWindowIcon(window, dataFolder);
    glfwShowWindow(window);
    return window;
}
