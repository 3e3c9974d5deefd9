// Pointer sampling, the logical controls, the arcade stick, the latches and
// the pause menu, driven through real input events and updates.
#include <algorithm>

#include "game/game_globals.h"
#include "host/hx_game.h"
#include "input/input.h"
#include "tests/game/game_fixture.h"

namespace {

constexpr int kEsc = 27, kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kSpace = 32, kZ = 90;

class ControlsTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        App()->screen = 0;  // no screen runs unless a test starts one
    }

    // A game in play, as the title screen would start it.
    void StartPlay() {
        c_MyApp* app = App();
        app->NewGame();
        app->screen = kScreenPlay;
        app->gameOver = 0;
        app->paused = 0;
        RunFrames(1);  // the pointer is up: the press that started the game is over
    }

    // Press, one update held, release, one update to free the latch.
    void Press(int key) {
        PressKey(key);
        RunFrames(1);
        ReleaseKey(key);
        RunFrames(1);
    }

    void OpenPauseMenu() {
        Press(kEsc);
        RunFrames(20);
        ASSERT_EQ(App()->paused, 1);
        ASSERT_EQ(App()->pauseMenuDir, 1);
    }

    void Click(float x, float y) {
        PressPointer(x, y);
        RunFrames(1);
        ReleasePointer();
        RunFrames(1);
    }

    float SoundButtonX() const { return static_cast<int>(virtualWidth / 2 + 140); }
    float SoundButtonY() const { return static_cast<float>(App()->pauseMenuY - 64); }
};

// ---- sampling and latches ---------------------------------------------------------

TEST_F(ControlsTest, PointerFollowsTheMouseAndAPressHasNoMovement) {
    c_MyApp* app = App();
    MovePointer(100, 80);
    RunFrames(1);
    MovePointer(110, 95);
    RunFrames(1);
    EXPECT_EQ(app->pointerX, 110);
    EXPECT_EQ(app->pointerY, 95);
    EXPECT_EQ(app->prevPointerX, 100);
    EXPECT_EQ(app->prevPointerY, 80);
    EXPECT_EQ(app->pointerDown, 0);
    EXPECT_EQ(app->touchX[0], -3717);  // up touch points hold the absent value

    PressPointer(150, 120);  // jumps 40 pixels while going down
    RunFrames(1);
    EXPECT_EQ(app->pointerDown, 1);
    EXPECT_EQ(app->pointerHit, 1);
    EXPECT_EQ(app->prevPointerX, 150);
    EXPECT_EQ(app->prevPointerY, 120);
    EXPECT_EQ(app->touchDown[0], 1);
    EXPECT_EQ(app->touchX[0], 150);

    MovePointer(160, 120);  // held: movement counts
    RunFrames(1);
    EXPECT_EQ(app->prevPointerX, 150);
    EXPECT_EQ(app->pointerX, 160);
    EXPECT_EQ(app->pointerHit, 0);
}

TEST_F(ControlsTest, PointerIsSampledInVirtualPixels) {
    c_MyApp* app = App();
    Game().ResizeWindow(1280, 960);
    RunFrames(1);  // the render finds the new scale
    ASSERT_EQ(app->pixelScaleX, 2);
    Game().Host()->MouseEvent(EVENT_MOUSE_MOVE, 0, 301, 199);
    RunFrames(1);
    EXPECT_EQ(app->pointerX, 150);  // truncated
    EXPECT_EQ(app->pointerY, 99);
}

TEST_F(ControlsTest, OtherTouchPointsCountAsPointerDown) {
    c_MyApp* app = App();
    Game().Host()->TouchEvent(EVENT_TOUCH_DOWN, 3, 200, 100);
    RunFrames(1);
    EXPECT_EQ(app->touchDown[3], 1);
    EXPECT_EQ(app->touchX[3], 200);
    EXPECT_EQ(app->touchY[3], 100);
    EXPECT_EQ(app->pointerDown, 1);
    EXPECT_EQ(app->touchDown[0], 0);
    Game().Host()->TouchEvent(EVENT_TOUCH_UP, 3, 200, 100);
    RunFrames(1);
    EXPECT_EQ(app->touchDown[3], 0);
    EXPECT_EQ(app->touchY[3], -3717);
    EXPECT_EQ(app->pointerDown, 0);
}

