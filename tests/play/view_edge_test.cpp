// The view edge: a push of 8 pixels inward and the loss of outward speed,
// protected or not; a hit only when unprotected.
#include "game/game_globals.h"
#include "tests/play/play_test_support.h"

namespace {

class ViewEdgeTest : public PlayTest {
protected:
    struct Edge {
        const char* name;
        float x, y;         // ball in the view, 10 pixels from the edge
        float pushX, pushY;  // the push expected
        float outVelX, outVelY;
    };
    static constexpr Edge kEdges[] = {
        {"left", 10, 240, 8, 0, -3, 0},
        {"right", 630, 240, -8, 0, 3, 0},
        {"top", 320, 10, 0, 8, 0, -3},
        {"bottom", 320, 470, 0, -8, 0, 3},
    };

    void Arrange(const Edge& edge, int protection) {
        EmptyWorldAt(1000, 1000, edge.x, edge.y);
        App()->invulnerable = protection;
        App()->lives = 3;
        App()->ballVelX = edge.outVelX;
        App()->ballVelY = edge.outVelY;
    }
};

TEST_F(ViewEdgeTest, TheEdgePushesAndStopsOutwardSpeedProtectedOrNot) {
    c_MyApp* app = App();
    for (const Edge& edge : kEdges) {
        for (int protection : {0, 90}) {
            Arrange(edge, protection);
            app->ViewEdgeRule();
            EXPECT_EQ(app->ballX, 1000 + edge.x + edge.pushX) << edge.name;
            EXPECT_EQ(app->ballY, 1000 + edge.y + edge.pushY) << edge.name;
            EXPECT_EQ(app->ballVelX, 0) << edge.name;
            EXPECT_EQ(app->ballVelY, 0) << edge.name;
            if (protection == 0) {
                EXPECT_EQ(app->lives, 2) << edge.name;
                EXPECT_EQ(app->invulnerable, 180) << edge.name;
                EXPECT_EQ(ActiveParticles(), 33) << edge.name;
                EXPECT_EQ(Play()->SfxCount(2), 1) << edge.name;
            } else {
                EXPECT_EQ(app->lives, 3) << edge.name;
                EXPECT_EQ(app->invulnerable, 90) << edge.name;
                EXPECT_EQ(ActiveParticles(), 0) << edge.name;
                EXPECT_EQ(Play()->SfxCount(2), 0) << edge.name;
            }
        }
    }
}

TEST_F(ViewEdgeTest, InwardSpeedIsKept) {
    c_MyApp* app = App();
    for (const Edge& edge : kEdges) {
        Arrange(edge, 90);
        app->ballVelX = -edge.outVelX;
        app->ballVelY = -edge.outVelY;
        app->ViewEdgeRule();
        EXPECT_EQ(app->ballVelX, -edge.outVelX) << edge.name;
        EXPECT_EQ(app->ballVelY, -edge.outVelY) << edge.name;
    }
}

TEST_F(ViewEdgeTest, ACornerIsOneHitAndTwoPushes) {
    c_MyApp* app = App();
    Arrange(kEdges[0], 0);
    PlaceBall(10, 10);
    app->ViewEdgeRule();
    EXPECT_EQ(app->lives, 2);
    EXPECT_EQ(app->ballX, 1018);
    EXPECT_EQ(app->ballY, 1018);
}

// Exactly 16 pixels from an edge is still inside the view's margin; half a
// pixel closer is over it. Every side, both sides of the boundary.
TEST_F(ViewEdgeTest, TheMarginEndsSixteenPixelsFromEveryEdge) {
    c_MyApp* app = App();
    const struct {
        const char* name;
        float insideX, insideY, overX, overY;
        float outVelX, outVelY;
    } sides[] = {
        {"left", 16, 203, 15.5f, 203, -2, 0},
        {"right", 624, 203, 624.5f, 203, 2, 0},
        {"top", 297, 16, 297, 15.5f, 0, -2},
        {"bottom", 297, 464, 297, 464.5f, 0, 2},
    };
    for (const auto& side : sides) {
        Arrange(kEdges[0], 0);
        PlaceBall(side.insideX, side.insideY);
        app->ballVelX = side.outVelX;
        app->ballVelY = side.outVelY;
        app->ViewEdgeRule();
        EXPECT_EQ(app->ballX, 1000 + side.insideX) << side.name;
        EXPECT_EQ(app->ballY, 1000 + side.insideY) << side.name;
        EXPECT_EQ(app->ballVelX, side.outVelX) << side.name;
        EXPECT_EQ(app->ballVelY, side.outVelY) << side.name;
        EXPECT_EQ(app->lives, 3) << side.name;

        Arrange(kEdges[0], 0);
        PlaceBall(side.overX, side.overY);
        app->ballVelX = side.outVelX;
        app->ballVelY = side.outVelY;
        app->ViewEdgeRule();
        EXPECT_EQ(app->lives, 2) << side.name;
        EXPECT_EQ(app->ballVelX, 0) << side.name;
        EXPECT_EQ(app->ballVelY, 0) << side.name;
    }
}

TEST_F(ViewEdgeTest, TheMovingViewDragsAStillBallAlong) {
    c_MyApp* app = App();
    EmptyWorldAt(1000, 1000, 20, 240);
    app->invulnerable = 100000;
    app->driftSpeed = app->driftTargetSpeed = 2;
    app->heading = 90;  // the view moves right
    app->driftVelX = 2;
    app->headingTimer = 5000;
    for (int n = 0; n < 300; ++n) app->PlayUpdate();
    float inView = app->ballX - app->cameraX;
    EXPECT_GE(inView, 16 - 8);
    EXPECT_LT(inView, 24);
    EXPECT_GT(app->cameraX, 1500);
    EXPECT_EQ(app->ballVelX, 0);
}

TEST_F(ViewEdgeTest, TheEdgeRuleGoesOnWhilePaused) {
    c_MyApp* app = App();
    Arrange(kEdges[1], 0);
    app->paused = 1;
    app->PlayUpdate();
    EXPECT_EQ(app->lives, 2);
    EXPECT_EQ(app->ballX, 1000 + 630 - 8);
}

}  // namespace
