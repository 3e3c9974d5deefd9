// The framework globals the game reads and writes (one copy each).
#pragma once

#ifndef SOLBRIM_MUSIC
#define SOLBRIM_MUSIC 0
#endif

// The virtual screen the game is laid out for.
extern float baseWidth;
extern float baseHeight;
// The part of the virtual screen the window shows; recomputed every render.
extern float virtualWidth;
extern float virtualHeight;
// 1 while the arcade stick feeds the controls through typed letters.
extern int arcadeMode;
// Toggled by F10: the rate read-out, and the saved record on the console.
extern int debugMode;
// The one seed every random draw of the game advances.
extern int randomSeed;
// Build switch: 1 runs the music generator (CMake option SOLBRIM_MUSIC).
extern int musicEnabled;

// Gives every global above its start value; part of the global initialiser.
void InitGameGlobals();
