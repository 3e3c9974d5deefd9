// The game's globals (one copy each); the random seed is in runtime/random.h.
#pragma once

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
// Build switch: 1 runs the music generator (CMake option SOLBRIM_MUSIC).
extern int musicEnabled;

// Gives every global above its start value; part of the global initialiser.
void InitGameGlobals();
