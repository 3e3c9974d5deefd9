// Saved data: settings, badge flags and score tables to and from the host's
// persisted state, through the record codec; and the entry of a finished
// game's score, which is what triggers saving.
#include "game/game_constants.h"
#include "game/game_globals.h"
#include "game/my_app.h"
#include "game/shell/saved_record.h"
#include "host/hx_game.h"

namespace {


String LoadPersistedState() {
    HxGame* host = HxGame::Current();
    return host ? host->LoadState() : String();
}

void SavePersistedState(const String& state) {
    HxGame* host = HxGame::Current();
    if (host && host->SaveState(state) != 0) Print(String("Saving the game state failed"));
}

bool ValidMode(int mode) { return mode >= 1 && mode <= SavedRecord::kModes; }

void ResetSettings(const Array<int>& settings) {
    for (int i = 0; i < SavedRecord::kSettings; ++i) settings[i] = 0;
    settings[kSettingSoundMode] = 1;
}

// The on-screen direction pad is never shown, but its saved place is kept
// usable all the same.
void CorrectSettings(const Array<int>& settings) {
    if (settings[10] < 64) settings[10] = 64;
    if (settings[11] < 64) settings[11] = 64;
    if (settings[12] < 8) settings[12] = 10;
}

void ClearTable(const Array<int>& highScores, int table) {
    for (int i = 0; i < SavedRecord::kPlaces; ++i) {
        highScores[SavedRecord::kPlaces * table + i] = 0;
        highScores[kRecentScores + SavedRecord::kPlaces * table + i] = 0;
    }
}

}  // namespace

void c_MyApp::SaveData() {
    SavedRecord record;
    for (int i = 0; i < SavedRecord::kSettings; ++i) record.settings[i] = settings[i];
    for (int w = 0; w < SavedRecord::kBadgeWords; ++w) {
        unsigned word = 0;
        for (int b = 0; b < 32; ++b) {
            if (badgeFlags[32 * w + b]) word |= 1u << b;
        }
        record.badgeWords[w] = static_cast<int>(word);
    }
    for (int t = 0; t < SavedRecord::kModes; ++t) {
        for (int i = 0; i < SavedRecord::kPlaces; ++i) {
            record.best[t][i] = highScores[SavedRecord::kPlaces * t + i];
            record.recent[t][i] = highScores[kRecentScores + SavedRecord::kPlaces * t + i];
        }
    }
    String text = WriteSavedRecord(record);
    if (debugMode == 1) PrintUnrecorded(text);
    SavePersistedState(text);
}

void c_MyApp::LoadSavedData() {
    String text = LoadPersistedState();
    if (debugMode == 1) PrintUnrecorded(text);
    SavedRecordLoad load = ReadSavedRecord(text);

    if (load.settings == BlockResult::Loaded) {
        for (int i = 0; i < SavedRecord::kSettings; ++i) settings[i] = load.record.settings[i];
        Print(String("Settings Loaded"));
    } else if (load.settings == BlockResult::Invalid) {
        ResetSettings(settings);
        Print(String("Settings Checksum Invalid"));
    }
    CorrectSettings(settings);

    if (load.badges == BlockResult::Loaded) {
        for (int n = 0; n < kBadgeCount; ++n) {
            unsigned word = static_cast<unsigned>(load.record.badgeWords[n / 32]);
            badgeFlags[n] = (word >> (n % 32) & 1u) != 0;
        }
        Print(String("Badges Loaded"));
    } else if (load.badges == BlockResult::Invalid) {
        for (int n = 0; n < kBadgeCount; ++n) badgeFlags[n] = false;
        Print(String("Badge Checksum Invalid"));
    }

    for (int t = 0; t < SavedRecord::kModes; ++t) {
        String name = String("Highscore ") + String::FromInt(t);
        if (load.tables[t] == BlockResult::Loaded) {
            for (int i = 0; i < SavedRecord::kPlaces; ++i) {
                highScores[SavedRecord::kPlaces * t + i] = load.record.best[t][i];
                highScores[kRecentScores + SavedRecord::kPlaces * t + i] = load.record.recent[t][i];
            }
            Print(name + String(" Loaded"));
        } else if (load.tables[t] == BlockResult::Invalid) {
            ClearTable(highScores, t);
            Print(name + String(" Checksum Invalid"));
        }
    }
}

void c_MyApp::RecordScore() {
    // Only the title's three modes exist; anything else has no table to enter.
    if (!ValidMode(gameMode)) return;
    int base = SavedRecord::kPlaces * (gameMode - 1);
    int place = -1;
    for (int i = 0; i < SavedRecord::kPlaces; ++i) {
        if (highScores[base + i] < score && place == -1) place = i;
    }
    if (place >= 0) {
        for (int i = SavedRecord::kPlaces - 1; i > place; --i) highScores[base + i] = highScores[base + i - 1];
        highScores[base + place] = score;
    }
    ScoreTableChanged();
    ScoreTablesDone();
    int recent = base + kRecentScores;
    for (int i = SavedRecord::kPlaces - 1; i >= 1; --i) highScores[recent + i] = highScores[recent + i - 1];
    highScores[recent] = score;
    SaveData();
}

// Hooks for an online score service; this game has none.
void c_MyApp::ScoreTableChanged() {}
void c_MyApp::ScoreTablesDone() {}
