// Support for the play tests: the game object of this test binary records
// the sound effects it asks for, and PlayTest sets up worlds, cells and the
// ball where a test needs them.
#pragma once
#include <vector>

#include "game/my_app.h"
#include "game/world_grid.h"
#include "tests/game/game_fixture.h"

struct SfxCall {
    int sound;
    float rate;
};

// The real game object; PlaySfx also notes what was asked for.
class PlayTestApp : public c_MyApp {
public:
    void PlaySfx(int sound, float rate, float volume, float pan) override;
    std::vector<SfxCall> sfx;
    int SfxCount(int sound) const;
};

class PlayTest : public GameTest {
protected:
    void SetUp() override;

    PlayTestApp* Play() const { return static_cast<PlayTestApp*>(App()); }

    // A new game of the given mode whose world comes from the given seed.
    void NewSeededGame(int seed, int mode = 2);
    // Every cell inside the wall ring empty, particles cleared, camera at
    // (cameraX, cameraY) with the drift point on it, ball unprotected at
    // (screenX, screenY) in the view and standing still.
    void EmptyWorldAt(float cameraX, float cameraY, float screenX, float screenY, int mode = 2);
    // Puts the ball at a view position, as if the last update had drawn it there.
    void PlaceBall(float screenX, float screenY);

    int& Cell(int col, int row) const { return App()->world[world_grid::CellIndex(col, row)]; }
    int ActiveParticles() const;
    int CountCells(int type) const;
    // Commands queued so far, of one kind (image number or shape kind).
    std::vector<DrawCommand> Queued(float kind) const { return Game().Commands(kind); }
};

// One step of the game's random generator applied to a seed, for tests that
// count how many draws an operation took.
int NextSeed(int seed);
