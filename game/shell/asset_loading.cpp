// Asset loading: the maker logo and the font at once, everything else one
// step per update so the loading screen keeps animating. Images come in
// three resolutions (NAME.png, NAME-hd.png, NAME-hd2.png); the level follows
// the device size and the host's files (resolution_level.h), re-evaluated
// before every step.
#include <algorithm>

#include "app/framework.h"
#include "audio/audio.h"
#include "game/degrees.h"
#include "game/game_constants.h"
#include "game/game_globals.h"
#include "game/my_app.h"
#include "game/shell/resolution_level.h"
#include "graphics/drawing.h"
#include "graphics/image.h"
#include "host/hx_game.h"

namespace {

constexpr int kMidHandle = 1;
constexpr int kFontCells = 128;
constexpr int kFontCellSize = 16;

enum class Load { None, Image, Font, Sound };

struct LoadAction {
    Load kind;
    int index;
    const char* name;
    int frameWidth;
    int frameHeight;
    int frameCount;
};

// The load sequence: step k performs kLoadSteps[k - 1] (one or two actions).
struct LoadStepRow {
    LoadAction first;
    LoadAction second;
};

constexpr LoadAction kNothing = {Load::None, 0, nullptr, 0, 0, 0};

// Loaded at once by PrepareLoading, and again by the sequence.
constexpr LoadAction kLoadMakerEmblem = {Load::Image, kImageMakerEmblem, "common/TIRNLogo", 256, 256, 1};
constexpr LoadAction kLoadFont = {Load::Font, kImageFont, "fonts/editundo", 7, 10, 0};

const LoadStepRow kLoadSteps[] = {
    {{Load::Image, kImageIcons, "common/icons", 32, 32, 16}, kNothing},
    {{Load::Image, kImageModeButtons, "common/Buttons", 64, 64, 16}, kNothing},
    {{Load::Image, kImageDirectionPad, "common/dpad", 32, 32, 16}, kNothing},
    {{Load::Image, kImageArcadeStick, "common/icade", 64, 64, 2}, kNothing},
    // The emblem again, so a level change since PrepareLoading is followed.
    {kLoadMakerEmblem, {Load::Image, kImageTestCard, "common/Testcard_Circle", 256, 256, 1}},
    {kLoadFont, kNothing},
    {{Load::Sound, kSoundCoin, nullptr, 0, 0, 0}, kNothing},
    {{Load::Sound, kSoundTick, nullptr, 0, 0, 0}, kNothing},
    {{Load::Sound, kSoundClick, nullptr, 0, 0, 0}, kNothing},
    {{Load::Sound, kSoundFlourish, nullptr, 0, 0, 0}, kNothing},
    {{Load::Image, kImageMenu, "menu", 256, 256, 4}, kNothing},
    {{Load::Image, kImageLogo, "logo", 256, 128, 1}, kNothing},
    {{Load::Image, kImageParts, "parts", 8, 8, 16}, kNothing},
    {{Load::Image, kImageBadges, "BadgesA", 64, 64, 64}, kNothing},
    {{Load::Image, kImageHeart, "heart", 32, 32, 1}, kNothing},
    {{Load::Sound, kSoundHit, nullptr, 0, 0, 0}, kNothing},
    {{Load::Image, kImageWorldTiles, "world001", 32, 32, 50}, kNothing},
    {{Load::Image, kImageEyes, "eyes", 32, 32, 1}, kNothing},
};

constexpr int kStepCount = static_cast<int>(sizeof(kLoadSteps) / sizeof(kLoadSteps[0]));

void Perform(c_MyApp* app, const LoadAction& action) {
    switch (action.kind) {
        case Load::Image:
            app->LoadScaledImage(action.index, String(action.name), action.frameWidth, action.frameHeight,
                                 action.frameCount, kMidHandle);
            break;
        case Load::Font:
            app->LoadFont(action.index, String(action.name), action.frameWidth, action.frameHeight);
            break;
        case Load::Sound:
            app->LoadSfx(action.index);
            break;
        case Load::None:
            break;
    }
}

// "menu" at level 2 is "menu-hd.png".
String LevelPath(const String& name, int level) {
    if (level == 2) return name + String("-hd.png");
    if (level == 4) return name + String("-hd2.png");
    return name + String(".png");
}

void StoreImageInfo(c_MyApp* app, int index, int width, int height, int count) {
    app->imageInfo[3 * index] = width;
    app->imageInfo[3 * index + 1] = height;
    app->imageInfo[3 * index + 2] = count;
}

bool ValidImageSlot(c_MyApp* app, int index) { return index >= 0 && index < app->images.Length(); }

}  // namespace

void c_MyApp::ChooseResolution() {
    HxGame* host = HxGame::Current();
    auto present = [host](int level) { return !host || host->ResolutionLevelPresent(level); };
    int wanted = ResolutionLevelFor(DeviceWidth(), DeviceHeight());
    hdLevel = UsableResolutionLevel(wanted, present);
    if (hdLevel < wanted || !present(hdLevel)) {
        // Loading starts again once it has arrived (OnUpdate).
        host->FetchResolutionLevel(wanted);
        awaitedLevel = wanted;
    }
    hdScale = 1.0f / static_cast<float>(hdLevel);
    if (host) host->SetResolutionLevel(hdLevel);
}

