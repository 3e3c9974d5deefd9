#include "game/game_globals.h"

#include "game/shell/credits_list.h"
#include "runtime/random.h"

namespace {
// The values every run starts with; InitGameGlobals restores them.
constexpr float kDesignWidth = 640.0f;
constexpr float kDesignHeight = 480.0f;
}  // namespace

float baseWidth = kDesignWidth;
float baseHeight = kDesignHeight;
float virtualWidth = kDesignWidth;
float virtualHeight = kDesignHeight;
int arcadeMode = 0;
int debugMode = 0;
int musicEnabled = SOLBRIM_MUSIC;

void InitGameGlobals() {
    baseWidth = virtualWidth = kDesignWidth;
    baseHeight = virtualHeight = kDesignHeight;
    arcadeMode = debugMode = 0;
    randomSeed = kFirstRandomSeed;
    musicEnabled = SOLBRIM_MUSIC;
    InitCreditsList();
}
