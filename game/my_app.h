// c_MyApp: the single game object. Every piece of game and shell state is a
// field here; arrays are created once, at their final sizes, by the
// constructor and never replaced. The operations are spread over one file per
// concern (the file named beside each group below).
#pragma once
#include "app/app.h"
#include "game/game_constants.h"
#include "game/steering.h"
#include "runtime/object.h"

class c_Image;
class c_Sound;
class c_TunePlayer;

// The game object's arrays: element type, name, length. They are made once,
// at these lengths, by the constructor and never replaced; the constructor,
// Mark and ZeroState all work from this one list.
#define SOLBRIM_MY_APP_ARRAYS(X)          \
    X(Ref<c_Image>, images, 100)          \
    X(int, imageInfo, 300)                \
    X(int, badgePopupIds, 15)             \
    X(int, badgePopupTimers, 15)          \
    X(bool, badgeFlags, kBadgeCount)      \
    X(int, virtualButtons, 20)            \
    X(int, settings, 25)                  \
    X(int, highScores, 150)               \
    X(int, channelOrder, 33)              \
    X(int, wordList, 5)                   \
    X(int, worldMap, 16384)               \
    X(float, drawList, 37500)             \
    X(int, touchDown, kTouchPoints)       \
    X(int, touchX, kTouchPoints)          \
    X(int, touchY, kTouchPoints)          \
    X(Ref<c_Sound>, sounds, 100)          \
    X(int, world, 170000)                 \
    X(float, particles, 1024)             \
    X(float, trail, 130)

// The game object's plain fields with the values a new game object has;
// ZeroState restores them all by assigning a fresh MyAppScalars, so a field
// added here cannot be missed.
struct MyAppScalars {
    int screen = 0;
    int lastDeviceWidth = 0, lastDeviceHeight = 0;
    float clearRed = 0, clearGreen = 0, clearBlue = 0, clearAlpha = 0;
    int hdLevel = 0;
    int awaitedLevel = 0;  // a level the host is still fetching (0: none)
    float hdScale = 0;
    int fontImage = 0;
    int loadStep = 0;
    int gameMode = 0;
    int titleSlide = 0;
    int paused = 0;
    int pauseMenuDir = 0;
    int pauseMenuY = 0;
    int loopIndex = 0;
    int particleColour = 0;
    int startCellY = 0;
    int loopRow = 0, loopCol = 0;
    int wordListCount = 0;  // word-list frames decoded so far (image data)
    int wordListSize = 0;   // values appended to wordList
    int pendingMapFrame = 0, pendingMapImage = 0;
    int scaleFitMode = 0;
    int renderLastMs = 0, renderFps = 0, renderFpsSmooth = 0;
    float pixelScaleX = 0, pixelScaleY = 0;
    int landscape = 0;
    int drawCount = 0;
    int charScratch = 0;
    int updateLastMs = 0, updateFps = 0, updateFpsSmooth = 0;
    int pointerX = 0, prevPointerX = 0, pointerY = 0, prevPointerY = 0;
    int pointerWasDown = 0, pointerDown = 0, pointerHit = 0;
    int touchLatch = 0, controlLatch = 0;
    int creditsOpen = 0, badgesOpen = 0;
    float drawScaleX = 0, drawScaleY = 0, drawRotation = 0;
    float drawRed = 0, drawGreen = 0, drawBlue = 0, drawAlpha = 0;
    int drawBlend = 0;
    int hitRadius = 0, buttonHit = 0, sfxRotor = 0;
    int score = 0;
    float cameraX = 0, cameraY = 0;
    int gameOver = 0;
    float driftX = 0, driftY = 0, driftSpeed = 0, driftTargetSpeed = 0, headingTimer = 0, heading = 0;
    float headingVelX = 0, headingVelY = 0, driftVelX = 0, driftVelY = 0;
    int spinPhase = 0, coinCount = 0;
    float ballScreenX = 0, ballScreenY = 0;
    int invulnerable = 0, lives = 0;
    float ballX = 0, ballVelX = 0, ballY = 0, ballVelY = 0;
    float facing = 0;
    int maxSpeed = 0;
    int shownScore = 0;
    int pauseCursor = 0;
    int blockChance = 0;
    int creditsSlide = 0;
    int backdropPhase = 0;  // degrees of the loading backdrop's rings

    // The title, score, badge and credits screens.
    int gameOverTimer = 0;  // game-over overlay: 0 none, counts 1..90, then withdraws from 75
    int barLength = 0;      // game-over overlay: current length of its strips
    float sidePanelWidth = 0;
    int scoreRows = 0;  // rows shown per score list on the title screen
    int scoreBase = 0;  // highScores index of the first row shown
    int popupWidth = 160;
    float badgeScrollTarget = 0;
    int badgeScroll = 0;
    int badgeSelected = 0;  // badge shown enlarged in the badge panel; -1 none
    int badgeDrag = 0;
    int creditsFold = 0;  // 30 - creditsSlide: how far the test card is still folded
    int creditsCols = 0, creditsRows = 0;
    float creditsScroll = 0;  // sub-line offset of the scrolling credits
    int creditsLine = 0;      // credits entry shown in the middle row
};

class c_MyApp : public c_App, public MyAppScalars {
public:
    c_MyApp();
    void Mark() override;
    // Every scalar field back to its value in MyAppScalars and every array
    // zero-filled, as the constructor leaves them (the arrays themselves and
    // the tune player are kept).
    void ZeroState();

