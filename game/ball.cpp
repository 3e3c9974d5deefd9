// The ball with its trail and eyes, steering by dragging, stick and keys,
// the particle bursts, and the score and hearts shown over the play field.
#include <cmath>

#include "game/degrees.h"
#include "game/game_constants.h"
#include "game/game_globals.h"
#include "game/my_app.h"
#include "game/steering.h"
#include "runtime/random.h"

namespace {

constexpr int kBallRadius = 16;

constexpr int kTrailPoints = 65;
constexpr int kNewest = 2 * (kTrailPoints - 1);

constexpr int kParticles = 101;
constexpr int kParticleFloats = 10;
enum ParticleField { kActive = 0, kX, kY, kVelX, kVelY, kUnused, kAlpha, kRed, kGreen, kBlue };

struct Rgb {
    float red, green, blue;
};

// Colour codes 1..7; every other code is white.
constexpr Rgb kParticleColours[] = {
    {255, 100, 100}, {255, 200, 100}, {255, 255, 100}, {100, 255, 100},
    {100, 255, 255}, {100, 100, 255}, {255, 100, 255},
};

Rgb ParticleColour(int code) {
    if (code >= 1 && code <= 7) return kParticleColours[code - 1];
    return {255, 255, 255};
}

float Clamp(float value, float limit) {
    if (value < -limit) value = -limit;
    if (value > limit) value = limit;
    return value;
}

float PositiveDegrees(float angle) {
    float r = std::fmod(angle, 360.0f);
    return r < 0 ? r + 360.0f : r;
}

}  // namespace

void c_MyApp::UpdateBall() {
    SetDrawColor(0, 0, 0, kAbsent);
    DrawTrail();
    trail[kNewest] = ballX;
    trail[kNewest + 1] = ballY;
    ballScreenX = ballX - cameraX;
    ballScreenY = ballY - cameraY;
    if (gameOver == 0) QueueEllipse(ballScreenX, ballScreenY, kBallRadius, kBallRadius);

    TurnEyes();
    SetDrawColor(255, 255, 255, 1);
    SetDrawRotation(facing);
    if (gameOver == 0) QueueImage(kImageEyes, ballX - cameraX, ballY - cameraY, 0);

    if (paused != 0 || gameOver != 0) return;
    if (invulnerable > 0) ProtectionRing();
    SteerBall();
    // No friction: the ball keeps its velocity until a drag or an edge changes it.
    ballX += ballVelX;
    ballY += ballVelY;
}

void c_MyApp::DrawTrail() {
    // Shift the trail one place older; the 25 newest-but-one dots are drawn,
    // shrinking towards the tail (radii 9 down to 1).
    for (int k = 0; k < kTrailPoints - 1; ++k) {
        trail[2 * k] = trail[2 * k + 2];
        trail[2 * k + 1] = trail[2 * k + 3];
        int size = k / 3 - 12;
        if (size > 0) QueueEllipse(trail[2 * k] - cameraX, trail[2 * k + 1] - cameraY, size, size);
    }
}

void c_MyApp::TurnEyes() {
    float dx = trail[kNewest] - trail[kNewest - 4];
    float dy = trail[kNewest + 1] - trail[kNewest - 3];
    if (std::sqrt(dy * dy + dx * dx) <= 1) return;
    float theta = std::atan2(-dx, dy) * kRadiansToDegrees;
    int turn = AngleDiff(theta, facing);
    if (turn < -6) turn = -6;
    if (turn > 6) turn = 6;
    if (std::abs(turn) < 4) {
        turn = 0;
        facing = theta;
    }
    facing += static_cast<float>(turn);
}

void c_MyApp::ProtectionRing() {
    invulnerable -= 1;
    float x = ballX - cameraX;
    float y = ballY - cameraY;
    SetDrawColor(100, 255, 100, 0.5f);
    float r = SinDeg(static_cast<float>(invulnerable * 8)) * 8 + 16;
    QueueEllipse(x, y, r, r);
    SetDrawColor(0, 155, 0, 0.3f);
    r = SinDeg(static_cast<float>(invulnerable * 7)) * 6 + 16;
    QueueEllipse(x, y, r, r);
}

