// Key translation and the window events the host turns into host events.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "host/key_translation.h"
#include "tests/host/fake_host.h"

namespace {

using Calls = std::vector<std::string>;

TEST(KeyTranslation, TableGivesTheVirtualKeyCodes) {
    const std::map<int, int> expected = {
        {GLFW_KEY_SPACE, 32},        {GLFW_KEY_APOSTROPHE, 222},   {GLFW_KEY_COMMA, 188},
        {GLFW_KEY_MINUS, 189},       {GLFW_KEY_PERIOD, 190},       {GLFW_KEY_SLASH, 191},
        {GLFW_KEY_SEMICOLON, 186},   {GLFW_KEY_EQUAL, 187},        {GLFW_KEY_LEFT_BRACKET, 219},
        {GLFW_KEY_BACKSLASH, 220},   {GLFW_KEY_RIGHT_BRACKET, 221}, {GLFW_KEY_GRAVE_ACCENT, 192},
        {GLFW_KEY_ESCAPE, 27},       {GLFW_KEY_UP, 38},            {GLFW_KEY_DOWN, 40},
        {GLFW_KEY_LEFT, 37},         {GLFW_KEY_RIGHT, 39},         {GLFW_KEY_TAB, 9},
        {GLFW_KEY_ENTER, 13},        {GLFW_KEY_BACKSPACE, 8},      {GLFW_KEY_INSERT, 45},
        {GLFW_KEY_DELETE, 46},       {GLFW_KEY_PAGE_UP, 33},       {GLFW_KEY_PAGE_DOWN, 34},
        {GLFW_KEY_HOME, 36},         {GLFW_KEY_END, 35},           {GLFW_KEY_LEFT_SHIFT, 16},
        {GLFW_KEY_RIGHT_SHIFT, 16},  {GLFW_KEY_LEFT_CONTROL, 17},  {GLFW_KEY_RIGHT_CONTROL, 17},
    };
    for (const auto& [key, code] : expected) EXPECT_EQ(TranslateKey(key), code) << "GLFW key " << key;
    for (int i = 0; i < 10; ++i) EXPECT_EQ(TranslateKey(GLFW_KEY_0 + i), '0' + i);
    for (int i = 0; i < 26; ++i) EXPECT_EQ(TranslateKey(GLFW_KEY_A + i), 'A' + i);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(TranslateKey(GLFW_KEY_F1 + i), 112 + i);
}

TEST(KeyTranslation, TableAndLookupAgreeAndCodesStayInTheKeyRange) {
    std::set<int> keys;
    for (const KeyTranslation& t : KeyTranslationTable()) {
        EXPECT_TRUE(keys.insert(t.glfwKey).second) << "duplicate GLFW key " << t.glfwKey;
        EXPECT_EQ(TranslateKey(t.glfwKey), t.code);
        EXPECT_GE(t.code, 8);
        EXPECT_LE(t.code, 255);
    }
    EXPECT_EQ(keys.size(), 78u);
}

TEST(KeyTranslation, UnlistedKeysAreIgnored) {
    for (int key : {GLFW_KEY_LEFT_ALT, GLFW_KEY_RIGHT_ALT, GLFW_KEY_LEFT_SUPER, GLFW_KEY_MENU, GLFW_KEY_F13,
                    GLFW_KEY_F25, GLFW_KEY_KP_0, GLFW_KEY_KP_ENTER, GLFW_KEY_CAPS_LOCK, GLFW_KEY_NUM_LOCK,
                    GLFW_KEY_SCROLL_LOCK, GLFW_KEY_PRINT_SCREEN, GLFW_KEY_PAUSE, GLFW_KEY_WORLD_1,
                    GLFW_KEY_UNKNOWN, -100, GLFW_KEY_LAST + 1, 100000})
        EXPECT_EQ(TranslateKey(key), 0) << "GLFW key " << key;
}

TEST(KeyTranslation, EditingKeysSendTheirCharacterEvent) {
    EXPECT_EQ(EditingKeyChar(8), 8);
    EXPECT_EQ(EditingKeyChar(9), 9);
    EXPECT_EQ(EditingKeyChar(13), 13);
    EXPECT_EQ(EditingKeyChar(27), 27);
    EXPECT_EQ(EditingKeyChar(46), 127);
    for (int code = 33; code <= 40; ++code) EXPECT_EQ(EditingKeyChar(code), code + 0x10000);
    EXPECT_EQ(EditingKeyChar(45), 45 + 0x10000);
    for (int code : {16, 17, 32, 41, 44, 47, 65, 112, 186, 222}) EXPECT_EQ(EditingKeyChar(code), 0) << code;
}

TEST(KeyTranslation, OnlyPrintableCharactersPass) {
    EXPECT_TRUE(IsPrintableChar(32));
    EXPECT_TRUE(IsPrintableChar(126));
    EXPECT_TRUE(IsPrintableChar(160));
    EXPECT_TRUE(IsPrintableChar(0x1F600));
    for (unsigned c : {0u, 8u, 13u, 27u, 31u, 127u, 128u, 159u}) EXPECT_FALSE(IsPrintableChar(c)) << c;
}

struct WindowEventTest : ::testing::Test {
    FakeHost host;
    HxGlfwGame& game = *host.game;
    RecordingDelegate& delegate = *host.delegate;
    void SetUp() override { game.StartGame(); }
    Calls Events() const { return Calls(delegate.calls.begin() + 1, delegate.calls.end()); }
};

TEST_F(WindowEventTest, LetterPressCharacterAndRelease) {
    game.OnKey(GLFW_KEY_A, true);
    game.OnChar('a');
    game.OnKey(GLFW_KEY_A, false);
    EXPECT_EQ(Events(), (Calls{"KeyEvent(1,65)", "KeyEvent(3,97)", "KeyEvent(2,65)"}));
}

TEST_F(WindowEventTest, RepeatedKeyCountsAsAnotherPress) {
    game.OnKey(GLFW_KEY_SPACE, true);
    game.OnKey(GLFW_KEY_SPACE, true);  // GLFW_REPEAT
    EXPECT_EQ(Events(), (Calls{"KeyEvent(1,32)", "KeyEvent(1,32)"}));
}

TEST_F(WindowEventTest, EditingKeysFollowTheirKeyDownWithACharacter) {
    game.OnKey(GLFW_KEY_DELETE, true);
    game.OnKey(GLFW_KEY_LEFT, true);
    game.OnKey(GLFW_KEY_BACKSPACE, true);
    game.OnKey(GLFW_KEY_LEFT, false);
    EXPECT_EQ(Events(), (Calls{"KeyEvent(1,46)", "KeyEvent(3,127)", "KeyEvent(1,37)", "KeyEvent(3,65573)",
                               "KeyEvent(1,8)", "KeyEvent(3,8)", "KeyEvent(2,37)"}));
}

TEST_F(WindowEventTest, ShiftAndControlFoldAndAltIsIgnored) {
    game.OnKey(GLFW_KEY_RIGHT_SHIFT, true);
    game.OnKey(GLFW_KEY_LEFT_SHIFT, false);
    game.OnKey(GLFW_KEY_RIGHT_CONTROL, true);
    game.OnKey(GLFW_KEY_LEFT_ALT, true);
    game.OnKey(GLFW_KEY_LEFT_ALT, false);
    game.OnKey(GLFW_KEY_KP_5, true);
    EXPECT_EQ(Events(), (Calls{"KeyEvent(1,16)", "KeyEvent(2,16)", "KeyEvent(1,17)"}));
}

TEST_F(WindowEventTest, ControlCharactersFromTheCharacterCallbackAreDropped) {
    game.OnChar(13);
    game.OnChar(127);
    game.OnChar(0xE9);
    EXPECT_EQ(Events(), (Calls{"KeyEvent(3,233)"}));
}

TEST_F(WindowEventTest, MouseButtonsMoveAndOtherButtons) {
    game.OnMouseButton(0, true, 10, 20);
    game.OnMouseButton(2, false, 11, 21);
    game.OnMouseButton(1, true, 12, 22);
    game.OnMouseButton(3, true, 13, 23);
    game.OnMouseButton(7, false, 13, 23);
    game.OnMouseMove(300, 400);
    EXPECT_EQ(Events(), (Calls{"MouseEvent(4,0,10,20)", "MouseEvent(5,2,11,21)", "MouseEvent(4,1,12,22)",
                               "MouseEvent(6,-1,300,400)"}));
}

TEST_F(WindowEventTest, CloseButtonIsTheCloseKeyDownAndUp) {
    game.OnCloseRequest();
    EXPECT_EQ(Events(), (Calls{"KeyEvent(1,432)", "KeyEvent(2,432)"}));
}

TEST(WindowEventsBeforeStart, AreDropped) {
    FakeHost host;
    host.game->OnKey(GLFW_KEY_A, true);
    host.game->OnMouseMove(1, 1);
    host.game->OnCloseRequest();
    EXPECT_TRUE(host.delegate->calls.empty());
}

}  // namespace
