// The page's touches as the game's touch points: lowest free point, CSS
// pixels scaled to the canvas's buffer, and no button left held whatever the
// browser reports (too many fingers, fingers from elsewhere, cancels, ends it
// never sent). The held-button checks go through the real input device.
#include "web/touch_points.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/hx_game.h"
#include "input/input.h"

namespace {

// A phone canvas: 693 x 390 CSS pixels with a 2079 x 1170 buffer.
const CanvasScale kPhone = ScaleOf(2079, 1170, 693, 390);

struct Sent {
    int event, point;
    float x, y;
};

class TouchPointsTest : public ::testing::Test {
protected:
    void SetUp() override { gInputDevice = new c_InputDevice(); }
    void TearDown() override { gInputDevice = nullptr; }

    // One browser event: the changed touches, then the others on the screen.
    void Send(TouchPhase phase, std::vector<PageTouch> changed, std::vector<PageTouch> others = {},
              bool complete = true) {
        std::vector<PageTouch> listed;
        for (PageTouch t : changed) {
            t.changed = true;
            listed.push_back(t);
        }
        for (PageTouch t : others) {
            t.changed = false;
            listed.push_back(t);
        }
        points.Handle(phase, listed, complete, kPhone, [this](int event, int point, float x, float y) {
            sent.push_back({event, point, x, y});
            gInputDevice->TouchEvent(event, point, x, y);
        });
    }
    static PageTouch At(long id, double x = 10.5, double y = 20.25) { return PageTouch{id, x, y, false}; }

    // Nothing of the pointer is held, as the game reads it.
    static bool AllUp() {
        if (MouseDown()) return false;
        for (int i = 0; i < TouchPoints::kPoints; ++i) {
            if (TouchDown(i)) return false;
        }
        return true;
    }

    TouchPoints points;
    std::vector<Sent> sent;
};

TEST(CanvasScaleTest, BufferPixelsPerCssPixelAndOneForAnUnshownCanvas) {
    CanvasScale tablet = ScaleOf(2560, 1920, 1365, 1024);
    EXPECT_NEAR(tablet.x, 1.8755, 1e-4);
    EXPECT_NEAR(tablet.y, 1.875, 1e-9);
    CanvasScale hidden = ScaleOf(640, 480, 0, -3);
    EXPECT_EQ(hidden.x, 1);
    EXPECT_EQ(hidden.y, 1);
}

TEST_F(TouchPointsTest, FingerDownMovesAndUpInBufferPixels) {
    Send(TouchPhase::kStart, {At(7, 101, 57)});
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].event, EVENT_TOUCH_DOWN);
    EXPECT_EQ(sent[0].point, 0);
    EXPECT_FLOAT_EQ(sent[0].x, 303);
    EXPECT_FLOAT_EQ(sent[0].y, 171);
    // Touch 0 is the pointer the game steers with.
    EXPECT_TRUE(MouseDown());
    EXPECT_FLOAT_EQ(MouseX(), 303);

    Send(TouchPhase::kMove, {At(7, 90, 61)});
    EXPECT_EQ(sent.back().event, EVENT_TOUCH_MOVE);
    EXPECT_FLOAT_EQ(MouseX(), 270);
    EXPECT_FLOAT_EQ(MouseY(), 183);

    Send(TouchPhase::kEnd, {At(7, 90, 61)});
    EXPECT_EQ(sent.back().event, EVENT_TOUCH_UP);
    EXPECT_EQ(points.HeldCount(), 0);
    EXPECT_TRUE(AllUp());
}

TEST_F(TouchPointsTest, EachNewFingerTakesTheLowestFreePoint) {
    Send(TouchPhase::kStart, {At(40), At(41), At(42)});
    EXPECT_EQ(points.PointOf(40), 0);
    EXPECT_EQ(points.PointOf(41), 1);
    EXPECT_EQ(points.PointOf(42), 2);
    Send(TouchPhase::kEnd, {At(41)}, {At(40), At(42)});
    EXPECT_EQ(points.PointOf(41), -1);
    Send(TouchPhase::kStart, {At(43)}, {At(40), At(42)});
    Send(TouchPhase::kStart, {At(44)}, {At(40), At(42), At(43)});
    EXPECT_EQ(points.PointOf(43), 1);
    EXPECT_EQ(points.PointOf(44), 3);
}

