// The credits panel: its test-card grid folding in, the colour ramps of the
// ring, the scrolling lines and the read-outs.
#include <algorithm>
#include <cmath>
#include <set>

#include "game/game_globals.h"
#include "game/shell/credits_list.h"
#include "tests/game/game_fixture.h"
#include "tests/shell/queued_text.h"

namespace {

constexpr float kCell = 640.0f / 12;

class CreditsPanelTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        App()->screen = 0;  // the panel alone, called directly
    }

    std::vector<DrawCommand> PanelAt(int slide) {
        c_MyApp* app = App();
        app->creditsSlide = slide;
        app->BeginFrame(0, 0, 0, 1);
        app->CreditsPanel();
        return Game().Commands();
    }

    // Grid squares are the rectangles of full (or folded) square size.
    static std::vector<DrawCommand> Squares(const std::vector<DrawCommand>& commands, float size) {
        std::vector<DrawCommand> out;
        for (const DrawCommand& c : commands) {
            if (c.kind == kRect && std::fabs(c.a - size) < 0.01f && std::fabs(c.b - size) < 0.01f) out.push_back(c);
        }
        return out;
    }
};

TEST_F(CreditsPanelTest, A640By480ScreenGetsTwelveByNineCellsOf53) {
    std::vector<DrawCommand> commands = PanelAt(30);
    c_MyApp* app = App();
    EXPECT_EQ(app->creditsCols, 12);
    EXPECT_EQ(app->creditsRows, 9);
    EXPECT_EQ(app->creditsFold, 0);
    std::vector<DrawCommand> squares = Squares(commands, kCell);
    ASSERT_EQ(squares.size(), 13u * 10u);  // corners of the cells, both edges included
    std::set<std::pair<int, int>> centres;
    for (const DrawCommand& s : squares) {
        float i = (s.x + kCell / 2) / kCell, j = (s.y + kCell / 2) / kCell;
        EXPECT_NEAR(i, std::round(i), 1e-3);
        EXPECT_NEAR(j, std::round(j), 1e-3);
        EXPECT_FLOAT_EQ(s.alpha, 1);
        centres.insert({static_cast<int>(std::lround(i)), static_cast<int>(std::lround(j))});
    }
    EXPECT_EQ(centres.size(), 130u);
    // Ring squares are black, inner ones white with a grey inset.
    int black = 0, white = 0;
    for (const DrawCommand& s : squares) (s.red == 0 ? black : white) += 1;
    EXPECT_EQ(black, 2 * 13 + 2 * 8);
    EXPECT_EQ(white, 11 * 8);
    EXPECT_EQ(Squares(commands, kCell - 3).size(), 88u);
}

TEST_F(CreditsPanelTest, TheRingCarriesColourRamps) {
    std::vector<DrawCommand> commands = PanelAt(30);
    std::vector<DrawCommand> insets = Squares(commands, kCell * 0.7f);
    ASSERT_EQ(insets.size(), 42u);
    auto column = [](const DrawCommand& c) { return std::lround((c.x + kCell * 0.35f) / kCell); };
    auto row = [](const DrawCommand& c) { return std::lround((c.y + kCell * 0.35f) / kCell); };
    float lastRed = -1, lastGreen = 256, lastGrey = -1, lastBlue = -1;
    for (const DrawCommand& c : insets) {
        if (row(c) == 0) {  // top: red rises, green falls, left to right
            EXPECT_EQ(c.blue, 0);
            EXPECT_GE(c.red, lastRed);
            EXPECT_LE(c.green, lastGreen);
            lastRed = c.red;
            lastGreen = c.green;
        } else if (row(c) == 9) {  // bottom: a grey ramp
            EXPECT_EQ(c.red, c.green);
            EXPECT_EQ(c.green, c.blue);
            EXPECT_GE(c.red, lastGrey);
            lastGrey = c.red;
        } else if (column(c) == 0) {
            EXPECT_EQ(c.red, 0);
        } else {
            EXPECT_EQ(column(c), 12);
            EXPECT_EQ(c.green, 0);
            EXPECT_GE(c.blue, lastBlue);  // rows come top to bottom
            lastBlue = c.blue;
        }
        EXPECT_GE(c.red, 0);
        EXPECT_LE(c.red, 255);
    }
    EXPECT_EQ(lastRed, 255);
    EXPECT_EQ(lastGreen, 0);
    EXPECT_EQ(lastGrey, 255);
}

