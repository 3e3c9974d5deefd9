// The play field: a new game's world, the drifting camera, the cell pass
// (drawing, hits, coins) and the view edge that drags the ball along.
#include <cmath>

#include "app/framework.h"
#include "game/degrees.h"
#include "game/game_constants.h"
#include "game/game_globals.h"
#include "game/my_app.h"
#include "runtime/random.h"
#include "game/random_run.h"
#include "game/world_grid.h"

using namespace world_grid;

namespace {

constexpr int kBlockFrameBase = 9;  // + variant 1..9
constexpr int kProtection = 180;
constexpr int kMaxCoins = 256;
constexpr int kCoinOdds = 5000;
constexpr int kClearingReach = 6;
constexpr float kCameraMargin = 32;
constexpr float kEdgeMargin = 16;
constexpr float kEdgePush = 8;
constexpr float kSkyTile = 512;
constexpr float kSkyParallax = 0.7f;
static_assert(kCells <= RandomRun::kMaxRun, "a column's coin draws are one run");

struct Difficulty {
    int lives;
    int blockChance;
};

// Modes 1, 2, 3; any other mode plays as 2.
constexpr Difficulty kDifficulty[] = {{5, 20}, {3, 14}, {1, 10}};

Difficulty DifficultyOf(int mode) {
    return (mode >= 1 && mode <= 3) ? kDifficulty[mode - 1] : kDifficulty[1];
}

int CountCoins(const Array<int>& world) {
    const int* types = world.begin();
    int coins = 0;
    for (int cell = 0; cell < kCells * kCells; ++cell) coins += types[cell * kCellInts] == kCoin;
    return coins;
}

// fmod that lands in [0, period) for negative values too.
float Wrap(float value, float period) {
    float r = std::fmod(value, period);
    return r < 0 ? r + period : r;
}

}  // namespace

void c_MyApp::NewGame() {
    paused = 0;
    score = 0;
    gameOver = 0;
    gameOverTimer = 0;
    screen = kScreenPlay;
    Difficulty d = DifficultyOf(gameMode);
    lives = d.lives;
    blockChance = d.blockChance;
    randomSeed = Millisecs();
    SetUpWorld();
}

void c_MyApp::SetUpWorld() {
    GenerateWorld();

    int startCellX = RandomInt(30, 100);
    startCellY = RandomInt(30, 100);
    charScratch = startCellX;  // the game object keeps the start column here
    for (int col = startCellX - kClearingReach; col <= startCellX + kClearingReach; ++col)
        for (int row = startCellY - kClearingReach; row <= startCellY + kClearingReach; ++row)
            world[CellIndex(col, row)] = kEmpty;

    ballX = static_cast<float>(startCellX * kCellPixels);
    ballY = static_cast<float>(startCellY * kCellPixels);
    touchLatch = 1;  // the press that started the game must be released first

    driftX = cameraX = ballX - virtualWidth * 0.5f;
    driftY = cameraY = ballY - virtualHeight * 0.5f;

    driftVelX = driftVelY = headingVelX = headingVelY = 0;
    facing = 0;
    ballVelX = ballVelY = 0;

    heading = static_cast<float>(RandomInt(0, 360));
    headingTimer = static_cast<float>(RandomInt(450, 900));

    maxSpeed = 6;
    invulnerable = kProtection;
    driftSpeed = 0;
    driftTargetSpeed = 2.0f;
}

void c_MyApp::GenerateWorld() {
    // Two draws per cell in this order, so that a seed fixes the world.
    for (int col = 0; col < kCells; ++col) {
        for (int row = 0; row < kCells; ++row) {
            int cell = CellIndex(col, row);
            int type = kEmpty;
            world[cell + 1] = RandomInt(1, 9);
            if (RandomInt(0, blockChance) == 1) type = kBlock;
            if (OnRing(col, row)) type = kWall;
            world[cell] = type;
        }
    }
}

