// Badges: texts, the pop-ups' slide in and out over the running screens,
// the panel's scrolling, and awarding a badge.
#include <fstream>
#include <iterator>

#include "game/game_constants.h"
#include "game/game_globals.h"
#include "game/shell/saved_record.h"
#include "tests/game/game_fixture.h"
#include "tests/shell/queued_text.h"

namespace {

constexpr int kUp = 38, kDown = 40;

class BadgesTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        RunFrames(40);  // the title stands still
    }

    // The pop-up boxes queued by the last update.
    std::vector<DrawCommand> PopupBoxes() {
        std::vector<DrawCommand> out;
        for (const DrawCommand& c : Game().Commands(kRect)) {
            if (c.blue == 80 && c.red == 0 && c.a == 160 && c.b == 32) out.push_back(c);
        }
        return out;
    }
    std::vector<DrawCommand> BadgePictures() { return Game().Commands(kImageBadges); }
};

TEST_F(BadgesTest, OnlyBadgeZeroHasAText) {
    c_MyApp* app = App();
    EXPECT_EQ(app->BadgeName(0).ToUtf8(), "Test Badge");
    EXPECT_EQ(app->BadgeDescription(0).ToUtf8(), "This is a Test Badge which has no purpose.");
    for (int n : {1, 5, 63, 64, 255, -1, 1000}) {
        EXPECT_TRUE(app->BadgeText(n).Empty());
        EXPECT_TRUE(app->BadgeName(n).Empty());
        EXPECT_TRUE(app->BadgeDescription(n).Empty());
    }
}

TEST_F(BadgesTest, APopupSlidesInStaysAndIsGoneAfter241Updates) {
    c_MyApp* app = App();
    app->badgePopupIds[0] = 0;
    app->badgePopupTimers[0] = 1;
    RunFrames(5);
    std::vector<DrawCommand> boxes = PopupBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_FLOAT_EQ(boxes[0].x, 16 * 6 - 160.0f);  // sliding in, 16 pixels an update
    EXPECT_FLOAT_EQ(boxes[0].y, 480 - 34);
    RunFrames(5);
    boxes = PopupBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_FLOAT_EQ(boxes[0].x, 0);  // fully in view after ten updates
    EXPECT_TRUE(HasLine(QueuedLines(), "TestBadge"));
    std::vector<DrawCommand> pictures = BadgePictures();
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].frame, 0);
    EXPECT_FLOAT_EQ(pictures[0].x, 160 - 16);
    EXPECT_FLOAT_EQ(pictures[0].a, 0.5f);

    RunFrames(220);  // timer 231: the last ten updates slide it out
    boxes = PopupBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_FLOAT_EQ(boxes[0].x, 3840 - 160 - 16 * 231.0f);
    RunFrames(10);  // 240 updates
    EXPECT_EQ(app->badgePopupTimers[0], 0);
    RunFrames(1);
    EXPECT_TRUE(PopupBoxes().empty());
    EXPECT_FALSE(HasLine(QueuedLines(), "TestBadge"));
}

TEST_F(BadgesTest, BadgesFrom64OnHaveNoPicture) {
    c_MyApp* app = App();
    app->badgePopupIds[0] = 70;
    app->badgePopupTimers[0] = 1;
    app->badgePopupIds[3] = 5;
    app->badgePopupTimers[3] = 1;
    RunFrames(12);
    ASSERT_EQ(PopupBoxes().size(), 2u);
    std::vector<DrawCommand> pictures = BadgePictures();
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].frame, 5);
    EXPECT_FLOAT_EQ(pictures[0].y, 480 - 34 * 4 + 16);  // slot 3 stands fourth from the bottom
}

TEST_F(BadgesTest, PopupsAreQueuedLastOverPlay) {
    c_MyApp* app = App();
    app->screen = kScreenNewGame;
    RunFrames(1);
    app->badgePopupIds[1] = 0;
    app->badgePopupTimers[1] = 30;
    RunFrames(1);
    std::vector<DrawCommand> all = Game().Commands();
    ASSERT_FALSE(all.empty());
    std::vector<DrawCommand> boxes = PopupBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    // Queued last: the box, its unscaled text, then the half-size picture.
    const DrawCommand& picture = all.back();
    EXPECT_TRUE(picture.IsImage(80));
    EXPECT_FLOAT_EQ(picture.a, 0.5f);
    int glyphs = 0;
    for (size_t i = all.size() - 2; all[i].IsImage(app->fontImage); --i) {
        EXPECT_FLOAT_EQ(all[i].a, 1.0f);
        ++glyphs;
    }
    EXPECT_EQ(glyphs, 9);  // "TestBadge"
    EXPECT_EQ(all[all.size() - 2 - glyphs].kind, kRect);
}

