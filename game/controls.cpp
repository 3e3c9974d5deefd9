// Pointer sampling, the logical controls, steering by stick and keys, the
// arcade stick and the pause menu. Presses act once through two latches:
// `touchLatch` for the pointer and `controlLatch` for the controls; each is
// released only when nothing of its kind is held any more. Steering by
// stick and keys is a level, not a press, and takes no latch: a direction
// still held when the pause menu has gone steers at once.
#include <climits>
#include <cmath>
#include <initializer_list>

#include "game/game_constants.h"
#include "game/game_globals.h"
#include "game/my_app.h"
#include "game/sound_mode.h"
#include "game/steering.h"
#include "input/input.h"
#include "input/input_device.h"

namespace {

constexpr int kNoTouch = static_cast<int>(kAbsent);  // touch positions are ints
constexpr float kStickThreshold = 0.4f;

enum class Axis { None, Left, Right, Up, Down };

// One logical control: keys that always count, letter keys that the arcade
// stick takes over, a joystick 0 button, a stick direction and the
// `virtualButtons` entries that hold it.
struct ControlRow {
    int control;
    int keys[3];
    int letters[2];
    int joyButton;
    Axis axis;
    int buttons[3];
};

constexpr int kNone = -1;

const ControlRow kControls[] = {
    {kControlUp, {38, kNone, kNone}, {'W', kNone}, 9, Axis::Up, {0, kNone, kNone}},
    {kControlLeft, {37, kNone, kNone}, {'A', kNone}, 8, Axis::Left, {3, kNone, kNone}},
    {kControlRight, {39, kNone, kNone}, {'D', kNone}, 10, Axis::Right, {5, kNone, kNone}},
    {kControlDown, {40, kNone, kNone}, {'S', kNone}, 11, Axis::Down, {8, kNone, kNone}},
    {kControlFire, {32, 13, kNone}, {'Z', 'J'}, 0, Axis::None, {10, kNone, kNone}},
    {11, {17, kNone, kNone}, {'X', 'K'}, 1, Axis::None, {11, kNone, kNone}},
    {12, {16, kNone, kNone}, {'C', 'L'}, 2, Axis::None, {12, kNone, kNone}},
    {13, {kNone, kNone, kNone}, {'V', 'I'}, 3, Axis::None, {13, kNone, kNone}},
    {kControlBack, {27, 46, 8}, {kNone, kNone}, 7, Axis::None, {16, 17, kBackKeyButton}},
};

bool StickActive(Axis axis) {
    switch (axis) {
        case Axis::Left:
            return JoyX() < -kStickThreshold;
        case Axis::Right:
            return JoyX() > kStickThreshold;
        case Axis::Up:
            return JoyY() < -kStickThreshold;
        case Axis::Down:
            return JoyY() > kStickThreshold;
        default:
            return false;
    }
}

const ControlRow* FindControl(int n) {
    for (const ControlRow& row : kControls) {
        if (row.control == n) return &row;
    }
    return nullptr;
}

// A row's keys, its letters (unless the arcade stick has them) and its
// `virtualButtons` entries: every source but joystick 0.
bool KeysDown(const ControlRow& row, Array<int> virtualButtons) {
    for (int key : row.keys) {
        if (key != kNone && KeyDown(key)) return true;
    }
    if (arcadeMode != 1) {
        for (int key : row.letters) {
            if (key != kNone && KeyDown(key)) return true;
        }
    }
    for (int button : row.buttons) {
        if (button != kNone && virtualButtons[button] != 0) return true;
    }
    return false;
}

// The arcade stick types one letter per press and one per release.
struct ArcadePair {
    char press;
    char release;
    int button;
};

const ArcadePair kArcadePairs[] = {
    {'W', 'E', 0},  {'X', 'Z', 8},  {'A', 'Q', 3},  {'D', 'C', 5},  {'Y', 'T', 13}, {'U', 'F', 14},
    {'I', 'M', 15}, {'O', 'G', 16}, {'H', 'R', 10}, {'J', 'N', 11}, {'K', 'P', 12}, {'L', 'V', 17},
};

int Upper(int c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

// Window pixels to virtual pixels, truncating; a scale not yet known (no
// frame rendered) maps to 0 rather than dividing by zero.
int ToVirtual(float position, float scale) {
    if (!(scale > 0)) return 0;
    float v = position / scale;
    if (!(v > static_cast<float>(INT_MIN) && v < static_cast<float>(INT_MAX))) return 0;
    return static_cast<int>(v);
}

}  // namespace

void c_MyApp::SampleInput() {
    prevPointerX = pointerX;
    prevPointerY = pointerY;
    pointerX = ToVirtual(MouseX(), pixelScaleX);
    pointerY = ToVirtual(MouseY(), pixelScaleY);
    // The update in which the button goes down has no movement, so a press
    // never jerks the ball.
    if (pointerWasDown == 0 && KeyDown(1)) {
        prevPointerX = pointerX;
        prevPointerY = pointerY;
    }
    pointerDown = KeyDown(1) ? 1 : 0;
    pointerHit = KeyHit(1);
    for (int i = 0; i < kTouchPoints; ++i) {
        touchDown[i] = 0;
        touchX[i] = touchY[i] = kNoTouch;
        if (KeyDown(c_InputDevice::kTouchKeyBase + i)) {
            touchDown[i] = 1;
            touchX[i] = ToVirtual(TouchX(i), pixelScaleX);
            touchY[i] = ToVirtual(TouchY(i), pixelScaleY);
            pointerDown = 1;
        }
    }
    pointerWasDown = KeyDown(1) ? 1 : 0;
    if (pointerDown == 0) touchLatch = 0;

    // Holding any of the controls keeps `controlLatch` set; but while the
    // ball is being steered a held direction is steering, not a press, and
    // must not keep the back control from pausing.
    bool steering = screen == kScreenPlay && paused == 0 && gameOver == 0;
    bool anyControl = false;
    for (const ControlRow& row : kControls) {
        if (steering && row.axis != Axis::None) continue;
        anyControl = anyControl || ControlDown(row.control) == 1;
    }
    if (!anyControl) controlLatch = 0;

    // Back closes a panel over the title screen, and does nothing else.
    if (controlLatch == 0 && touchLatch == 0 && ControlDown(kControlBack) && screen == kScreenTitle &&
        (creditsOpen == 1 || badgesOpen == 1)) {
        creditsOpen = badgesOpen = 0;
        controlLatch = touchLatch = 1;
    }
}

int c_MyApp::ControlDown(int n) {
    const ControlRow* row = FindControl(n);
    if (!row) return 0;
    if (KeysDown(*row, virtualButtons)) return 1;
    return KeyDown(c_InputDevice::kJoyKeyBase + row->joyButton) || StickActive(row->axis) ? 1 : 0;
}

// The left stick, the d-pad and the direction keys as one deflection. The
// stick and the d-pad count only while the pad answers the poll: an
// unplugged pad keeps its last reading, which must not steer on. Joystick
// 0's y counts upwards, the screen's downwards.
Deflection c_MyApp::SteeringDeflection() {
    bool pad = JoyPresent();
    auto held = [&](int control) {
        const ControlRow& row = *FindControl(control);
        return KeysDown(row, virtualButtons) || (pad && KeyDown(c_InputDevice::kJoyKeyBase + row.joyButton));
    };
    Deflection keys =
        DigitalDeflection(held(kControlLeft), held(kControlRight), held(kControlUp), held(kControlDown));
    Deflection stick = pad ? StickDeflection(JoyX(), -JoyY()) : Deflection{};
    return CombinedDeflection(stick, keys);
}

void c_MyApp::SetArcadeMode(int on) {
    if (on == 1) {
        EnableKeyboard();
        arcadeMode = 1;
        // Letters typed before the switch are not stick events.
        do {
            charScratch = GetChar();
        } while (charScratch != 0);
    } else if (on == 0) {
        DisableKeyboard();
        arcadeMode = 0;
        for (int i = 0; i < kBackKeyButton; ++i) virtualButtons[i] = 0;
    }
}

void c_MyApp::ReadArcadeStick() {
    if (arcadeMode != 1) return;
    for (;;) {
        charScratch = GetChar();
        if (charScratch < 1) break;
        int letter = Upper(charScratch);
        for (const ArcadePair& pair : kArcadePairs) {
            if (letter == pair.press) {
                virtualButtons[pair.button] = 2;
                break;
            }
            if (letter == pair.release) {
                virtualButtons[pair.button] = 0;
                break;
            }
        }
    }
}

void c_MyApp::PlayControls() {
    ResetDrawState();
    titleSlide = -32;
    if (ControlDown(kControlBack) && paused == 0 && controlLatch == 0) {
        controlLatch = 1;
        OpenPauseMenu();
    }
    // The pause icon, top left, in every play update. Like every pointer
    // handler it needs a fresh press, or a press held on it would pause again
    // the moment the menu closes.
    if (ImageButton(kImageIcons, 16, 16, kIconPause) && paused == 0 && touchLatch == 0) {
        touchLatch = 1;
        OpenPauseMenu();
    }
    if (paused == 1) PauseMenu();
}

void c_MyApp::QuitGame() {
    paused = 0;
    pauseMenuDir = -1;
    pauseMenuY = -64;
    gameOver = 1;
    PlaySfx(kSoundClick, 0.5f, 0.5f, 0);
}

namespace {

// The three bars of the pause panel: colour, alpha, then the rectangle
// relative to (centre x, menu y) in the landscape and the portrait layout.
struct PanelBar {
    float red, green, blue, alpha;
    float wide[4];
    float tall[4];
};

const PanelBar kPanelBars[] = {
    {255, 255, 10, 0.6f, {-128, -64, 256, 8}, {-96, -92, 192, 8}},
    {255, 150, 10, 0.7f, {-140, -52, 280, 104}, {-128, -80, 256, 160}},
    {10, 150, 255, 0.6f, {-128, 56, 256, 8}, {-96, 84, 192, 8}},
};

}  // namespace

void c_MyApp::OpenPauseMenu() {
    paused = 1;
    pauseMenuDir = 1;
    pauseCursor = 0;
    PlaySfx(kSoundClick, 1.0f, 0.5f, 0);
}

void c_MyApp::PauseMenu() {
    float vw = virtualWidth, vh = virtualHeight;
    bool wide = landscape == 1;

    // The play field darkens as the menu comes down.
    ResetDrawState();
    SetDrawColor(0, 0, 0, std::fabs(static_cast<float>(pauseMenuY)) / (vh * 0.8f));
    QueueRect(0, 0, vw, vh);

    if (pauseMenuDir == 1 && pauseMenuY < vh * 0.5f) pauseMenuY += 24;
    if (pauseMenuDir == -1) {
        if (pauseMenuY > -64) pauseMenuY -= 24;
        if (pauseMenuY < -32) paused = 0;  // play resumes once the menu has left
    }
    float y = static_cast<float>(pauseMenuY);

    ResetDrawState();
    for (const PanelBar& bar : kPanelBars) {
        const float* r = wide ? bar.wide : bar.tall;
        SetDrawColor(bar.red, bar.green, bar.blue, bar.alpha);
        QueueRect(vw / 2 + r[0], y + r[1], r[2], r[3]);
    }

    auto highlight = [&](float x, float hy) {
        SetDrawScale(2.5f, kAbsent);
        SetDrawColor(255, 255, 100, 1);
        QueueImage(kImageIcons, x, hy, kIconRing);
    };
    // A press of any of the controls, taken only while the latch is free.
    auto takeControl = [&](std::initializer_list<int> controls) {
        if (controlLatch != 0) return false;
        for (int control : controls) {
            if (ControlDown(control)) {
                controlLatch = 1;
                return true;
            }
        }
        return false;
    };
    // Play goes on once the leaving menu is out of view (see above).
    auto closeMenu = [&] {
        paused = 1;
        pauseMenuDir = -1;
        PlaySfx(kSoundClick, 1.0f, 0.5f, 0);
    };

    // Resume.
    SetDrawScale(2, kAbsent);
    SetDrawColor(50, 50, 250, 1);
    if (ImageButton(kImageIcons, vw / 2, y, kIconResume) && touchLatch == 0) {
        touchLatch = 1;
        closeMenu();
    }
    if (pauseCursor == 0) {
        highlight(vw / 2, y);
        if (takeControl({kControlFire})) closeMenu();
        if (takeControl({kControlLeft, kControlUp})) {
            pauseCursor = -1;
            PlaySfx(kSoundClick, 0.8f, 0.5f, 0);
        }
        if (takeControl({kControlRight})) {
            pauseCursor = 1;
            PlaySfx(kSoundClick, 1.2f, 0.5f, 0);
        }
    }

    // Quit, top left of the panel.
    float qx = wide ? static_cast<int>(vw / 2 - 140) : static_cast<int>(vw / 2 - 96);
    float qy = wide ? y - 64 : y - 96;
    SetDrawScale(2, kAbsent);
    SetDrawColor(255, 50, 50, 1);
    if (ImageButton(kImageIcons, qx, qy, kIconQuit) && touchLatch == 0) {
        QuitGame();
        touchLatch = 1;
    }
    if (pauseCursor == -1) {
        highlight(qx, qy);
        if (takeControl({kControlFire})) {
            QuitGame();
            touchLatch = 1;
        }
        if (takeControl({kControlRight, kControlDown})) {
            pauseCursor = 0;
            PlaySfx(kSoundClick, 0.8f, 0.5f, 0);
        }
    }

    // Sound mode, top right of the panel.
    float sx = wide ? static_cast<int>(vw / 2 + 140) : static_cast<int>(vw / 2 + 96);
    float sy = wide ? y - 64 : y - 96;
    SetDrawScale(2, kAbsent);
    SetDrawColor(50, 250, 50, 1);
    if (ImageButton(kImageIcons, sx, sy, SoundButtonIcon(settings[kSettingSoundMode])) && touchLatch == 0) {
        settings[kSettingSoundMode] = ClickedSoundMode(settings[kSettingSoundMode], musicEnabled == 1);
        touchLatch = 1;
        PlaySfx(kSoundClick, 1.0f, 0.5f, 0);
    }
    if (pauseCursor == 1) {
        highlight(sx, sy);
        if (takeControl({kControlFire})) {
            settings[kSettingSoundMode] = NextSoundMode(settings[kSettingSoundMode]);
            PlaySfx(kSoundClick, 1.0f, 0.5f, 0);
        }
        if (takeControl({kControlLeft, kControlDown})) {
            pauseCursor = 0;
            PlaySfx(kSoundClick, 0.8f, 0.5f, 0);
        }
    }

    // Move speed: eight boxes filled up to the current speed; touching or
    // dragging across them sets it directly.
    ResetDrawState();
    SetDrawColor(255, 255, 255, 1);
    int& moveSpeed = settings[kSettingMoveSpeed];
    if (moveSpeed < 1 || moveSpeed > 8) moveSpeed = 5;
    QueueText(vw * 0.5f, vh - 100, String("Move Speed ") + String::FromInt(moveSpeed), 1, 1);
    for (int i = 1; i <= 8; ++i) {
        SetDrawColor(0, 80, 0, 0.8f);
        if (moveSpeed >= i) SetDrawColor(100, 255, 100, 0.9f);
        if (RectButton(vw * 0.5f - 144 + 32 * i, vh - 64, 28, 28)) moveSpeed = i;
    }

    if (takeControl({kControlBack})) closeMenu();
}