TEST_F(TouchPointsTest, SecondFingerDownAndUpLeavesTheFirstSteering) {
    Send(TouchPhase::kStart, {At(1, 200, 100)});
    Send(TouchPhase::kStart, {At(2, 500, 300)}, {At(1, 200, 100)});
    Send(TouchPhase::kMove, {At(2, 480, 290)}, {At(1, 200, 100)});
    EXPECT_FLOAT_EQ(MouseX(), 600) << "the second finger does not move the pointer";
    Send(TouchPhase::kEnd, {At(2, 480, 290)}, {At(1, 200, 100)});
    EXPECT_TRUE(MouseDown()) << "lifting the second finger keeps the first one's press";
    EXPECT_TRUE(TouchDown(0));
    EXPECT_FALSE(TouchDown(1));

    Send(TouchPhase::kMove, {At(1, 188, 97)});
    EXPECT_FLOAT_EQ(MouseX(), 564);
    EXPECT_FLOAT_EQ(MouseY(), 291);
}

TEST_F(TouchPointsTest, OnlyChangedTouchesMove) {
    Send(TouchPhase::kStart, {At(1, 30, 30), At(2, 60, 60)});
    sent.clear();
    Send(TouchPhase::kMove, {At(2, 61, 59)}, {At(1, 33, 31)});
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].point, 1);
}

TEST_F(TouchPointsTest, FingersBeyondThirtyTwoAreIgnoredForTheirWholeTouch) {
    std::vector<PageTouch> fingers;
    for (long id = 100; id < 133; ++id) fingers.push_back(At(id));
    Send(TouchPhase::kStart, fingers);
    EXPECT_EQ(points.HeldCount(), 32);
    EXPECT_EQ(points.PointOf(132), -1);

    // A point frees while the 33rd finger is still down: it does not jump in
    // mid-drag, but the next new finger takes the point.
    std::vector<PageTouch> rest(fingers.begin() + 1, fingers.end());
    Send(TouchPhase::kEnd, {fingers[0]}, rest);
    sent.clear();
    Send(TouchPhase::kMove, {At(132, 300, 200)}, std::vector<PageTouch>(rest.begin(), rest.end() - 1));
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(points.PointOf(132), -1);
    Send(TouchPhase::kStart, {At(134)}, rest);
    EXPECT_EQ(points.PointOf(134), 0);

    // A touch end that names every finger lifts them all.
    rest.push_back(At(134));
    Send(TouchPhase::kEnd, rest);
    EXPECT_EQ(points.HeldCount(), 0);
    EXPECT_TRUE(AllUp());
}

TEST_F(TouchPointsTest, FingersFromOutsideTheCanvasSendNothing) {
    // A finger that started on the page around the canvas is listed, and
    // even changed, in the canvas's later events; it never went down here.
    Send(TouchPhase::kMove, {At(9, 50, 50)});
    Send(TouchPhase::kEnd, {At(9, 50, 50)});
    EXPECT_TRUE(sent.empty());
    Send(TouchPhase::kStart, {At(3)}, {At(9)});
    Send(TouchPhase::kEnd, {At(9)}, {At(3)});
    EXPECT_EQ(points.PointOf(3), 0);
    EXPECT_TRUE(TouchDown(0));
}

TEST_F(TouchPointsTest, CancelLiftsLikeAnEnd) {
    Send(TouchPhase::kStart, {At(5), At(6)});
    Send(TouchPhase::kCancel, {At(5), At(6)});
    EXPECT_EQ(sent.back().event, EVENT_TOUCH_UP);
    EXPECT_EQ(points.HeldCount(), 0);
    EXPECT_TRUE(AllUp());
}

TEST_F(TouchPointsTest, FingerMissingFromACompleteListIsLifted) {
    Send(TouchPhase::kStart, {At(1), At(2)});
    // The end of finger 1 never reached the canvas; the next event lists
    // only finger 2.
    Send(TouchPhase::kMove, {At(2, 40, 41)});
    EXPECT_EQ(points.PointOf(1), -1);
    EXPECT_FALSE(TouchDown(0));
    EXPECT_TRUE(TouchDown(1));
    // A list that may have been cut short lifts nothing.
    Send(TouchPhase::kStart, {At(3)}, {}, /*complete=*/false);
    EXPECT_EQ(points.PointOf(2), 1);
    EXPECT_EQ(points.PointOf(3), 0);
}

TEST_F(TouchPointsTest, RepeatedStartOfAHeldTouchPressesItsOwnPointAgain) {
    Send(TouchPhase::kStart, {At(8)});
    Send(TouchPhase::kStart, {At(8, 70, 80)});
    EXPECT_EQ(points.HeldCount(), 1);
    EXPECT_EQ(sent.back().point, 0);
    EXPECT_EQ(KeyHit(384), 2);
}

}  // namespace