    // --- Lifecycle and screen dispatch (game/my_app.cpp) ---
    int OnCreate() override;
    int OnSuspend() override;
    int OnResume() override;
    int OnUpdate() override;
    int OnRender() override;
    // A player who switches away finds the game paused, as by the pause icon.
    int OnFocusLost() override;
    virtual void RunScreen();
    // Window pixels per virtual pixel, the virtual size and `landscape` from
    // the device size.
    virtual void FitToDevice();
    // The music generator's hooks; they run only while `musicEnabled` is 1.
    virtual void MusicStart();
    virtual void MusicUpdate();
    virtual void MusicRender();

    // --- Display list (game/draw_queue.cpp) ---
    virtual void ResetDrawState();
    virtual void BeginFrame(float red, float green, float blue, float alpha);
    virtual void SetDrawScale(float x, float y);
    virtual void SetDrawAlpha(float alpha);
    virtual void SetDrawColor(float red, float green, float blue, float alpha);
    virtual void SetDrawRotation(float degrees);
    virtual void QueueImage(int image, float x, float y, int frame);
    virtual void QueueRect(float x, float y, float width, float height);
    virtual void QueueEllipse(float x, float y, float xRadius, float yRadius);
    virtual void QueueText(float x, float y, const String& text, float alignX, float alignY);
    virtual void ReplayDrawList();

    // --- Buttons (game/buttons.cpp) ---
    virtual int ImageButton(int image, float x, float y, int frame);
    virtual int PointerImageButton(int image, float x, float y, int frame);
    virtual int RectButton(float x, float y, float width, float height);

    // --- Sound effects (game/sound_effects.cpp) ---
    virtual void PlaySfx(int sound, float rate, float volume, float pan);

    // --- Controls and pause menu (game/controls.cpp) ---
    virtual void SampleInput();
    virtual int ControlDown(int n);
    // Joystick 0's left stick, its d-pad and the direction keys as one
    // deflection, read by the ball's steering in each running update.
    virtual Deflection SteeringDeflection();
    virtual void SetArcadeMode(int on);
    virtual void ReadArcadeStick();
    virtual void PlayControls();
    virtual void PauseMenu();
    // Opens the pause menu (or turns a closing one back) with its click.
    virtual void OpenPauseMenu();
    // Ends the running game from the pause menu.
    virtual void QuitGame();

    // --- Play field, camera and hazards (game/play_field.cpp) ---
    virtual void NewGame();
    virtual void PlayUpdate();
    // Everything of a new game that the seed decides: world, clearing, ball,
    // camera and drift (drawn from the current randomSeed).
    virtual void SetUpWorld();
    virtual void GenerateWorld();
    virtual void DrawSky();
    virtual void UpdateDrift();
    virtual void CellPass(int prevCount);
    virtual void VisitCellInView(int col, int row, float sx, float sy);
    virtual void ViewEdgeRule();
    virtual void Hit();

    // --- Ball, particles and play display (game/ball.cpp) ---
    virtual void SpawnParticles(int x, int y, int count, int colour);
    virtual int AngleDiff(float a, float b);
    virtual void UpdateBall();
    virtual void DrawTrail();
    virtual void TurnEyes();
    virtual void ProtectionRing();
    virtual void SteerBall();
    virtual void UpdateParticles();
    virtual void DrawPlayDisplay();

    // --- Asset loading (game/shell/asset_loading.cpp) ---
    virtual void PrepareLoading();
    virtual void LoadStep();
    virtual void LoadScaledImage(int index, const String& name, int frameWidth, int frameHeight,
                                 int frameCount, int flags);
    virtual void LoadFont(int index, const String& name, int advance, int lineHeight);
    virtual void LoadImageUnscaled(int index, const String& name, int frameWidth, int frameHeight,
                                   int frameCount, int flags);
    virtual void LoadSfx(int number);
    virtual void DrawBackdrop(int mode);
    // Sets `hdLevel` and `hdScale` from the device size.
    virtual void ChooseResolution();

    // --- Data stored in images (game/shell/image_data.cpp) ---
    virtual void DecodeWordList();
    virtual void DecodeMapImage(int imageIndex, int frame);

    // --- Saved data (game/shell/saved_data.cpp) ---
    virtual void LoadSavedData();
    virtual void SaveData();
    virtual void RecordScore();
    virtual void ScoreTableChanged();
    virtual void ScoreTablesDone();

    // --- Title screen (game/shell/title_screen.cpp) ---
    virtual void TitleScreen();

    // --- Game-over overlay and labels (game/shell/result_screen.cpp) ---
    virtual String PlaceName();
    virtual String PadNumber(int value, int width, const String& pad);
    virtual void ResultScreen();

    // --- Badges (game/shell/badges.cpp) ---
    virtual String BadgeText(int n);
    virtual String BadgeName(int n);
    virtual String BadgeDescription(int n);
    virtual void BadgePopups();
    virtual void BadgePanel();
    virtual void AwardBadge(int n);

    // --- Credits panel (game/shell/credits_panel.cpp) ---
    virtual void CreditsPanel();

    // --- Fields: the scalars come from MyAppScalars ---
    Ref<c_TunePlayer> tunePlayer;  // made by the constructor, marked by Mark, kept by ZeroState
#define SOLBRIM_DECLARE_ARRAY(type, name, length) Array<type> name;
    SOLBRIM_MY_APP_ARRAYS(SOLBRIM_DECLARE_ARRAY)
#undef SOLBRIM_DECLARE_ARRAY
};
