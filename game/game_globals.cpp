#include "game/game_globals.h"

#include "game/shell/credits_list.h"

float baseWidth = 640.0f;
float baseHeight = 480.0f;
float virtualWidth = 640.0f;
float virtualHeight = 480.0f;
int arcadeMode = 0;
int debugMode = 0;
int randomSeed = 1234;
int musicEnabled = SOLBRIM_MUSIC;

void InitGameGlobals() {
    baseWidth = 640.0f;
    baseHeight = 480.0f;
    virtualWidth = 640.0f;
    virtualHeight = 480.0f;
    arcadeMode = 0;
    debugMode = 0;
    randomSeed = 1234;
    musicEnabled = SOLBRIM_MUSIC;
    InitCreditsList();
}
