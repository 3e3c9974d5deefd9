// The canvas's touches for the game: the browser's touch events on the
// canvas become the host's touch events (web/touch_points.h). The window
// library's own touch listeners are taken off first: it reports a finger as
// the left mouse button at the last mouse position, never the finger's.
#pragma once

class HxGame;

// Registers the canvas's touch callbacks for the game; they also keep the
// browser from scrolling, zooming or making mouse events out of touches.
void ListenToCanvasTouches(HxGame* game);
