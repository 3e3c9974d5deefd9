// Sound from the first gesture. Browsers let a page's audio start only in
// answer to what they count as a gesture: a touch's end, a pointer's
// release, a click or a key, but not a touch's start or a drag. The game's
// audio context is resumed on each of those while it is suspended, so a
// refused first attempt is tried again at the next one.
#pragma once

// Written in the page's language, hence C linkage.
extern "C" void ResumeAudioOnGestures();