TEST_F(ControlsTest, LatchesFreeOnlyWhenNothingIsHeld) {
    c_MyApp* app = App();
    app->touchLatch = app->controlLatch = 1;
    PressPointer(10, 10);
    PressKey(kSpace);
    RunFrames(3);
    EXPECT_EQ(app->touchLatch, 1);
    EXPECT_EQ(app->controlLatch, 1);
    ReleasePointer();
    RunFrames(1);
    EXPECT_EQ(app->touchLatch, 0);
    EXPECT_EQ(app->controlLatch, 1);
    ReleaseKey(kSpace);
    PressKey(46);  // Delete is back, which also holds the latch
    RunFrames(1);
    EXPECT_EQ(app->controlLatch, 1);
    ReleaseKey(46);
    RunFrames(1);
    EXPECT_EQ(app->controlLatch, 0);
}

// ---- logical controls -------------------------------------------------------------

struct ControlCase {
    int control;
    std::vector<int> keys;
    std::vector<int> letters;
    int joyButton;
    std::vector<int> buttons;
};

const std::vector<ControlCase> kControlTable = {
    {0, {38}, {'W'}, 9, {0}},
    {3, {37}, {'A'}, 8, {3}},
    {5, {39}, {'D'}, 10, {5}},
    {8, {40}, {'S'}, 11, {8}},
    {10, {32, 13}, {'Z', 'J'}, 0, {10}},
    {11, {17}, {'X', 'K'}, 1, {11}},
    {12, {16}, {'C', 'L'}, 2, {12}},
    {13, {}, {'V', 'I'}, 3, {13}},
    {99, {27, 46, 8}, {}, 7, {16, 17, 19}},
};

TEST_F(ControlsTest, EveryControlRowAnswersToItsSources) {
    c_MyApp* app = App();
    std::vector<int> allControls;
    for (const ControlCase& row : kControlTable) allControls.push_back(row.control);
    auto onlyThisDown = [&](int control) {
        for (int other : allControls) {
            if (app->ControlDown(other) != (other == control ? 1 : 0)) return false;
        }
        return true;
    };
    for (const ControlCase& row : kControlTable) {
        std::vector<int> sources = row.keys;
        sources.insert(sources.end(), row.letters.begin(), row.letters.end());
        sources.push_back(256 + row.joyButton);
        for (int key : sources) {
            PressKey(key);
            EXPECT_TRUE(onlyThisDown(row.control)) << "control " << row.control << " key " << key;
            ReleaseKey(key);
            EXPECT_EQ(app->ControlDown(row.control), 0) << "control " << row.control << " key " << key;
        }
        for (int index : row.buttons) {
            for (int value : {1, 2}) {
                app->virtualButtons[index] = value;
                EXPECT_TRUE(onlyThisDown(row.control)) << "control " << row.control << " entry " << index;
            }
            app->virtualButtons[index] = 0;
        }
    }
    PressKey(kSpace);
    EXPECT_EQ(app->ControlDown(1), 0);  // not a control
    EXPECT_EQ(app->ControlDown(14), 0);
    ReleaseKey(kSpace);
}

TEST_F(ControlsTest, StickDirectionsBeyondFourTenths) {
    c_MyApp* app = App();
    RecordingHost* host = Game().Host();
    host->joystickPresent = true;
    struct Case {
        float x, y;
        int control;
    };
    for (Case c : {Case{-0.5f, 0, 3}, Case{0.5f, 0, 5}, Case{0, -0.5f, 0}, Case{0, 0.5f, 8}}) {
        host->joyX = c.x;
        host->joyY = c.y;
        RunFrames(1);
        for (int control : {0, 3, 5, 8}) {
            EXPECT_EQ(app->ControlDown(control), control == c.control ? 1 : 0)
                << "stick " << c.x << "," << c.y << " control " << control;
        }
    }
    host->joyX = 0.4f;  // the threshold itself is not enough
    host->joyY = -0.4f;
    RunFrames(1);
    EXPECT_EQ(app->ControlDown(kControlRight), 0);
    EXPECT_EQ(app->ControlDown(kControlUp), 0);
}

