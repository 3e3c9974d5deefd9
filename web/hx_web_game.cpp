#include "web/hx_web_game.h"

#include <utility>

HxWebGame::HxWebGame(GameFiles files, std::unique_ptr<HostWindow> window, std::unique_ptr<JoystickSource> joysticks,
                     WebPage page)
    : HxWebGame(std::move(files), window.get(), std::move(window), std::move(joysticks), std::move(page)) {}

HxWebGame::HxWebGame(GameFiles files, HostWindow* windowView, std::unique_ptr<HostWindow>&& window,
                     std::unique_ptr<JoystickSource>&& joysticks, WebPage&& page)
    : HxVellumGame(std::move(files), std::move(window), std::move(joysticks)),
      window_(windowView),
      page_(std::move(page)) {
    for (int level : page_.presentLevels) levels_[level] = LevelFiles::Present;
}

void HxWebGame::Run() {
    page_.startFrames([this] { Frame(); });
}

void HxWebGame::Frame() {
    if (begun_) {
        RunPass();
        return;
    }
    begun_ = true;
    window_->Attach(this);
    StartGame();
    RenderGame();
}

void HxWebGame::UpdateGame() {
    ++updates_;
    HxVellumGame::UpdateGame();
}

int HxWebGame::SaveState(const String& state) {
    if (!page_.storageAvailable) return -1;
    int result = HxVellumGame::SaveState(state);
    if (result == 0 && page_.persist) page_.persist();
    return result;
}

void HxWebGame::OpenUrl(const String& url) {
    if (page_.openUrl) page_.openUrl(url.ToNarrow());
}

bool HxWebGame::ResolutionLevelPresent(int level) { return levels_[level] == LevelFiles::Present; }

void HxWebGame::FetchResolutionLevel(int level) {
    if (levels_[level] != LevelFiles::Absent || !page_.fetchLevel) return;
    levels_[level] = LevelFiles::Fetching;
    page_.fetchLevel(level);
}

void HxWebGame::LevelFetched(int level, bool succeeded) {
    if (levels_[level] != LevelFiles::Fetching) return;
    levels_[level] = succeeded ? LevelFiles::Present : LevelFiles::Failed;
}
