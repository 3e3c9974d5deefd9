// The game-over overlay (a veil, two strips growing from the sides, "GAME"
// "OVER" and the place a score takes), the place labels and number padding.
#include <algorithm>

#include "game/game_constants.h"
#include "game/game_globals.h"
#include "game/my_app.h"
#include "music/tune_player.h"

namespace {

constexpr int kOverlayUpdates = 90;   // the growing phase, 1.5 s
constexpr int kWithdrawFrom = 75;     // where the timer restarts over the title
constexpr int kWithdrawStep = 2;

const char* const kPlaceLabels[kScorePlaces] = {"1st!", "2nd", "3rd", "4th", "5th", "6th", "7th", "8th", "9th", "10th"};

}  // namespace

String c_MyApp::PlaceName() {
    int place = 0;
    if (gameMode >= 1 && gameMode <= 3) {
        int base = kScorePlaces * (gameMode - 1);
        // An equal entry counts as beaten here, unlike in RecordScore.
        for (int i = 0; i < kScorePlaces; ++i) {
            if (highScores[base + i] <= score && place == 0) place = i + 1;
        }
    }
    loopIndex = place;
    return place > 0 ? String(kPlaceLabels[place - 1]) : String();
}

String c_MyApp::PadNumber(int value, int width, const String& pad) {
    if (width <= 0) return String();
    String filled;
    for (int i = 0; i <= width; ++i) filled += pad;
    filled += String::FromInt(value);
    return filled.Slice(std::max(0, filled.Length() - width));
}

void c_MyApp::ResultScreen() {
    float w = virtualWidth, h = virtualHeight;
    if (gameOverTimer > 0) {
        int t = gameOverTimer;
        SetDrawColor(0, 0, 0, std::min(t / 40.0f, 0.7f));
        QueueRect(-1, -1, w + 2, h + 2);
        barLength = std::min(12 * t, static_cast<int>(0.45f * h));
        ResetDrawState();
        SetDrawColor(255, 255, 0, 0.5f);
        QueueRect(-1, 0.45f * h - 8, 2.0f * barLength, 16);
        SetDrawColor(255, 128, 0, 0.5f);
        QueueRect(w - 2.0f * barLength, 0.55f * h - 8, 2.0f * barLength + 1, 16);
        ResetDrawState();
        SetDrawScale(4, kAbsent);
        SetDrawColor(255, 180, 180, 1);
        QueueText(0.35f * w, static_cast<float>(barLength), String("GAME"), 1, 1);
        QueueText(0.65f * w, h - barLength, String("OVER"), 1, 1);
        String label = PlaceName();
        if (loopIndex > 0) {
            SetDrawScale(1, kAbsent);
            SetDrawColor(0, 125, 255, 0.5f);
            QueueRect(0.35f * w, h - barLength / 1.5f - 16, 0.3f * w, 32);
            SetDrawScale(2, kAbsent);
            SetDrawColor(100, 255, 100, 1);
            // Backslash-n is the text queue's line break: the label goes on a second line.
            QueueText(0.5f * w, h - barLength / 1.5f, String("New Highscore\\n           ") + label, 0.5f, 2);
        }
    }
    if (screen == kScreenPlay) {
        gameOverTimer += 1;
        if (gameOverTimer >= kOverlayUpdates) {
            screen = kScreenScoreEntry;  // the next update records the score and shows the title
            gameOverTimer = kWithdrawFrom;
            // Whatever the build switch: a generator that never started finds nothing playing.
            if (tunePlayer) tunePlayer->StopAll(1);
        }
    } else if (!GameRunning(screen)) {
        gameOverTimer = std::max(gameOverTimer - kWithdrawStep, 0);
    }
}
