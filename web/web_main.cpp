// Sol Brim in a web page: the program's start in a browser. The record's
// folder is loaded from the browser's storage before anything else, then the
// program starts as on the desktop, and the browser drives the frames.
#include <GLFW/glfw3.h>
#include <emscripten.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "app/framework.h"
#include "game/game_globals.h"
#include "game/my_app.h"
#include "game/shell/resolution_level.h"
#include "host/joystick_source.h"
#include "host/program.h"
#include "input/input.h"
#include "web/hx_web_game.h"
#include "web/page_audio.h"
#include "web/page_record_store.h"
#include "web/page_touch.h"
#include "web/web_host_window.h"
#include "web/web_joystick_device.h"

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

// The page's level loader (level_packages.js) answers with SolbrimLevelFetched.
void FetchLevelPackage(int level) {
    EM_ASM({ Module.solbrimFetchLevel($0); }, level);
}

// The levels a bit mask (bit n: level n) names.
std::set<int> LevelsInMask(int mask) {
    std::set<int> levels;
    for (int level : kResolutionLevels) {
        if (mask & (1 << level)) levels.insert(level);
    }
    return levels;
}

void OpenInNewTab(const std::string& url) {
    EM_ASM({ window.open(UTF8ToString($0), "_blank", "noopener"); }, url.c_str());
}

}  // namespace

// Called by the page once the record's folder is loaded (storageAvailable:
// whether the browser's storage could be opened at all; presentLevels: the
// resolution levels already in place, bit n for level n).
extern "C" EMSCRIPTEN_KEEPALIVE void SolbrimStart(int storageAvailable, int presentLevels) {
    // The page has fitted the canvas already.
    int width = 0, height = 0;
    CanvasSize(&width, &height);
    GLFWwindow* window = OpenCanvasWindow(width, height);
    GameFiles files{kDataFolder, kStateFile, ""};
    WebPage page;
    page.storageAvailable = storageAvailable != 0;
    if (page.storageAvailable) InstallRecordStore();
    page.persist = StoreRecordFolder;
    page.openUrl = OpenInNewTab;
    page.startFrames = StartFrames;
    page.fetchLevel = FetchLevelPackage;
    page.presentLevels = LevelsInMask(presentLevels);
    auto* game = new HxWebGame(files, std::make_unique<WebHostWindow>(window),
                               std::make_unique<GlfwJoystickSource>(std::make_unique<WebJoystickDevice>()), std::move(page));
    gGame = game;
    ListenToCanvasTouches(game);
    static char program[] = "solbrim";
    static char* argv[] = {program, nullptr};
    InitProgram(1, argv, InitGlobals, CreateApp);
    if (game->Delegate()) game->Run();
}

// The level loader's answer: every file of the level written, or not.
extern "C" EMSCRIPTEN_KEEPALIVE void SolbrimLevelFetched(int level, int succeeded) {
    if (gGame) gGame->LevelFetched(level, succeeded != 0);
}

// The level a window of this size loads, for the level loader's first
// choice. Pure, so it may be called before the runtime has started.
extern "C" EMSCRIPTEN_KEEPALIVE int SolbrimResolutionLevel(int width, int height) {
    return ResolutionLevelFor(width, height);
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
            Module["_SolbrimStart"](0, Module.solbrimPresentLevels);
            return;
        }
        FS.syncfs(true, function(error) {
            if (error) console.warn("Sol Brim: the stored record could not be read", error);
            Module["_SolbrimStart"](error ? 0 : 1, Module.solbrimPresentLevels);
        });
    }, kStateFolder);
    // The program goes on in the callbacks above; returning would end it.
    emscripten_exit_with_live_runtime();
}