TEST_F(ControlsTest, ArcadeModeTakesOverTheLetterKeys) {
    c_MyApp* app = App();
    app->SetArcadeMode(1);
    EXPECT_EQ(arcadeMode, 1);
    EXPECT_TRUE(Game().Host()->KeyboardEnabled());
    PressKey('W');
    PressKey('Z');
    EXPECT_EQ(app->ControlDown(kControlUp), 0);
    EXPECT_EQ(app->ControlDown(kControlFire), 0);
    ReleaseKey('W');
    ReleaseKey('Z');
    PressKey(kUp);  // keys that are not letters still count
    EXPECT_EQ(app->ControlDown(kControlUp), 1);
    ReleaseKey(kUp);

    app->virtualButtons[3] = 2;
    app->SetArcadeMode(0);
    EXPECT_EQ(arcadeMode, 0);
    EXPECT_FALSE(Game().Host()->KeyboardEnabled());
    EXPECT_EQ(app->virtualButtons[3], 0);
    PressKey('W');
    EXPECT_EQ(app->ControlDown(kControlUp), 1);
    ReleaseKey('W');

    app->SetArcadeMode(5);  // neither on nor off: nothing changes
    EXPECT_EQ(arcadeMode, 0);
}

TEST_F(ControlsTest, ArcadeLetterPairsPressAndRelease) {
    c_MyApp* app = App();
    const char* pairs = "WwEeXxZzAaQqDdCcYyTtUuFfIiMmOoGgHhRrJjNnKkPpLlVv";
    const int entries[] = {0, 8, 3, 5, 13, 14, 15, 16, 10, 11, 12, 17};
    Game().TypeChar('D');  // typed before the switch: discarded
    app->SetArcadeMode(1);
    EXPECT_EQ(app->charScratch, 0);
    for (int pair = 0; pair < 12; ++pair) {
        for (int letterCase = 0; letterCase < 2; ++letterCase) {
            Game().TypeChar(pairs[4 * pair + letterCase]);
            RunFrames(1);
            EXPECT_EQ(app->virtualButtons[entries[pair]], 2) << pairs[4 * pair + letterCase];
            Game().TypeChar(pairs[4 * pair + 2 + letterCase]);
            RunFrames(1);
            EXPECT_EQ(app->virtualButtons[entries[pair]], 0) << pairs[4 * pair + 2 + letterCase];
        }
    }
    EXPECT_EQ(app->virtualButtons[5], 0);
    Game().TypeChar('O');  // the stick's back button
    RunFrames(1);
    EXPECT_EQ(app->ControlDown(kControlBack), 1);
    app->SetArcadeMode(0);
}

TEST_F(ControlsTest, OneUpdatePressesExpireWhileHeldArcadeButtonsStay) {
    c_MyApp* app = App();
    app->virtualButtons[5] = 1;
    app->virtualButtons[10] = 2;
    RunFrames(1);
    EXPECT_EQ(app->virtualButtons[5], 0);
    EXPECT_EQ(app->virtualButtons[10], 2);
    app->virtualButtons[10] = 0;
}

TEST_F(ControlsTest, BackKeyOfDevicesIsBackForOneUpdate) {
    c_MyApp* app = App();
    Game().TapKey(416);
    RunFrames(1);
    EXPECT_EQ(app->virtualButtons[kBackKeyButton], 1);
    RunFrames(1);
    EXPECT_EQ(app->virtualButtons[kBackKeyButton], 0);
}

