#include "bench/game/bench_game.h"

#include <GLFW/glfw3.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/framework.h"
#include "desktop/hx_desktop_game.h"
#include "game/game_globals.h"
#include "tests/support/test_gl_window.h"

namespace {

Global<Ref<c_MyApp>> gBenchApp;
HxGame* gBenchHost = nullptr;
void (*gCollectorStepObserver)(double seconds) = nullptr;

// The desktop host, its collector steps timed for whoever observes them.
class TimedHost : public HxDesktopGame {
public:
    explicit TimedHost(GLFWwindow* window) : HxDesktopGame(GameFiles{}, window) {}

    void GcCollect() override {
        if (!gCollectorStepObserver) return HxDesktopGame::GcCollect();
        auto start = std::chrono::steady_clock::now();
        HxDesktopGame::GcCollect();
        gCollectorStepObserver(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
};

}  // namespace

c_MyApp* BenchGame(benchmark::State& state) {
    if (gBenchApp) return gBenchApp;
    GLFWwindow* window = std::getenv("DISPLAY") ? TestGlWindow(640, 480) : nullptr;
    if (!window) {
        state.SkipWithError("needs an X display (run under xvfb-run)");
        return nullptr;
    }
    char pattern[] = "/tmp/solbrim-bench-XXXXXX";
    std::string dir = mkdtemp(pattern);
    std::filesystem::create_directory_symlink(std::filesystem::path(SOLBRIM_BUILD_DIR) / "data",
                                              std::filesystem::path(dir) / "data");
    if (chdir(dir.c_str()) != 0) std::abort();
    glfwSwapInterval(0);
    gBenchHost = new TimedHost(window);
    gc::Init();
    InitFrameworkGlobals();
    InitGameGlobals();
    gc::MarkRoots();
    gBenchApp = new c_MyApp();
    gBenchHost->StartGame();
    gBenchHost->RenderGame();
    return gBenchApp;
}

HxGame* BenchHost() { return gBenchHost; }

void ObserveCollectorSteps(void (*observer)(double seconds)) { gCollectorStepObserver = observer; }

void FinishBenchLoading() {
    while (gBenchApp && gBenchApp->loadStep != 0) {
        gBenchHost->UpdateGame();
        gBenchHost->RenderGame();
    }
}
