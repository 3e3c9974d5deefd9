// The title screen: the menu art slides in, three buttons choose and start a
// mode, the side panel lists the best and the latest scores of the selected
// mode, a sound button switches sound, and the maker emblem opens the
// credits. While a panel covers the title, the lists hide and nothing acts.
#include <algorithm>
#include <cmath>

#include "game/game_constants.h"
#include "game/game_globals.h"
#include "game/my_app.h"
#include "game/sound_mode.h"

namespace {

constexpr int kSelectionFrame = 15;
constexpr float kPanelWidth = 140;

struct ModeButton {
    float landscapeX, landscapeY, landscapeSlideY;  // x·W, y·H + slideY·s
    float portraitX, portraitSlideX, portraitY, portraitSlideY;
};

const ModeButton kModeButtons[3] = {
    {0.2f, 0.7f, -8, 0.3f, -8, 0.45f, 0},
    {0.4f, 0.7f, -12, 0.3f, 0, 0.65f, -12},
    {0.6f, 0.7f, -10, 0.3f, 8, 0.85f, 0},
};

}  // namespace

void c_MyApp::TitleScreen() {
    BeginFrame(0, 0, 80, 1);
    if (titleSlide < 0) titleSlide = static_cast<int>(titleSlide + 0.25f);
    const float w = virtualWidth, h = virtualHeight;
    const float s = static_cast<float>(titleSlide);
    const bool panelOpen = creditsOpen != 0 || badgesOpen != 0;
    const int mode = std::clamp(gameMode, 1, 3);

    // Menu art and the side panel behind the score lists.
    ResetDrawState();
    sidePanelWidth = kPanelWidth;
    SetDrawScale(3, kAbsent);
    QueueImage(kImageMenu, 0.5f * w, 0.5f * h + 16 * s, 0);
    SetDrawScale(2, kAbsent);
    QueueImage(kImageMenu, 0.4f * w + 20 * s, 0.5f * h, 2);
    SetDrawScale(3, kAbsent);
    QueueImage(kImageMenu, 0.5f * w, 0.5f * h - 24 * s, 1);
    SetDrawScale(1, kAbsent);
    QueueImage(kImageLogo, 0.4f * w, 0.2f * h + 12 * s, 0);
    SetDrawColor(0, 0, 0, 0.4f);
    QueueRect(w - kPanelWidth - 4 * s, 0, kPanelWidth, h);
    ResetDrawState();

    // Sound button: a two-way switch unless the music generator is built in.
    SetDrawScale(2, kAbsent);
    SetDrawColor(50, 250, 50, 1);
    float sx = landscape ? 4 * s + 32 : std::trunc(0.5f * w);
    float sy = landscape ? std::trunc(0.5f * h) : 4 * s + 32;
    int& soundMode = settings[kSettingSoundMode];
    if (ImageButton(kImageIcons, sx, sy, SoundButtonIcon(soundMode)) && touchLatch == 0 && !panelOpen) {
        soundMode = ClickedSoundMode(soundMode, musicEnabled == 1);
        touchLatch = 1;
        PlaySfx(kSoundClick, 1, 0.5f, 0);
    }
    if (soundMode >= 1 && soundMode <= 3 && musicEnabled == 1) {
        SetDrawScale(1.5f, kAbsent);
        SetDrawColor(180, 255, 255, 1);
        QueueImage(kImageIcons, sx + 20, sy, kIconSoundModeMarks + soundMode);
    }

    // Best scores, then the latest games, of the selected mode.
    SetDrawColor(255, 200, 100, 1);
    SetDrawScale(1.5f, kAbsent);
    scoreBase = kScorePlaces * (mode - 1);
    int lineHeight = std::max(1, static_cast<int>(imageInfo[3 * fontImage + 1] * drawScaleY));
    scoreRows = std::clamp(static_cast<int>(std::floor((h - 90 - 0.5f * h) / lineHeight)), 1, 10);
    auto scoreList = [&](const char* heading, const char* single) {
        String text = scoreRows == 1 ? String(single) : String(heading) + String::FromInt(scoreRows);
        for (int i = 0; i < scoreRows; ++i) text += String("\\n") + PadNumber(highScores[scoreBase + i], 11, String(" "));
        return text;
    };
    String best = scoreList("Top ", "Highscore");
    if (!panelOpen) QueueText(w - kPanelWidth - 4 * s + 20, 60, best, 0, 0);
    SetDrawColor(200, 255, 100, 1);
    SetDrawScale(1.5f, kAbsent);
    scoreBase += kRecentScores;
    String latest = scoreList("Last ", "Last");
    if (!panelOpen) QueueText(w - kPanelWidth - 4 * s + 20, 0.5f * h + 20, latest, 0, 0);

    // Mode buttons; the selected one wears a frame.
    ResetDrawState();
    SetDrawScale(1.5f, kAbsent);
    for (int k = 1; k <= 3; ++k) {
        const ModeButton& b = kModeButtons[k - 1];
        float x = landscape ? b.landscapeX * w : b.portraitX * w + b.portraitSlideX * s;
        float y = landscape ? b.landscapeY * h + b.landscapeSlideY * s : b.portraitY * h + b.portraitSlideY * s;
        SetDrawAlpha(1);
        if (ImageButton(kImageModeButtons, x, y, k - 1) && touchLatch == 0 && !panelOpen) {
            screen = kScreenNewGame;
            touchLatch = 1;
            controlLatch = 1;
            gameMode = k;
            PlaySfx(kSoundClick, 1, 0.5f, 0);
        }
        if (gameMode == k) {
            SetDrawAlpha(0.75f);
            QueueImage(kImageModeButtons, x, y, kSelectionFrame);
        }
    }
    ResetDrawState();

    // Keys and joystick: left/up and right/down pick the mode, a button starts it.
    if (controlLatch == 0 && !panelOpen && (ControlDown(kControlUp) || ControlDown(kControlLeft)) && gameMode > 1) {
        gameMode -= 1;
        controlLatch = 1;
        PlaySfx(kSoundClick, 1, 0.5f, 0);
    }
    if (controlLatch == 0 && !panelOpen && (ControlDown(kControlDown) || ControlDown(kControlRight)) && gameMode < 3) {
        gameMode += 1;
        controlLatch = 1;
        PlaySfx(kSoundClick, 1, 0.5f, 0);
    }
    if (controlLatch == 0 && !panelOpen) {
        bool start = false;
        for (int c = kControlFire; c <= 17; ++c) start = start || ControlDown(c) != 0;
        if (start) {
            screen = kScreenNewGame;
            touchLatch = 1;
            controlLatch = 1;
            PlaySfx(kSoundClick, 1, 0.5f, 0);
        }
    }

    // The maker emblem opens the credits.
    ResetDrawState();
    SetDrawScale(0.5f, kAbsent);
    if (ImageButton(kImageMakerEmblem, w - 70, h - 40 - 4 * s, 0) && touchLatch == 0 && !panelOpen) {
        touchLatch = 1;
        PlaySfx(kSoundFlourish, 1, 1, 0);
        creditsOpen = 1;
    }
}
