// Numbers the game's files share: the absent-value marker, the image and
// sound slots, the screen states, the logical controls and the places in the
// game object's arrays that several screens read. Stored files and the asset
// folder rely on these numbers, so they never change.
#pragma once

// A value left out: an optional argument (SetDrawScale's y, SetDrawColor's
// alpha) or the position of a touch point that is up.
constexpr float kAbsent = -3717.0f;

// --- Image slots (c_MyApp::images) ---
constexpr int kImageWorldTiles = 1;  // "world001": coin at frame 0, block variants from frame 10
constexpr int kImageEyes = 2;
constexpr int kImageHeart = 5;
constexpr int kImageBadges = 80;
constexpr int kImageFont = 90;
constexpr int kImageTestCard = 91;  // the circle at the middle of the credits' test card
constexpr int kImageArcadeStick = 92;
constexpr int kImageMakerEmblem = 93;
constexpr int kImageDirectionPad = 94;
constexpr int kImageModeButtons = 95;
constexpr int kImageParts = 96;
constexpr int kImageIcons = 97;
constexpr int kImageLogo = 98;
constexpr int kImageMenu = 99;  // frame 0 is also the sky behind the play field

// Frames of the icon sheet (kImageIcons).
constexpr int kIconPause = 0;
constexpr int kIconQuit = 1;
constexpr int kIconResume = 3;
constexpr int kIconSoundOn = 4;
constexpr int kIconSoundOff = 5;
constexpr int kIconRing = 6;
constexpr int kIconSoundModeMarks = 7;  // + sound mode 1..3

// --- Sound slots (c_MyApp::sounds) ---
constexpr int kSoundCoin = 1;
constexpr int kSoundHit = 2;
constexpr int kSoundTick = 95;  // loaded with the others; nothing plays it
constexpr int kSoundClick = 98;
constexpr int kSoundFlourish = 99;

// --- Screen states (c_MyApp::screen) ---
constexpr int kScreenTitle = 1;
constexpr int kScreenScoreEntry = 2;
constexpr int kScreenStartGate = 5;
constexpr int kScreenPlay = 10;
constexpr int kScreenNewGame = 11;

// A game is running from the play state up (play and a starting game).
constexpr bool GameRunning(int screen) { return screen >= kScreenPlay; }

// --- Logical controls (c_MyApp::ControlDown) ---
constexpr int kControlUp = 0;
constexpr int kControlLeft = 3;
constexpr int kControlRight = 5;
constexpr int kControlDown = 8;
constexpr int kControlFire = 10;
constexpr int kControlBack = 99;

// virtualButtons[0..18] hold the controls' one-update presses and the arcade
// stick's held buttons; this entry is the device back key's hits.
constexpr int kBackKeyButton = 19;

// --- Array sizes and places shared by several screens ---
constexpr int kTouchPoints = 10;   // touchDown, touchX, touchY
constexpr int kBadgeCount = 256;   // badgeFlags
constexpr int kSettingMoveSpeed = 1;
constexpr int kSettingSoundMode = 5;
// highScores: the best ten of mode m from 10 (m - 1), its last ten games
// kRecentScores further on.
constexpr int kScorePlaces = 10;
constexpr int kRecentScores = 30;