TEST_F(ControlsTest, BackClosesATitlePanelAndDoesNothingElse) {
    c_MyApp* app = App();
    app->screen = kScreenTitle;
    app->creditsOpen = 1;
    PressKey(kEsc);
    RunFrames(1);
    EXPECT_EQ(app->creditsOpen, 0);
    EXPECT_EQ(app->controlLatch, 1);
    EXPECT_EQ(app->touchLatch, 1);
    EXPECT_EQ(app->screen, kScreenTitle);
    ReleaseKey(kEsc);
    RunFrames(1);

    app->badgesOpen = 1;
    PressKey(8);  // Backspace
    RunFrames(1);
    EXPECT_EQ(app->badgesOpen, 0);
    ReleaseKey(8);
    RunFrames(1);

    app->screen = 0;  // not the title: panels stay
    app->creditsOpen = 1;
    Press(kEsc);
    EXPECT_EQ(app->creditsOpen, 1);
    app->creditsOpen = 0;
}

// ---- pausing ------------------------------------------------------------------------

TEST_F(ControlsTest, HoldingEscPausesOnce) {
    c_MyApp* app = App();
    StartPlay();
    int rotor = app->sfxRotor;
    PressKey(kEsc);
    RunFrames(1);
    EXPECT_EQ(app->paused, 1);
    EXPECT_EQ(app->pauseMenuDir, 1);
    EXPECT_EQ(app->pauseCursor, 0);
    EXPECT_EQ(app->sfxRotor, (rotor + 1) % 24);  // one click
    RunFrames(30);  // held: the menu stays open
    EXPECT_EQ(app->pauseMenuDir, 1);
    EXPECT_EQ(app->sfxRotor, (rotor + 1) % 24);
    ReleaseKey(kEsc);
    RunFrames(1);
    EXPECT_EQ(app->pauseMenuDir, 1);
    Press(kEsc);  // pressed again: back resumes
    EXPECT_EQ(app->pauseMenuDir, -1);
    RunFrames(20);
    EXPECT_EQ(app->paused, 0);
}

TEST_F(ControlsTest, PauseMenuSlidesDownThenUpAndOff) {
    c_MyApp* app = App();
    StartPlay();
    app->pauseMenuY = -64;
    Press(kEsc);
    std::vector<int> positions = {app->pauseMenuY};
    for (int i = 0; i < 15; ++i) {
        RunFrames(1);
        positions.push_back(app->pauseMenuY);
    }
    EXPECT_EQ(positions[0], -64 + 2 * 24);  // two updates so far
    EXPECT_EQ(positions.back(), 248);        // stops once at least half the height
    // The darkening follows the menu.
    bool veil = false;
    for (const DrawCommand& c : Game().Commands(kRect)) {
        if (c.x == 0 && c.y == 0 && c.a == 640 && c.b == 480 && c.red == 0) {
            veil = true;
            EXPECT_NEAR(c.alpha, 248 / (480 * 0.8f), 1e-5);
        }
    }
    EXPECT_TRUE(veil);

    Press(kEsc);
    int updates = 2;
    while (app->paused == 1 && updates < 40) {
        RunFrames(1);
        ++updates;
    }
    EXPECT_EQ(app->paused, 0);
    EXPECT_LT(app->pauseMenuY, -32);
    EXPECT_EQ(updates, 13);  // one to turn, then 248 down to -40 in 24-pixel steps
}

TEST_F(ControlsTest, PauseIconPressDoesNotSteerAfterResuming) {
    c_MyApp* app = App();
    StartPlay();
    PressPointer(16, 16);
    RunFrames(1);
    EXPECT_EQ(app->paused, 1);
    EXPECT_EQ(app->touchLatch, 1);
    Press(kEsc);  // resume by keyboard while the pointer stays down
    RunFrames(20);
    ASSERT_EQ(app->paused, 0);
    float velX = app->ballVelX, velY = app->ballVelY;
    MovePointer(200, 200);  // a drag with the same press
    RunFrames(1);
    EXPECT_EQ(app->touchLatch, 1);
    EXPECT_EQ(app->ballVelX, velX);
    EXPECT_EQ(app->ballVelY, velY);
    ReleasePointer();
    RunFrames(1);
    EXPECT_EQ(app->touchLatch, 0);
}