void c_MyApp::PlayUpdate() {
    BeginFrame(100, 160, 250, 1.0f);
    ResetDrawState();
    SetDrawScale(2, kAbsent);
    DrawSky();
    ResetDrawState();

    if (paused == 0 && gameOver == 0) UpdateDrift();

    // Kept within one turn: only its sine is ever used, and an ever-growing
    // counter would overflow during a long pause.
    spinPhase = (spinPhase + 4) % 360;
    CellPass(coinCount);
    ResetDrawState();

    ViewEdgeRule();
    UpdateBall();

    ResetDrawState();
    if (lives < 0) gameOver = 1;

    UpdateParticles();
    DrawPlayDisplay();
}

void c_MyApp::DrawSky() {
    float bx = Wrap(-cameraX * kSkyParallax, kSkyTile);
    float by = Wrap(-cameraY * kSkyParallax, kSkyTile);
    for (loopCol = -1; loopCol <= 1; ++loopCol)
        for (loopRow = -1; loopRow <= 1; ++loopRow)
            QueueImage(kImageMenu, bx + kSkyTile * loopCol, by + kSkyTile * loopRow, 0);
}

void c_MyApp::UpdateDrift() {
    cameraX -= (cameraX - driftX) / 12;
    cameraY -= (cameraY - driftY) / 12;

    if (driftTargetSpeed > driftSpeed) driftSpeed += 0.01f;
    if (driftTargetSpeed < driftSpeed) driftSpeed -= 0.01f;
    if (std::fabs(driftSpeed - driftTargetSpeed) < 0.02f) driftSpeed = driftTargetSpeed;

    headingTimer -= 1;
    if (headingTimer < 1) {
        heading = static_cast<float>(RandomInt(0, 360));
        headingTimer = static_cast<float>(RandomInt(450, 900));
    }

    headingVelX = driftSpeed * SinDeg(heading);
    headingVelY = -CosDeg(heading) * driftSpeed;
    driftVelX -= (driftVelX - headingVelX) / 80;  // turns are gradual
    driftVelY -= (driftVelY - headingVelY) / 80;
    driftX += driftVelX;
    driftY += driftVelY;

    // Bounces turn the heading back into the world; the drift point follows
    // within some updates, so it is not clamped.
    float maxX = kWorldPixels - virtualWidth;
    float maxY = kWorldPixels - virtualHeight;
    if (cameraX < -kCameraMargin) {
        cameraX = -kCameraMargin;
        heading = static_cast<float>(RandomInt(-45, 45) + 90);
    }
    if (cameraY < -kCameraMargin) {
        cameraY = -kCameraMargin;
        heading = static_cast<float>(RandomInt(-45, 45) + 180);
    }
    if (cameraX > maxX) {
        cameraX = maxX;
        heading = static_cast<float>(RandomInt(-45, 45) + 270);
    }
    if (cameraY > maxY) {
        cameraY = maxY;
        heading = static_cast<float>(RandomInt(-45, 45));
    }
}