// The pop-ups take the scale and turn the screen left; only the picture's
// own half scale ends at 1, so a second pop-up's text is unscaled.
TEST_F(BadgesTest, PopupsDrawWithTheStateTheScreenLeft) {
    c_MyApp* app = App();
    for (int slot : {0, 1}) {
        app->badgePopupIds[slot] = 0;
        app->badgePopupTimers[slot] = 12;
    }
    app->SetDrawScale(1.5f, kAbsent);
    app->SetDrawRotation(-35);  // the list holds the turn negated: 35
    size_t before = Game().Commands().size();
    app->BadgePopups();
    std::vector<DrawCommand> all = Game().Commands();
    ASSERT_EQ(all.size() - before, 2u * (1 + 9 + 1));  // per pop-up: box, "TestBadge", picture
    for (size_t i = before; i < all.size(); ++i) EXPECT_FLOAT_EQ(all[i].rotation, 35) << i;
    const DrawCommand* first = &all[before];
    const DrawCommand* second = first + 11;
    for (int g = 1; g <= 9; ++g) {
        EXPECT_TRUE(first[g].IsImage(app->fontImage));
        EXPECT_FLOAT_EQ(first[g].a, 1.5f);
        EXPECT_FLOAT_EQ(second[g].a, 1.0f);
    }
    EXPECT_FLOAT_EQ(first[10].a, 0.5f);
    EXPECT_FLOAT_EQ(second[10].a, 0.5f);
}

TEST_F(BadgesTest, AwardingSetsTheFlagShowsAPopupAndSaves) {
    c_MyApp* app = App();
    app->AwardBadge(33);
    EXPECT_TRUE(app->badgeFlags[33]);
    EXPECT_EQ(app->badgePopupIds[0], 33);
    EXPECT_EQ(app->badgePopupTimers[0], 1);
    std::ifstream in(".vellumstate", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SavedRecordLoad load = ReadSavedRecord(String(text.c_str()));
    ASSERT_EQ(load.badges, BlockResult::Loaded);
    EXPECT_EQ(load.record.badgeWords[1], 2);  // badge 33: word 1, bit 1

    app->AwardBadge(33);  // earned already: no second pop-up
    EXPECT_EQ(app->badgePopupTimers[1], 0);
    app->AwardBadge(256);
    app->AwardBadge(-1);
    EXPECT_EQ(app->badgePopupTimers[1], 0);
    app->AwardBadge(200);
    EXPECT_EQ(app->badgePopupIds[1], 200);

    for (int n = 0; n < 13; ++n) app->badgePopupTimers[n] = 5;  // every shown slot busy
    app->AwardBadge(7);
    EXPECT_TRUE(app->badgeFlags[7]);
    EXPECT_EQ(app->badgePopupTimers[13], 0);
    EXPECT_EQ(app->badgePopupTimers[14], 0);
}

TEST_F(BadgesTest, ThePanelScrollsButNeverAboveItsStart) {
    c_MyApp* app = App();
    app->badgesOpen = 1;
    PressKey(kDown);
    RunFrames(10);
    ReleaseKey(kDown);
    EXPECT_FLOAT_EQ(app->badgeScrollTarget, 0);
    EXPECT_EQ(app->badgeScroll, 0);
    PressKey(kUp);
    RunFrames(4);
    ReleaseKey(kUp);
    EXPECT_FLOAT_EQ(app->badgeScrollTarget, -64);
    EXPECT_LT(app->badgeScroll, 0);
    EXPECT_GT(app->badgeScroll, -64);
    RunFrames(40);
    EXPECT_EQ(app->badgeScroll, -64);  // eased in and snapped
    // Dragging upwards pulls the panel back, but not past its start.
    PressPointer(320, 300);
    RunFrames(1);
    MovePointer(320, 100);
    RunFrames(1);
    ReleasePointer();
    EXPECT_EQ(app->badgeDrag, -200);
    EXPECT_FLOAT_EQ(app->badgeScrollTarget, 0);
    // The panel: an orange frame around a dark red sheet.
    RunFrames(1);
    std::vector<DrawCommand> rects = Game().Commands(kRect);
    bool frame = false, sheet = false;
    for (const DrawCommand& r : rects) {
        frame = frame || (r.red == 255 && r.green == 125 && r.x == 64 && r.a == 512);
        sheet = sheet || (r.red == 100 && r.green == 0 && r.x == 0.12f * 640);
    }
    EXPECT_TRUE(frame);
    EXPECT_TRUE(sheet);
    EXPECT_EQ(app->badgeSelected, -1);
}

}  // namespace