TEST_F(CreditsPanelTest, NothingIsVisibleAtSlideZero) {
    for (const DrawCommand& c : PanelAt(0)) {
        bool transparent = c.alpha <= 0;
        bool above = c.y + 140 < 0;  // glyphs and the 256-pixel circle alike
        EXPECT_TRUE(transparent || above) << "kind " << c.kind << " at " << c.x << "," << c.y;
    }
}

TEST_F(CreditsPanelTest, FoldingSpreadsAndShrinksTheSquares) {
    std::vector<DrawCommand> commands = PanelAt(10);  // fold 20, squares half size
    EXPECT_EQ(App()->creditsFold, 20);
    std::vector<DrawCommand> squares = Squares(commands, kCell / 2);
    ASSERT_EQ(squares.size(), 130u);
    // Columns 6 and 7 stand either side of the middle: pushed 20 pixels apart each.
    auto hasCentreAt = [&](float x) {
        return std::any_of(squares.begin(), squares.end(),
                           [&](const DrawCommand& s) { return std::fabs(s.x + kCell / 4 - x) < 1e-3f; });
    };
    EXPECT_TRUE(hasCentreAt(6 * kCell - 20));
    EXPECT_TRUE(hasCentreAt(7 * kCell + 20));
    EXPECT_TRUE(hasCentreAt(12 * kCell + 6 * 6 * 20));
    EXPECT_FALSE(hasCentreAt(6 * kCell));
    EXPECT_FLOAT_EQ(squares[0].alpha, 10.0f / 30);
}

TEST_F(CreditsPanelTest, LinesScrollThroughTheFirst27EntriesButNeverEnd) {
    ASSERT_EQ(creditsList.Length(), 28);
    EXPECT_EQ(creditsList[27].ToUtf8(), "End");
    std::set<std::string> expected;
    for (int i = 0; i < 27; ++i) {
        std::string line = creditsList[i].ToUtf8();
        line.erase(std::remove(line.begin(), line.end(), ' '), line.end());
        expected.insert(line);
    }
    std::set<std::string> seen;
    int firstLine = App()->creditsLine;
    for (int update = 0; update < 27 * 54 + 200; ++update) {
        PanelAt(30);
        for (const QueuedLine& l : QueuedLines()) {
            if (std::fabs(l.y - 240) < 70) seen.insert(l.text);
        }
        if (update == 53) {
            EXPECT_EQ(App()->creditsLine, firstLine + 1);  // a line every 16 / 0.3 updates
        }
    }
    for (const std::string& line : expected) EXPECT_TRUE(seen.count(line)) << line;
    EXPECT_FALSE(seen.count("End"));
}

TEST_F(CreditsPanelTest, DialsShowTheDeviceAndVirtualSizes) {
    PanelAt(30);
    std::vector<DrawCommand> dials = Game().Commands(kEllipse);
    ASSERT_EQ(dials.size(), 4u);
    EXPECT_NEAR(dials[0].x, 1.5f * kCell, 1e-3);
    EXPECT_NEAR(dials[0].y, 1.5f * kCell, 1e-3);
    EXPECT_NEAR(dials[2].x, 10.5f * kCell, 1e-3);
    EXPECT_NEAR(dials[1].a, dials[0].a - 3, 1e-3);  // the grey disc inside the white one
    std::vector<QueuedLine> lines = QueuedLines();
    int sixForty = 0, fourEighty = 0;
    for (const QueuedLine& l : lines) {
        sixForty += l.text == "640";
        fourEighty += l.text == "480";
    }
    EXPECT_EQ(sixForty, 2);  // device width, virtual width
    EXPECT_EQ(fourEighty, 2);
    std::vector<DrawCommand> logo = Game().Commands(kImageLogo);
    ASSERT_EQ(logo.size(), 1u);
    EXPECT_NEAR(logo[0].y, 8 * kCell, 1e-3);
    EXPECT_FLOAT_EQ(logo[0].a, 0.4f);
}

}  // namespace