// The cell pass walks the grid column by column, each column from the top.
// Cells in view are drawn and tested; each cell out of view takes one coin
// draw while coins are short. The draws of the unseen cells of a column are
// taken as runs, and a coin made there changes no other cell, so the pass
// gives the same world and random sequence as a visit of every cell in turn.
void c_MyApp::CellPass(int prevCount) {
    // A coin counts when its visit starts, so one collected in this pass
    // still counts until the next. Coins made in this pass count at once:
    // the count of the previous update alone would let the world overshoot
    // the limit.
    coinCount = CountCoins(world);
    int spawned = 0;
    auto unseenRun = [&](int col, int firstRow, int endRow) {
        if (prevCount >= kMaxCoins || firstRow >= endRow) return;
        static const RandomRun coinDraws(0, kCoinOdds, 1);
        coinDraws.Draw(endRow - firstRow, [&](int i) {
            // Coins only appear where the player cannot see them appear.
            int& type = world[CellIndex(col, firstRow + i)];
            if (type != kEmpty || prevCount + spawned >= kMaxCoins) return;
            type = kCoin;
            ++spawned;
        });
    };

    const float right = virtualWidth + kCellPixels;
    const float bottom = virtualHeight + kCellPixels;
    int firstRowInView = kCells, endRowInView = kCells;
    for (int row = 0; row < kCells; ++row) {
        const float sy = static_cast<float>(row * kCellPixels) - cameraY;
        const bool inView = sy > -kCellPixels && sy < bottom;
        if (inView && firstRowInView == kCells) firstRowInView = row;
        if (!inView && firstRowInView < kCells && endRowInView == kCells) endRowInView = row;
    }
    for (int col = 0; col < kCells; ++col) {
        const float sx = static_cast<float>(col * kCellPixels) - cameraX;
        if (!(sx > -kCellPixels && sx < right)) {
            unseenRun(col, 0, kCells);
            continue;
        }
        unseenRun(col, 0, firstRowInView);
        for (int row = firstRowInView; row < endRowInView; ++row)
            VisitCellInView(col, row, sx, static_cast<float>(row * kCellPixels) - cameraY);
        unseenRun(col, endRowInView, kCells);
    }
    coinCount += spawned;
}

void c_MyApp::VisitCellInView(int col, int row, float sx, float sy) {
    int* cell = &world[CellIndex(col, row)];
    const int t = cell[0];
    SetDrawScale(1, 1);
    SetDrawColor(255, 255, 255, 1);
    if (t == kBlock) QueueImage(kImageWorldTiles, sx, sy, cell[1] + kBlockFrameBase);
    if (t == kWall) {
        SetDrawColor(255, 0, 0, 1);
        QueueRect(sx - 16, sy - 16, kCellPixels, kCellPixels);
    }
    hitRadius = 24;
    if (t == kCoin) {
        // Cells out of phase with each other, each pulsing like a turning coin.
        float spin = static_cast<float>(spinPhase + 7 * row + 3 * col);
        SetDrawScale(std::fabs(SinDeg(spin)), 1);
        QueueImage(kImageWorldTiles, sx, sy, 0);
        hitRadius = 32;
    }

    // A square test against where the ball was drawn last update.
    if (std::fabs(ballScreenX - sx) >= hitRadius || std::fabs(ballScreenY - sy) >= hitRadius) return;
    if ((t == kBlock || t == kWall) && invulnerable == 0) {
        if (t == kBlock) cell[0] = kEmpty;  // walls stay
        Hit();
    }
    if (cell[0] == kCoin) {  // collected whether protected or not
        cell[0] = kEmpty;
        score += 5;
        SpawnParticles(static_cast<int>(cameraX + sx), static_cast<int>(cameraY + sy), 8, 3);
        PlaySfx(kSoundCoin, 0.8f + 0.4f * RandomFraction(), 1.0f, 0);
    }
}

void c_MyApp::ViewEdgeRule() {
    // The edge shoves the ball inward and stops its outward speed, protected
    // or not, so that the moving view drags the ball along. The edges are
    // tested in turn, each after the previous one's shove.
    auto shove = [&](float& position, float& velocity, float inward) {
        if (invulnerable == 0) Hit();
        position += inward * kEdgePush;
        if (velocity * inward < 0) velocity = 0;
    };
    if (ballX - cameraX < kEdgeMargin) shove(ballX, ballVelX, 1);
    if (ballX - cameraX > virtualWidth - kEdgeMargin) shove(ballX, ballVelX, -1);
    if (ballY - cameraY < kEdgeMargin) shove(ballY, ballVelY, 1);
    if (ballY - cameraY > virtualHeight - kEdgeMargin) shove(ballY, ballVelY, -1);
}

void c_MyApp::Hit() {
    lives -= 1;
    invulnerable = kProtection;
    SpawnParticles(static_cast<int>(cameraX + ballScreenX), static_cast<int>(cameraY + ballScreenY), 32, 1);
    PlaySfx(kSoundHit, 0.8f + 0.4f * RandomFraction(), 1.0f, 0);
}