void c_MyApp::SteerBall() {
    int moveSpeed = settings[kSettingMoveSpeed];
    if (pointerDown > 0 && touchLatch == 0) {
        float d = DragDivisor(moveSpeed);
        ballVelX += static_cast<float>(pointerX - prevPointerX) / d;
        ballVelY += static_cast<float>(pointerY - prevPointerY) / d;
    }
    // An axis not deflected is left alone: even adding 0 would turn a
    // velocity of -0 into +0.
    Deflection tilt = SteeringDeflection();
    if (tilt.x != 0) ballVelX += SteeringVelocity(tilt.x, moveSpeed);
    if (tilt.y != 0) ballVelY += SteeringVelocity(tilt.y, moveSpeed);
    float limit = static_cast<float>(maxSpeed);
    ballVelX = Clamp(ballVelX, limit);
    ballVelY = Clamp(ballVelY, limit);
}

int c_MyApp::AngleDiff(float a, float b) {
    // The fold sits at 179 and subtracts 359 (not 360): the eye art is drawn
    // for exactly this behaviour.
    float d = PositiveDegrees(PositiveDegrees(b) - PositiveDegrees(a));
    if (d > 179) return static_cast<int>(d - 359);
    return static_cast<int>(d);
}

void c_MyApp::SpawnParticles(int x, int y, int count, int colour) {
    // count + 1 particles; once no slot is free no later pass finds one, so
    // the loop stops there (also keeping a huge count from running on).
    for (long long n = 0; n <= static_cast<long long>(count); ++n) {
        int slot = -1;
        for (int k = kParticles - 1; k >= 0; --k) {
            if (particles[k * kParticleFloats + kActive] <= 0) {
                slot = k;
                break;
            }
        }
        if (slot < 0) return;

        float* p = &particles[slot * kParticleFloats];
        p[kActive] = 1;
        // The vertical offset is -8..2: bursts sit slightly above the point.
        p[kX] = static_cast<float>(x) + RandomFraction() * 16 - 8;
        p[kY] = static_cast<float>(y) + RandomFraction() * 10 - 8;
        p[kVelX] = RandomFraction() * 12 - 6;
        p[kVelY] = RandomFraction() * 12 - 6;
        p[kUnused] = 0;
        p[kAlpha] = 1;
        particleColour = colour;
        if (particleColour == -1) particleColour = RandomInt(1, 8);
        Rgb rgb = ParticleColour(particleColour);
        p[kRed] = rgb.red;
        p[kGreen] = rgb.green;
        p[kBlue] = rgb.blue;
    }
}

void c_MyApp::UpdateParticles() {
    for (int k = 0; k < kParticles; ++k) {
        float* p = &particles[k * kParticleFloats];
        if (p[kActive] <= 0) continue;
        p[kX] += p[kVelX];
        p[kY] += p[kVelY];
        SetDrawColor(p[kRed], p[kGreen], p[kBlue], p[kAlpha]);
        QueueEllipse(p[kX] - cameraX, p[kY] - cameraY, 6, 6);
        p[kAlpha] -= 0.01f;
        if (p[kAlpha] < 0) p[kActive] = 0;
    }
}

void c_MyApp::DrawPlayDisplay() {
    // The shown score eases towards the real one and snaps when close.
    shownScore -= (shownScore - score) / 6;
    if (std::abs(shownScore - score) < 6) shownScore = score;
    SetDrawColor(100, 255, 100, 0.8f);
    SetDrawScale(2, kAbsent);
    QueueText(virtualWidth * 0.5f, 32, PadNumber(shownScore, 8, String("0")), 1, 1);

    // Hearts right-aligned, 24 pixels apart, the first 16 from the right edge.
    loopCol = static_cast<int>(virtualWidth + 8);
    SetDrawColor(255, 255, 255, 0.8f);
    SetDrawScale(1, kAbsent);
    for (int i = 1; i <= lives; ++i) {
        loopCol -= 24;
        QueueImage(kImageHeart, static_cast<float>(loopCol), 16, 0);
    }
}