TEST_F(ControlsTest, PauseCursorMoves) {
    c_MyApp* app = App();
    StartPlay();
    OpenPauseMenu();
    EXPECT_EQ(app->pauseCursor, 0);
    struct Move {
        int key, from, to;
    };
    const Move moves[] = {
        {kLeft, 0, -1}, {kRight, -1, 0}, {kUp, 0, -1}, {kDown, -1, 0}, {kRight, 0, 1},
        {kLeft, 1, 0},  {kRight, 0, 1},  {kDown, 1, 0}, {'A', 0, -1},  {'D', -1, 0},
    };
    for (const Move& m : moves) {
        ASSERT_EQ(app->pauseCursor, m.from);
        Press(m.key);
        EXPECT_EQ(app->pauseCursor, m.to) << "key " << m.key << " from " << m.from;
    }
    // Keys that lead nowhere from a place leave the cursor there.
    Press(kDown);
    EXPECT_EQ(app->pauseCursor, 0);
    Press(kLeft);
    Press(kUp);
    EXPECT_EQ(app->pauseCursor, -1);
    Press(kRight);
    Press(kRight);
    Press(kUp);
    Press(kRight);
    EXPECT_EQ(app->pauseCursor, 1);
    // The selection ring sits on the chosen button.
    RunFrames(1);
    bool ringOnSound = false;
    for (const DrawCommand& c : Game().Commands(kImageIcons)) {
        if (c.frame == kIconRing && c.x == SoundButtonX() && c.a == 2.5f) ringOnSound = true;
    }
    EXPECT_TRUE(ringOnSound);
}

TEST_F(ControlsTest, FireOnResumeClosesAndFireOnQuitEndsTheGame) {
    c_MyApp* app = App();
    StartPlay();
    OpenPauseMenu();
    Press(kZ);
    EXPECT_EQ(app->pauseMenuDir, -1);
    RunFrames(20);
    EXPECT_EQ(app->paused, 0);
    EXPECT_EQ(app->gameOver, 0);

    OpenPauseMenu();
    Press(kLeft);
    ASSERT_EQ(app->pauseCursor, -1);
    PressKey(kSpace);
    RunFrames(1);
    EXPECT_EQ(app->gameOver, 1);
    EXPECT_EQ(app->paused, 0);
    EXPECT_EQ(app->pauseMenuY, -64);
    EXPECT_EQ(app->pauseMenuDir, -1);
    ReleaseKey(kSpace);
}

TEST_F(ControlsTest, QuitButtonEndsTheGame) {
    c_MyApp* app = App();
    StartPlay();
    OpenPauseMenu();
    Click(static_cast<int>(virtualWidth / 2 - 140), app->pauseMenuY - 64);
    EXPECT_EQ(app->gameOver, 1);
    EXPECT_EQ(app->paused, 0);
}

TEST_F(ControlsTest, FireOnSoundCyclesFourModesWhileClicksToggle) {
    musicEnabled = 0;  // clicks toggle without the music generator (the build may switch it on)
    c_MyApp* app = App();
    StartPlay();
    OpenPauseMenu();
    Press(kRight);
    ASSERT_EQ(app->pauseCursor, 1);
    app->settings[kSettingSoundMode] = 0;
    std::vector<int> modes;
    for (int i = 0; i < 4; ++i) {
        Press(kZ);
        modes.push_back(app->settings[kSettingSoundMode]);
    }
    EXPECT_EQ(modes, (std::vector<int>{1, 2, 3, 0}));
    // Held over three updates, fire is still one step (four or five would
    // hide a repeat: the modes wrap round to the expected one).
    for (int key : {kZ, kSpace}) {
        int before = app->settings[kSettingSoundMode];
        PressKey(key);
        RunFrames(3);
        EXPECT_EQ(app->settings[kSettingSoundMode], before + 1) << "key " << key;
        ReleaseKey(key);
        RunFrames(1);
    }

    std::vector<int> clicked;
    for (int start : {0, 1, 2, 3}) {
        app->settings[kSettingSoundMode] = start;
        Click(SoundButtonX(), SoundButtonY());
        clicked.push_back(app->settings[kSettingSoundMode]);
    }
    EXPECT_EQ(clicked, (std::vector<int>{1, 0, 0, 0}));

    musicEnabled = 1;  // with music, clicks cycle too
    app->settings[kSettingSoundMode] = 2;
    Click(SoundButtonX(), SoundButtonY());
    EXPECT_EQ(app->settings[kSettingSoundMode], 3);
    musicEnabled = 0;
}

