// The title song: a half-time groove in A minor at the player's tempo (rows
// are sixteenth notes, 84 ms apart; a pattern is four measures). Each of
// the five played channels has a few patterns for the player to choose from
// per section:
//   0 kit A   kick and snare: basic, busy, driving, break with a crash
//   1 kit B   hats and percussion: eighths, sixteenths, shaker, congas
//   2 lead    two call-and-answer pairs (0/1 and 2/3): row 0 of each steps
//             to its partner with command 27, so a section alternates them
//   3 accomp. arpeggio, off-beat stabs, held organ chords
//   4 bass    root notes, eighth pulse, long notes
// Pattern 0 of every channel fits with the others: the first bar of the
// song plays them all.
#pragma once
#include "tools/assetgen/song_image.h"

// Written as data/inst/song0.png (asset_catalogue.def), where the game
// looks for it.
namespace title_song {
SongImage Compose();
}  // namespace title_song
