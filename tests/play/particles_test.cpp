// Particle bursts: how many, in which slots, where, in which colour, how
// they fly and fade, and what happens when every slot is taken.
#include <climits>

#include "game/game_globals.h"
#include "runtime/random.h"
#include "tests/play/play_test_support.h"

namespace {

class ParticlesTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        ClearParticles();
    }
    void ClearParticles() {
        for (int i = 0; i < App()->particles.Length(); ++i) App()->particles[i] = 0;
    }
    const float* Particle(int k) const { return &App()->particles[k * 10]; }
};

TEST_F(ParticlesTest, ABurstMakesCountPlusOneParticles) {
    c_MyApp* app = App();
    const struct {
        int count, made;
    } cases[] = {{32, 33}, {8, 9}, {0, 1}, {-1, 0}, {-50, 0}};
    for (auto c : cases) {
        ClearParticles();
        app->SpawnParticles(500, 400, c.count, 2);
        EXPECT_EQ(ActiveParticles(), c.made) << "count " << c.count;
    }
}

TEST_F(ParticlesTest, SlotsAreTakenFromTheHighestFreeOneDown) {
    c_MyApp* app = App();
    app->particles[100 * 10] = 1;  // slot 100 busy
    app->particles[98 * 10] = 0.5f;
    app->particles[97 * 10] = -0.25f;  // not greater than 0: free
    app->SpawnParticles(0, 0, 2, 4);
    EXPECT_EQ(Particle(99)[0], 1);
    EXPECT_EQ(Particle(97)[0], 1);
    EXPECT_EQ(Particle(96)[0], 1);
    EXPECT_EQ(Particle(95)[0], 0);
    EXPECT_EQ(Particle(98)[6], 0);  // the busy slot was left alone
}

TEST_F(ParticlesTest, WithoutFreeSlotsABurstIsSmallerAndDrawsNothingMore) {
    c_MyApp* app = App();
    app->SpawnParticles(0, 0, 90, 1);
    EXPECT_EQ(ActiveParticles(), 91);
    app->SpawnParticles(0, 0, 32, 1);
    EXPECT_EQ(ActiveParticles(), 101);
    int seed = randomSeed;
    app->SpawnParticles(0, 0, 32, -1);
    EXPECT_EQ(randomSeed, seed);  // no slot, no draws
    EXPECT_EQ(ActiveParticles(), 101);
    ClearParticles();
    app->SpawnParticles(0, 0, INT_MAX, 1);  // stops once the slots are full
    EXPECT_EQ(ActiveParticles(), 101);
}

TEST_F(ParticlesTest, AParticleStartsNearThePointWithFourDraws) {
    c_MyApp* app = App();
    for (int trial = 0; trial < 200; ++trial) {
        ClearParticles();
        randomSeed = trial * 48271 + 11;
        int expected = randomSeed;
        for (int i = 0; i < 4; ++i) expected = NextSeed(expected);
        app->SpawnParticles(1000, 2000, 0, 5);
        ASSERT_EQ(randomSeed, expected);
        const float* p = Particle(100);
        EXPECT_EQ(p[0], 1);
        EXPECT_GE(p[1], 992);
        EXPECT_LT(p[1], 1008);
        EXPECT_GE(p[2], 1992);  // -8..2: bursts sit slightly above the point
        EXPECT_LT(p[2], 2002);
        EXPECT_GE(p[3], -6);
        EXPECT_LT(p[3], 6);
        EXPECT_GE(p[4], -6);
        EXPECT_LT(p[4], 6);
        EXPECT_EQ(p[5], 0);
        EXPECT_EQ(p[6], 1);
    }
}

TEST_F(ParticlesTest, ColourCodesFollowTheTableAndMinusOneIsRandom) {
    c_MyApp* app = App();
    const struct {
        int code;
        float r, g, b;
    } table[] = {{1, 255, 100, 100}, {2, 255, 200, 100}, {3, 255, 255, 100}, {4, 100, 255, 100},
                 {5, 100, 255, 255}, {6, 100, 100, 255}, {7, 255, 100, 255}, {8, 255, 255, 255},
                 {0, 255, 255, 255}, {42, 255, 255, 255}};
    for (auto c : table) {
        ClearParticles();
        app->SpawnParticles(0, 0, 0, c.code);
        EXPECT_EQ(app->particleColour, c.code);
        EXPECT_EQ(Particle(100)[7], c.r) << "code " << c.code;
        EXPECT_EQ(Particle(100)[8], c.g) << "code " << c.code;
        EXPECT_EQ(Particle(100)[9], c.b) << "code " << c.code;
    }
    int seen[9] = {};
    for (int n = 0; n < 400; ++n) {
        ClearParticles();
        int seed = randomSeed;
        for (int i = 0; i < 5; ++i) seed = NextSeed(seed);  // four for the particle, one for the colour
        app->SpawnParticles(0, 0, 0, -1);
        ASSERT_EQ(randomSeed, seed);
        ASSERT_GE(app->particleColour, 1);
        ASSERT_LE(app->particleColour, 8);
        ++seen[app->particleColour];
    }
    for (int code = 1; code <= 8; ++code) EXPECT_GT(seen[code], 20) << "code " << code;
}

TEST_F(ParticlesTest, ParticlesFlyStraightFadeAndDieAfterAbout100Updates) {
    c_MyApp* app = App();
    EmptyWorldAt(1000, 1000, 320, 240);
    app->SpawnParticles(1300, 1200, 0, 6);
    float x = Particle(100)[1], y = Particle(100)[2];
    float vx = Particle(100)[3], vy = Particle(100)[4];
    app->paused = 1;  // particles go on while paused
    app->PlayUpdate();
    EXPECT_FLOAT_EQ(Particle(100)[1], x + vx);
    EXPECT_FLOAT_EQ(Particle(100)[2], y + vy);
    EXPECT_NEAR(Particle(100)[6], 0.99, 1e-6);
    bool drawn = false;
    for (const DrawCommand& c : Queued(kEllipse)) {
        if (c.red != 100 || c.green != 100 || c.blue != 255) continue;
        drawn = true;
        EXPECT_FLOAT_EQ(c.x, x + vx - 1000);
        EXPECT_FLOAT_EQ(c.y, y + vy - 1000);
        EXPECT_EQ(c.a, 6);
        EXPECT_EQ(c.alpha, 1);  // drawn before it fades
    }
    EXPECT_TRUE(drawn);
    int life = 1;
    while (Particle(100)[0] > 0 && life < 200) {
        app->PlayUpdate();
        ++life;
    }
    EXPECT_GE(life, 100);
    EXPECT_LE(life, 102);
    app->PlayUpdate();
    for (const DrawCommand& c : Queued(kEllipse)) EXPECT_FALSE(c.red == 100 && c.blue == 255);
}

}  // namespace