TEST_F(ControlsTest, SoundButtonShowsTheMode) {
    c_MyApp* app = App();
    StartPlay();
    OpenPauseMenu();
    auto soundFrame = [&]() {
        for (const DrawCommand& c : Game().Commands(kImageIcons)) {
            if (c.x == SoundButtonX() && c.a == 2) return c.frame;
        }
        return -1;
    };
    app->settings[kSettingSoundMode] = 0;
    RunFrames(1);
    EXPECT_EQ(soundFrame(), kIconSoundOff);
    app->settings[kSettingSoundMode] = 2;
    RunFrames(1);
    EXPECT_EQ(soundFrame(), kIconSoundOn);
}

TEST_F(ControlsTest, SavedMoveSpeedZeroShowsAsFiveAndBoxesSetIt) {
    c_MyApp* app = App();
    app->settings[kSettingMoveSpeed] = 0;
    StartPlay();
    Press(kEsc);
    EXPECT_EQ(app->settings[kSettingMoveSpeed], 5);
    // "Move Speed 5": the last glyph is the digit.
    auto glyphs = Game().Commands(kImageFont);
    ASSERT_FALSE(glyphs.empty());
    EXPECT_EQ(glyphs.back().frame, '5' - 32);
    EXPECT_NEAR(glyphs.back().y, 480 - 100, 1e-3);
    auto boxes = Game().Commands(kRect);
    int filled = static_cast<int>(std::count_if(boxes.begin(), boxes.end(), [](const DrawCommand& c) {
        return c.a == 28 && c.green == 255;
    }));
    EXPECT_EQ(filled, 5);

    app->settings[kSettingMoveSpeed] = 9;
    RunFrames(1);
    EXPECT_EQ(app->settings[kSettingMoveSpeed], 5);

    // Box i lies at x = 320 - 144 + 32 i, y = 416, 28 wide; dragging across
    // them sets the speed without latches.
    PressPointer(320 - 144 + 32 * 3 + 14, 430);
    RunFrames(1);
    EXPECT_EQ(app->settings[kSettingMoveSpeed], 3);
    MovePointer(320 - 144 + 32 * 7 + 14, 430);
    RunFrames(1);
    EXPECT_EQ(app->settings[kSettingMoveSpeed], 7);
    ReleasePointer();
    RunFrames(1);
}

TEST_F(ControlsTest, PortraitLayoutMovesTheButtons) {
    c_MyApp* app = App();
    Game().ResizeWindow(480, 640);
    RunFrames(1);  // the render notices the size and restarts loading
    Game().FinishLoading();
    ASSERT_EQ(app->landscape, 0);
    StartPlay();
    OpenPauseMenu();
    float vw = virtualWidth;
    float y = static_cast<float>(app->pauseMenuY);
    bool quit = false, sound = false;
    for (const DrawCommand& c : Game().Commands(kImageIcons)) {
        if (c.frame == kIconQuit && c.x == static_cast<int>(vw / 2 - 96) && c.y == y - 96) quit = true;
        if (c.frame == kIconSoundOn && c.x == static_cast<int>(vw / 2 + 96) && c.y == y - 96) sound = true;
    }
    EXPECT_TRUE(quit);
    EXPECT_TRUE(sound);
    bool tallPanel = false;
    for (const DrawCommand& c : Game().Commands(kRect)) {
        if (c.a == 256 && c.b == 160 && c.x == vw / 2 - 128 && c.y == y - 80) tallPanel = true;
    }
    EXPECT_TRUE(tallPanel);
}

}  // namespace
