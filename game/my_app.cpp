#include "game/my_app.h"

#include <cmath>
#include <cstdint>

#include "app/framework.h"
#include "audio/sound.h"
#include "game/game_constants.h"
#include "game/game_globals.h"
#include "game/sound_mode.h"
#include "graphics/drawing.h"
#include "graphics/image.h"
#include "host/hx_game.h"
#include "host/runtime_error.h"
#include "input/input.h"
#include "music/tune_player.h"

namespace {

constexpr int kKeyBack = 416;
constexpr int kKeyF10 = 121;

// One step of a rate meter: the rate from the time since the last step,
// smoothed over about ten steps. A clock that stands still or runs
// backwards leaves the rate as it was.
void MeasureRate(int& lastMs, int& rate, int& smoothed) {
    int64_t elapsed = static_cast<int64_t>(Millisecs()) - lastMs;
    if (elapsed > 0 && elapsed <= INT32_MAX) rate = static_cast<int>(1000 / elapsed);
    smoothed = (smoothed * 9 + rate) / 10;
    lastMs = Millisecs();
}

template <class T>
void Fill(const Array<T>& array, T value) {
    for (int i = 0; i < array.Length(); ++i) array[i] = value;
}

}  // namespace

c_MyApp::c_MyApp() {
    tunePlayer = new c_TunePlayer();
#define SOLBRIM_MAKE_ARRAY(type, name, length) name = Array<type>(length);
    SOLBRIM_MY_APP_ARRAYS(SOLBRIM_MAKE_ARRAY)
#undef SOLBRIM_MAKE_ARRAY
}

void c_MyApp::Mark() {
    gc_mark(tunePlayer);
#define SOLBRIM_MARK_ARRAY(type, name, length) gc_mark(name);
    SOLBRIM_MY_APP_ARRAYS(SOLBRIM_MARK_ARRAY)
#undef SOLBRIM_MARK_ARRAY
}

void c_MyApp::ZeroState() {
    static_cast<MyAppScalars&>(*this) = MyAppScalars{};
#define SOLBRIM_ZERO_ARRAY(type, name, length) Fill(name, type());
    SOLBRIM_MY_APP_ARRAYS(SOLBRIM_ZERO_ARRAY)
#undef SOLBRIM_ZERO_ARRAY
}

int c_MyApp::OnCreate() {
    screen = kScreenTitle;
    SetUpdateRate(60);
    lastDeviceWidth = DeviceWidth();
    lastDeviceHeight = DeviceHeight();
    MusicStart();
    PrepareLoading();
    gameMode = 2;
    titleSlide = -32;
    paused = 0;
    pauseMenuDir = -1;
    pauseMenuY = -64;
    Fill(badgePopupIds, 0);
    Fill(badgePopupTimers, 0);
    for (int i = 0; i < 128; ++i) badgeFlags[i] = false;
    for (int i = 0; i < kBackKeyButton; ++i) virtualButtons[i] = 0;
    Fill(settings, 0);
    settings[kSettingSoundMode] = 1;
    for (int i = 0; i <= 30; ++i) highScores[i] = 0;
    LoadSavedData();
    for (int i = 0; i < 33; ++i) channelOrder[i] = i;
    return 0;
}

// A running game always comes back paused, its menu standing fully open;
// anywhere else nothing is paused.
static void SetPauseForSuspension(c_MyApp* app) {
    if (!GameRunning(app->screen)) {
        app->paused = app->pauseMenuDir = app->pauseMenuY = 0;
    } else {
        app->paused = 1;
        app->pauseMenuDir = 1;
        app->pauseMenuY = static_cast<int>(virtualHeight * 0.5f);
    }
}

int c_MyApp::OnSuspend() {
    SetArcadeMode(0);
    SetPauseForSuspension(this);
    SetUpdateRate(5);
    SaveData();
    return 0;
}

int c_MyApp::OnFocusLost() {
    // A menu still sliding away counts as play: it would otherwise close
    // behind the player's back.
    bool playing = paused == 0 || pauseMenuDir == -1;
    if (GameRunning(screen) && gameOver == 0 && playing) {
        // As with the pause icon, a press still held when the player comes
        // back must not land on a menu button.
        touchLatch = 1;
        OpenPauseMenu();
    }
    return 0;
}

int c_MyApp::OnResume() {
    SetPauseForSuspension(this);
    SetUpdateRate(60);
    SetArcadeMode(0);
    return 0;
}