void c_MyApp::PrepareLoading() {
    ChooseResolution();
    clearRed = clearGreen = clearBlue = 0;
    clearAlpha = 1;
    Perform(this, kLoadMakerEmblem);
    Perform(this, kLoadFont);
    loadStep = 1;
}

void c_MyApp::LoadStep() {
    ChooseResolution();
    if (loadStep >= 1 && loadStep <= kStepCount) {
        const LoadStepRow& row = kLoadSteps[loadStep - 1];
        Perform(this, row.first);
        Perform(this, row.second);
    } else {
        loadStep = 0;  // loading finished
    }
    if (loadStep > 0) loadStep += 1;
    DrawBackdrop(1);
}

void c_MyApp::LoadScaledImage(int index, const String& name, int frameWidth, int frameHeight, int frameCount,
                              int flags) {
    if (!ValidImageSlot(this, index)) return;
    String path = LevelPath(name, hdLevel);
    images[index] = nullptr;
    images[index] = LoadImageStrip(path, hdLevel * frameWidth, hdLevel * frameHeight, frameCount, flags);
    StoreImageInfo(this, index, hdLevel * frameWidth, hdLevel * frameHeight, frameCount);
}

void c_MyApp::LoadFont(int index, const String& name, int advance, int lineHeight) {
    if (!ValidImageSlot(this, index)) return;
    String path = LevelPath(name, hdLevel);
    images[index] = nullptr;
    images[index] =
        LoadImageStrip(path, kFontCellSize * hdLevel, kFontCellSize * hdLevel, kFontCells, kMidHandle);
    StoreImageInfo(this, index, advance, lineHeight, kFontCells);
    fontImage = index;
}

void c_MyApp::LoadImageUnscaled(int index, const String& name, int frameWidth, int frameHeight, int frameCount,
                                int flags) {
    if (!ValidImageSlot(this, index)) return;
    images[index] = nullptr;
    images[index] = LoadImageStrip(name + String(".png"), frameWidth, frameHeight, frameCount, flags);
    StoreImageInfo(this, index, frameWidth, frameHeight, frameCount);
}

void c_MyApp::LoadSfx(int number) {
    String digits = String::FromInt(number);
    String prefix = number < 10 ? String("sfx/00") : number <= 99 ? String("sfx/0") : String("sfx/");
    c_Sound* sound = LoadSound(prefix + digits + String(".wav"));
    // Only numbers that have a slot keep their sound.
    if (number >= 0 && number < sounds.Length()) sounds[number] = sound;
}

void c_MyApp::DrawBackdrop(int mode) {
    float w = virtualWidth, h = virtualHeight;
    float s = static_cast<float>(std::min(static_cast<int>(w), static_cast<int>(h)));
    float ring = s / 4;

    BeginFrame(40, 40, 80, 1);
    backdropPhase = (backdropPhase + 16) % 360;

    // Two rings of fading dots chase each other round the emblem, half a
    // turn apart; angle 0 points up and angles turn clockwise.
    auto queueRing = [&](float offset, float grey) {
        for (int i = 0; i <= 10; ++i) {
            float a = static_cast<float>(backdropPhase + 16 * i) + offset;
            SetDrawColor(grey, grey, grey, i / 10.0f);
            QueueEllipse(0.5f * w + ring * SinDeg(a), 0.5f * h - ring * CosDeg(a), 8, 8);
        }
    };
    if (mode == 1) queueRing(180, 250);

    SetDrawColor(255, 255, 0, 0.8f);
    QueueEllipse(0.5f * w, 0.5f * h, 0.3f * s, 0.3f * s);
    SetDrawColor(250, 160, 60, 0.7f);
    QueueRect(0, 0.4f * h, w, 0.2f * h);
    ResetDrawState();
    QueueImage(kImageMakerEmblem, 0.5f * w, 0.48f * h, 0);

    if (mode == 1) queueRing(0, 50);
    if (mode != 0) return;

    // The start gate.
    SetDrawScale(1, kAbsent);
    SetDrawColor(0, 0, 0, 0.2f);
    QueueEllipse(0.5f * w, 0.7f * h, 136, 24);
    QueueEllipse(0.5f * w, 0.7f * h, 132, 20);
    QueueEllipse(0.5f * w, 0.7f * h, 128, 16);
    SetDrawScale(2, kAbsent);
    SetDrawColor(255, 255, 255, 1);
    QueueText(0.5f * w, 0.7f * h, String(" Click to Start"), 1, 0.8f);
    if (pointerHit != 0 && pointerX > 0.25f * w && pointerX < 0.75f * w && pointerY > 0.25f * h &&
        pointerY < 0.75f * h) {
        touchLatch = 1;
        screen = kScreenTitle;
        PrepareLoading();
        SetUpdateRate(60);
    }
}
