// Sol Brim in a web page: the program's start in a browser. The record's
// folder is loaded from the browser's storage before anything else, then the
// program starts as on the desktop, and the browser drives the frames.
#include <GLFW/glfw3.h>
#include <emscripten.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "app/framework.h"
#include "game/game_globals.h"
#include "game/my_app.h"
#include "host/entry_point.h"
#include "host/joystick_source.h"
#include "input/input.h"
#include "web/hx_web_game.h"
#include "web/page_audio.h"
#include "web/page_touch.h"
#include "web/web_host_window.h"

namespace {

// The preloaded package holds data/; the record's folder is kept in
// IndexedDB by the page.
constexpr const char* kDataFolder = "data/";
constexpr const char* kStateFolder = "/persist";
constexpr const char* kStateFile = "/persist/.vellumstate";

void InitGlobals() {
    InitFrameworkGlobals();
    InitGameGlobals();
}

void CreateApp() { new c_MyApp(); }

std::function<void()> gFrame;
HxWebGame* gGame = nullptr;

void RunFrame() { gFrame(); }

void StartFrames(std::function<void()> frame) {
    gFrame = std::move(frame);
    // At the browser's own frame rate; start-up returns to the page.
    emscripten_set_main_loop(RunFrame, 0, 0);
}

void PersistStateFolder() {
    EM_ASM({
        FS.syncfs(false, function(error) {
            if (error) console.warn("Sol Brim: the record could not be stored", error);
        });
    });
}

void OpenInNewTab(const std::string& url) {
    EM_ASM({ window.open(UTF8ToString($0), "_blank", "noopener"); }, url.c_str());
}

}  // namespace

// Called by the page once the record's folder is loaded (storageAvailable:
// whether the browser's storage could be opened at all).
extern "C" EMSCRIPTEN_KEEPALIVE void SolbrimStart(int storageAvailable) {
    // Opening the window sets the canvas to the desktop's first size; the
    // page has fitted it already.
    int width = 0, height = 0;
    CanvasSize(&width, &height);
    OpenGameWindow(kDataFolder);
    ResizeCanvas(width, height);
    GameFiles files{kDataFolder, kStateFile, ""};
    WebPage page;
    page.storageAvailable = storageAvailable != 0;
    page.persist = PersistStateFolder;
    page.openUrl = OpenInNewTab;
    page.startFrames = StartFrames;
    auto* game = new HxWebGame(files, std::make_unique<WebHostWindow>(glfwGetCurrentContext()),
                               std::make_unique<GlfwJoystickSource>(), std::move(page));
    gGame = game;
    ListenToCanvasTouches(game);
    static char program[] = "solbrim";
    static char* argv[] = {program, nullptr};
    InitProgram(1, argv, InitGlobals, CreateApp);
    if (game->Delegate()) game->Run();
}

// The page fits the canvas: a drawing buffer of width x height pixels.
extern "C" EMSCRIPTEN_KEEPALIVE void SolbrimResizeCanvas(int width, int height) { ResizeCanvas(width, height); }

// The updates run so far, for measuring the update rate from the page.
extern "C" EMSCRIPTEN_KEEPALIVE double SolbrimUpdates() { return gGame ? static_cast<double>(gGame->Updates()) : 0; }

// How many of the left mouse button and the touch points are held, for the
// page's tests: none once every finger and button is up.
extern "C" EMSCRIPTEN_KEEPALIVE int SolbrimPointersHeld() {
    int held = MouseDown() ? 1 : 0;
    for (int point = 0; point < c_InputDevice::kTouches; ++point) held += TouchDown(point) ? 1 : 0;
    return held;
}

// The ball's velocity in virtual pixels per update (axis 0 x, 1 y), for the
// page's tests: how far a drag sets it moving.
extern "C" EMSCRIPTEN_KEEPALIVE double SolbrimBallVelocity(int axis) {
    auto* app = static_cast<c_MyApp*>(gApp.get());
    if (!app) return 0;
    return axis == 0 ? app->ballVelX : app->ballVelY;
}

int main() {
    ResumeAudioOnGestures();
    EM_ASM({
        var folder = UTF8ToString($0);
        try {
            FS.mkdir(folder);
            FS.mount(IDBFS, {}, folder);
        } catch (error) {
            console.warn("Sol Brim: no persistent storage", error);
            Module["_SolbrimStart"](0);
            return;
        }
        FS.syncfs(true, function(error) {
            if (error) console.warn("Sol Brim: the stored record could not be read", error);
            Module["_SolbrimStart"](error ? 0 : 1);
        });
    }, kStateFolder);
    // The program goes on in the callbacks above; returning would end it.
    emscripten_exit_with_live_runtime();
}
