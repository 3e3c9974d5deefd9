// HxWebGame: the host inside a web page. The browser owns the loop and calls
// Frame once per display refresh; each frame is one pass of the desktop
// loop (HxGlfwGame::RunPass) on a window that never blocks, so the same
// fixed-step scheduler runs the 60 Hz updates (at most four, backlog
// dropped) and the frame is rendered once. A hidden page counts as an
// iconified window: the game is suspended until it is shown again.
//
// The record lives in a folder the page keeps in persistent storage. The
// save itself stays atomic in the in-memory file system (temporary file,
// then rename), and its result is that of the in-memory write; only after
// it succeeds is the page asked, once, to copy the folder out (the page
// retries a copy that failed and catches up when it is hidden or left).
// When the storage could not be opened at start, saving fails (-1) without
// writing.
//
// The images of each resolution level come in a package of their own that
// the page fetches on demand. A level is absent, on its way, present or
// failed; it is fetched at most once, and counts as present only after
// every file of it has been written, so the game never opens a file that
// is not there yet. A failed level stays failed for the page's life: the
// game keeps the level it has rather than asking again on every load step.
//
// Everything platform-specific is injected, so frames can be driven by a
// fake window and clock outside a browser.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "host/hx_vellum_game.h"

struct WebPage {
    // Starts calling frame once per browser frame; returns at once.
    std::function<void(std::function<void()> frame)> startFrames;
    // Copies the record's folder out to persistent storage.
    std::function<void()> persist;
    // Opens a link in a new tab.
    std::function<void(const std::string& url)> openUrl;
    // Starts fetching a resolution level's package; the page answers with
    // HxWebGame::LevelFetched.
    std::function<void(int level)> fetchLevel;
    // Whether persistent storage opened at start.
    bool storageAvailable = false;
    // The resolution levels whose files the page put in place before start.
    std::set<int> presentLevels;
};

class HxWebGame : public HxVellumGame {
public:
    HxWebGame(GameFiles files, std::unique_ptr<HostWindow> window, std::unique_ptr<JoystickSource> joysticks,
              WebPage page);

    // Hands the frames to the page and returns; the page keeps the game running.
    void Run() override;
    // The first frame starts the game and renders it; every later one is a
    // pass of the loop.
    void Frame();

    void UpdateGame() override;
    // Updates run since start, for the page's measurements.
    long long Updates() const { return updates_; }

    int SaveState(const String& state) override;
    void OpenUrl(const String& url) override;
    bool ResolutionLevelPresent(int level) override;
    void FetchResolutionLevel(int level) override;
    // The page's answer to fetchLevel: every file of the level written, or not.
    void LevelFetched(int level, bool succeeded);

private:
    enum class LevelFiles { Absent, Fetching, Present, Failed };

    HxWebGame(GameFiles files, HostWindow* windowView, std::unique_ptr<HostWindow>&& window,
              std::unique_ptr<JoystickSource>&& joysticks, WebPage&& page);

    HostWindow* window_;  // owned by the base
    WebPage page_;
    bool begun_ = false;
    long long updates_ = 0;
    std::map<int, LevelFiles> levels_;
};