int c_MyApp::OnUpdate() {
    virtualButtons[kBackKeyButton] = KeyHit(kKeyBack);
    if (KeyHit(KEY_CLOSE) != 0) {
        // Settings changed since the last save (sound mode, move speed) would
        // otherwise be lost with the window.
        SaveData();
        Error(String());
    }
    if (KeyHit(kKeyF10) != 0) debugMode = 1 - debugMode;
    UpdateAsyncEvents();
    MeasureRate(updateLastMs, updateFps, updateFpsSmooth);
    MusicUpdate();
    SampleInput();

    // A level the host had to fetch has arrived: everything is loaded again
    // in it, as after a resize.
    if (awaitedLevel != 0 && HxGame::Current()->ResolutionLevelPresent(awaitedLevel)) {
        awaitedLevel = 0;
        loadStep = 1;
    }
    // No screen runs while loading; a screen that starts loading (the start
    // gate) has its first step in the same update.
    if (loadStep == 0) RunScreen();
    if (loadStep > 0) LoadStep();

    ReadArcadeStick();
    for (int i = 0; i < kBackKeyButton; ++i) {
        if (virtualButtons[i] == 1) virtualButtons[i] = 0;
    }

    if (debugMode == 1 && screen != kScreenStartGate) {
        ResetDrawState();
        String text = String::FromInt(renderFpsSmooth) + String(":") + String::FromFloat(pixelScaleX) +
                      String(",") + String::FromFloat(pixelScaleY);
        QueueText(16, virtualHeight - 16, text, 0, 0);
    }
    BadgePopups();
    return 0;
}

void c_MyApp::RunScreen() {
    switch (screen) {
        case kScreenTitle:
            TitleScreen();
            break;
        case kScreenScoreEntry:
            RecordScore();
            screen = kScreenTitle;
            break;
        case kScreenStartGate:
            DrawBackdrop(0);
            break;
        case kScreenPlay:
            PlayUpdate();
            PlayControls();
            break;
        case kScreenNewGame:
            NewGame();
            break;
        default:
            break;
    }
    if (screen == kScreenPlay && gameOver > 0) ResultScreen();
    if (screen == kScreenTitle || screen == kScreenScoreEntry) ResultScreen();
    if (screen == kScreenTitle && (creditsOpen == 1 || creditsSlide > 0)) CreditsPanel();
    if (creditsOpen == 0 && creditsSlide > 0) creditsSlide -= 1;
    if (creditsOpen == 1 && creditsSlide < 30) creditsSlide += 1;
    if (screen == kScreenTitle && badgesOpen == 1) BadgePanel();
}

int c_MyApp::OnRender() {
    MusicRender();
    if (pendingMapFrame > 0) {
        DecodeMapImage(pendingMapImage, pendingMapFrame);
        pendingMapFrame = pendingMapImage = 0;
    }
    MeasureRate(renderLastMs, renderFps, renderFpsSmooth);

    SetColor(clearRed, clearGreen, clearBlue);
    SetAlpha(clearAlpha);
    DrawRect(-1, -1, static_cast<float>(DeviceWidth() + 2), static_cast<float>(DeviceHeight() + 2));
    SetColor(255, 255, 255);
    SetAlpha(1);

    if (DeviceWidth() != lastDeviceWidth || DeviceHeight() != lastDeviceHeight) {
        // Reload every asset in the resolution that suits the new size; the
        // screen stays, so play goes on once loading is done.
        loadStep = 1;
        lastDeviceWidth = DeviceWidth();
        lastDeviceHeight = DeviceHeight();
    }
    FitToDevice();
    ReplayDrawList();
    return 0;
}

void c_MyApp::FitToDevice() {
    float width = static_cast<float>(DeviceWidth());
    float height = static_cast<float>(DeviceHeight());
    float sx = width / baseWidth;
    float sy = height / baseHeight;
    if (sx > sy) {
        scaleFitMode = 1;
    } else if (sx < sy) {
        scaleFitMode = 2;
    } else {
        scaleFitMode = std::fabs(sy - 1) < std::fabs(sx - 1) ? 2 : 1;
    }
    float s = scaleFitMode == 1 ? sx : sy;
    if (!(s > 0)) return;  // no window area: keep the last layout
    pixelScaleX = pixelScaleY = s;
    virtualWidth = width / s;
    virtualHeight = height / s;
    landscape = virtualWidth >= virtualHeight ? 1 : 0;
}

void c_MyApp::MusicStart() {
#if SOLBRIM_MUSIC
    if (musicEnabled == 1) tunePlayer->Init(32, 4, 3, 3, 4);
#endif
}

void c_MyApp::MusicUpdate() {
#if SOLBRIM_MUSIC
    if (musicEnabled != 1) return;
    // The title starts its song whenever it shows with nothing playing.
    if (screen == kScreenTitle && loadStep == 0) tunePlayer->PlayTitleSong();
    tunePlayer->Update(paused, MusicOn(settings[kSettingSoundMode]) ? 1 : 0);
#endif
}

void c_MyApp::MusicRender() {
#if SOLBRIM_MUSIC
    if (musicEnabled == 1) tunePlayer->FinishLoading();
#endif
}
