#include "game/my_app.h"

// Not built yet: these operations do nothing until their screen exists.

void c_MyApp::LoadSavedData() {}
void c_MyApp::SaveData() {}
void c_MyApp::RecordScore() {}
void c_MyApp::ScoreTableChanged() {}
void c_MyApp::ScoreTablesDone() {}
