// Asset loading: the resolution level chosen from the window size, the file
// names, the slot tables, the 18-step sequence, restarts, missing files, the
// loading backdrop and the start gate.
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "game/game_globals.h"
#include "graphics/image.h"
#include "tests/game/game_fixture.h"

namespace {

class LoadingTest : public GameTest {
protected:
    // Resizes the window and lets the game notice it and reload everything.
    void ReloadAt(int width, int height) {
        Game().ResizeWindow(width, height);
        Game().Host()->ClearRecords();
        RunFrames(1);
        Game().FinishLoading();
    }
};

struct ImageSlot {
    int index;
    const char* file;
    int width, height, frames;
};

const ImageSlot kImages[] = {
    {kImageWorldTiles, "world001", 32, 32, 50},
    {kImageEyes, "eyes", 32, 32, 1},
    {kImageHeart, "heart", 32, 32, 1},
    {kImageBadges, "BadgesA", 64, 64, 64},
    {kImageTestCard, "common/Testcard_Circle", 256, 256, 1},
    {kImageArcadeStick, "common/icade", 64, 64, 2},
    {kImageMakerEmblem, "common/TIRNLogo", 256, 256, 1},
    {kImageDirectionPad, "common/dpad", 32, 32, 16},
    {kImageModeButtons, "common/Buttons", 64, 64, 16},
    {kImageParts, "parts", 8, 8, 16},
    {kImageIcons, "common/icons", 32, 32, 16},
    {kImageLogo, "logo", 256, 128, 1},
    {kImageMenu, "menu", 256, 256, 4},
};

TEST_F(LoadingTest, StandardWindowLoadsLevelTwo) {
    c_MyApp* app = App();
    EXPECT_EQ(app->hdLevel, 2);
    EXPECT_EQ(app->hdScale, 0.5f);
    for (const ImageSlot& slot : kImages) {
        SCOPED_TRACE(slot.file);
        c_Image* image = app->images[slot.index];
        ASSERT_TRUE(image);
        EXPECT_EQ(app->imageInfo[3 * slot.index], 2 * slot.width);
        EXPECT_EQ(app->imageInfo[3 * slot.index + 1], 2 * slot.height);
        EXPECT_EQ(app->imageInfo[3 * slot.index + 2], slot.frames);
        EXPECT_EQ(image->width, 2 * slot.width);
        EXPECT_EQ(image->height, 2 * slot.height);
        EXPECT_EQ(image->frames.Length(), slot.frames);
        EXPECT_EQ(image->tx, slot.width);  // handle at the centre
    }
    // The font: advance and line height in logical pixels, 128 cells.
    EXPECT_EQ(app->fontImage, kImageFont);
    EXPECT_EQ(app->imageInfo[3 * kImageFont], 7);
    EXPECT_EQ(app->imageInfo[3 * kImageFont + 1], 10);
    EXPECT_EQ(app->imageInfo[3 * kImageFont + 2], 128);
    ASSERT_TRUE(app->images[kImageFont]);
    EXPECT_EQ(app->images[kImageFont]->width, 32);
    EXPECT_EQ(app->images[kImageFont]->frames.Length(), 128);
    for (int sound : {kSoundCoin, kSoundHit, kSoundTick, kSoundClick, kSoundFlourish})
        EXPECT_TRUE(app->sounds[sound]) << "sound " << sound;
    EXPECT_FALSE(app->images[85]);  // the word-list image is not loaded here
}

TEST_F(LoadingTest, FileNamesFollowTheWindowSize) {
    c_MyApp* app = App();
    RecordingHost* host = Game().Host();
    struct Case {
        int width, height, level;
        const char* menu;
    };
    const Case cases[] = {
        {630, 630, 1, "data/menu.png"},
        {640, 480, 2, "data/menu-hd.png"},
        {600, 631, 2, "data/menu-hd.png"},
        {1231, 600, 4, "data/menu-hd2.png"},
        {640, 1231, 4, "data/menu-hd2.png"},
        {1230, 1230, 2, "data/menu-hd.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        ReloadAt(c.width, c.height);
        EXPECT_EQ(app->hdLevel, c.level);
        EXPECT_EQ(host->toldResolutionLevel, c.level);
        EXPECT_EQ(app->hdScale, 1.0f / c.level);
        EXPECT_TRUE(host->OpenedImage(c.menu));
        EXPECT_EQ(app->imageInfo[3 * kImageMenu], 256 * c.level);
        ASSERT_TRUE(app->images[kImageMenu]);
        EXPECT_EQ(app->images[kImageMenu]->width, 256 * c.level);
        // Every image of the level, and no other level.
        for (const std::string& path : host->imagePaths) {
            bool hd = path.find("-hd.png") != std::string::npos;
            bool hd2 = path.find("-hd2.png") != std::string::npos;
            EXPECT_EQ(hd, c.level == 2) << path;
            EXPECT_EQ(hd2, c.level == 4) << path;
        }
    }
}

TEST_F(LoadingTest, StepsRunInOrderAndEndAfterEighteen) {
    musicEnabled = 0;  // only the game's own files: no title song loading beside them
    c_MyApp* app = App();
    RecordingHost* host = Game().Host();
    app->PrepareLoading();
    EXPECT_EQ(app->loadStep, 1);
    EXPECT_EQ(app->clearRed, 0);
    EXPECT_EQ(app->clearAlpha, 1);
    ASSERT_EQ(host->imagePaths.size(), 2u);  // the logo and the font, at once
    EXPECT_TRUE(host->OpenedImage("common/TIRNLogo-hd.png"));
    EXPECT_TRUE(host->OpenedImage("fonts/editundo-hd.png"));
    host->ClearRecords();

    std::vector<int> steps;
    for (int i = 0; i < 22; ++i) {
        RunFrames(1);
        steps.push_back(app->loadStep);
    }
    std::vector<int> expected;
    for (int step = 2; step <= 19; ++step) expected.push_back(step);
    expected.insert(expected.end(), 4, 0);
    EXPECT_EQ(steps, expected);

    const char* images[] = {"common/icons",  "common/Buttons", "common/dpad", "common/icade",
                            "common/TIRNLogo", "common/Testcard_Circle", "fonts/editundo", "menu",
                            "logo", "parts", "BadgesA", "heart", "world001", "eyes"};
    ASSERT_EQ(host->imagePaths.size(), std::size(images));
    for (size_t i = 0; i < std::size(images); ++i) {
        EXPECT_EQ(host->imagePaths[i], std::string("vellum://data/") + images[i] + "-hd.png");
    }
    const char* sounds[] = {"sfx/001.wav", "sfx/095.wav", "sfx/098.wav", "sfx/099.wav", "sfx/002.wav"};
    ASSERT_EQ(host->soundPaths.size(), std::size(sounds));
    for (size_t i = 0; i < std::size(sounds); ++i) {
        EXPECT_EQ(host->soundPaths[i], std::string("vellum://data/") + sounds[i]);
    }
}

TEST_F(LoadingTest, EveryStepShowsTheLoadingBackdrop) {
    c_MyApp* app = App();
    app->screen = kScreenScoreEntry;  // a screen that would change state if it ran
    app->PrepareLoading();
    for (int i = 0; i < 18; ++i) {
        RunFrames(1);
        EXPECT_EQ(app->screen, kScreenScoreEntry);
        ASSERT_EQ(Game().Commands(kImageMakerEmblem).size(), 1u);
        EXPECT_EQ(Game().Commands(kEllipse).size(), 23u);  // two rings of 11 and the sun
        EXPECT_EQ(app->clearRed, 40);
        EXPECT_EQ(app->clearBlue, 80);
    }
    RunFrames(1);  // step 19 ends loading; the screen still waits
    EXPECT_EQ(app->loadStep, 0);
    EXPECT_EQ(app->screen, kScreenScoreEntry);
    RunFrames(1);
    EXPECT_EQ(app->screen, kScreenTitle);  // the score entry ran and handed over to the title
}

TEST_F(LoadingTest, BackdropRingsTurnHalfATurnApart) {
    c_MyApp* app = App();
    app->backdropPhase = 0;
    app->DrawBackdrop(1);
    EXPECT_EQ(app->backdropPhase, 16);
    auto ellipses = Game().Commands(kEllipse);
    ASSERT_EQ(ellipses.size(), 23u);
    float cx = 320, cy = 240, ring = 480 / 4.0f;
    for (int i = 0; i <= 10; ++i) {
        const DrawCommand& light = ellipses[i];
        const DrawCommand& dark = ellipses[12 + i];
        EXPECT_EQ(light.red, 250);
        EXPECT_EQ(dark.red, 50);
        EXPECT_NEAR(light.alpha, i / 10.0f, 1e-6);
        EXPECT_NEAR(dark.alpha, i / 10.0f, 1e-6);
        EXPECT_EQ(light.a, 8);
        // On the circle, mirrored through the centre.
        EXPECT_NEAR(std::hypot(dark.x - cx, dark.y - cy), ring, 1e-3);
        EXPECT_NEAR(light.x - cx, -(dark.x - cx), 1e-3);
        EXPECT_NEAR(light.y - cy, -(dark.y - cy), 1e-3);
    }
    // Angle 0 points up and angles turn clockwise: the dark ring's first dot
    // at 16 degrees lies just right of the top.
    EXPECT_NEAR(ellipses[12].x, cx + ring * std::sin(16 * 0.017453292f), 1e-3);
    EXPECT_NEAR(ellipses[12].y, cy - ring * std::cos(16 * 0.017453292f), 1e-3);
    // The sun and the band between the rings.
    EXPECT_EQ(ellipses[11].a, 0.3f * 480);
    auto band = Game().Commands(kRect);
    ASSERT_EQ(band.size(), 1u);
    EXPECT_EQ(band[0].y, 0.4f * 480);
    EXPECT_EQ(band[0].a, 640);
    EXPECT_EQ(band[0].b, 0.2f * 480);
}

TEST_F(LoadingTest, StartGateWaitsForAPressInItsMiddle) {
    c_MyApp* app = App();
    app->screen = kScreenStartGate;
    Game().Host()->SetUpdateRate(5);
    RunFrames(1);
    auto glyphs = Game().Commands(kImageFont);
    EXPECT_EQ(glyphs.size(), 12u);  // " Click to Start" without its spaces
    EXPECT_EQ(Game().Commands(kEllipse).size(), 4u);  // sun and three shadows, no rings
    EXPECT_EQ(app->loadStep, 0);

    auto press = [&](float x, float y) {
        PressPointer(x, y);
        RunFrames(1);
        ReleasePointer();
    };
    press(100, 240);  // left quarter
    press(320, 400);  // bottom quarter
    press(160, 240);  // on the edge itself
    EXPECT_EQ(app->screen, kScreenStartGate);
    EXPECT_EQ(app->loadStep, 0);

    press(320, 240);
    EXPECT_EQ(app->screen, kScreenTitle);
    EXPECT_EQ(app->touchLatch, 1);
    EXPECT_EQ(app->loadStep, 2);  // restarted, and step 1 ran in the same update
    EXPECT_EQ(Game().Host()->UpdateRate(), 60);
}

TEST_F(LoadingTest, ResizingRestartsLoadingAndTheScreenStays) {
    c_MyApp* app = App();
    app->NewGame();
    app->screen = kScreenPlay;
    RunFrames(2);
    Game().ResizeWindow(1280, 960);
    Game().Host()->ClearRecords();
    RunFrames(1);
    EXPECT_EQ(app->loadStep, 1);
    EXPECT_EQ(app->screen, kScreenPlay);
    RunFrames(1);
    EXPECT_EQ(app->loadStep, 2);
    // While loading, the play screen does not run: only the backdrop shows.
    EXPECT_EQ(Game().Commands(kImageMakerEmblem).size(), 1u);
    EXPECT_EQ(Game().Commands(kImageIcons).size(), 0u);
    Game().FinishLoading();
    EXPECT_EQ(app->hdLevel, 4);
    EXPECT_TRUE(Game().Host()->OpenedImage("menu-hd2.png"));
    EXPECT_EQ(app->lastDeviceWidth, 1280);
    RunFrames(1);
    EXPECT_EQ(app->screen, kScreenPlay);
    EXPECT_GE(Game().Commands(kImageIcons).size(), 1u);  // the pause icon: play goes on
}

// Only opened paths of one level: "-hd.png" for 2, "-hd2.png" for 4, neither for 1.
bool OnlyLevel(const std::vector<std::string>& paths, int level) {
    for (const std::string& path : paths) {
        int opened = path.ends_with("-hd2.png") ? 4 : path.ends_with("-hd.png") ? 2 : 1;
        if (opened != level) return false;
    }
    return !paths.empty();
}

TEST_F(LoadingTest, AnAbsentLevelIsFetchedAndTheGameSwitchesOnceItArrives) {
    c_MyApp* app = App();
    RecordingHost* host = Game().Host();
    app->NewGame();
    app->screen = kScreenPlay;
    host->absentLevels = {4};
    ReloadAt(1280, 960);
    // The level in use stays; none of the absent level's files is opened.
    EXPECT_EQ(app->hdLevel, 2);
    EXPECT_EQ(app->hdScale, 0.5f);
    EXPECT_TRUE(OnlyLevel(host->imagePaths, 2));
    ASSERT_FALSE(host->fetchedLevels.empty());
    for (int level : host->fetchedLevels) EXPECT_EQ(level, 4);
    host->ClearRecords();
    RunFrames(5);
    EXPECT_EQ(app->loadStep, 0);
    EXPECT_TRUE(host->imagePaths.empty());
    EXPECT_EQ(app->screen, kScreenPlay);

    // It arrives: everything loads again in it, and play goes on.
    host->absentLevels.clear();
    RunFrames(1);
    EXPECT_EQ(app->loadStep, 2);
    Game().FinishLoading();
    EXPECT_EQ(app->hdLevel, 4);
    EXPECT_EQ(app->hdScale, 0.25f);
    EXPECT_TRUE(OnlyLevel(host->imagePaths, 4));
    EXPECT_EQ(app->awaitedLevel, 0);
    host->ClearRecords();
    RunFrames(3);
    EXPECT_EQ(app->loadStep, 0);  // no further reload
    EXPECT_EQ(app->screen, kScreenPlay);
}

TEST_F(LoadingTest, AnAbsentLevelGivesWayToAPresentOneAndOnlyALowerOneIsFetched) {
    c_MyApp* app = App();
    RecordingHost* host = Game().Host();
    struct Case {
        int width, height;
        std::set<int> absent;
        int level;
        bool fetched;
    };
    const Case cases[] = {
        {640, 480, {2}, 4, false},    // a higher level is as sharp: nothing to fetch
        {1231, 700, {4}, 2, true},    // a lower one only until the wanted one is here
        {1231, 700, {4, 2}, 1, true},
        {600, 500, {1, 2}, 4, false},
        {640, 480, {1, 2, 4}, 2, true},  // nothing present: the wanted level, whose files fail
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << ", absent " << c.absent.size());
        Game().ResizeWindow(c.width, c.height);
        RunFrames(1);
        host->absentLevels = c.absent;
        host->fetchedLevels.clear();
        host->ClearRecords();
        app->PrepareLoading();
        EXPECT_EQ(app->hdLevel, c.level);
        EXPECT_TRUE(OnlyLevel(host->imagePaths, c.level));
        EXPECT_EQ(!host->fetchedLevels.empty(), c.fetched);
    }
}

TEST_F(LoadingTest, SoundEffectFileNames) {
    c_MyApp* app = App();
    RecordingHost* host = Game().Host();
    app->LoadSfx(5);
    app->LoadSfx(99);
    app->LoadSfx(100);  // no slot: the file is still asked for, nothing is stored
    app->LoadSfx(1);
    ASSERT_EQ(host->soundPaths.size(), 4u);
    EXPECT_EQ(host->soundPaths[0], "vellum://data/sfx/005.wav");
    EXPECT_EQ(host->soundPaths[1], "vellum://data/sfx/099.wav");
    EXPECT_EQ(host->soundPaths[2], "vellum://data/sfx/100.wav");
    EXPECT_FALSE(app->sounds[5]);  // no such file
    EXPECT_TRUE(app->sounds[99]);
    EXPECT_TRUE(app->sounds[1]);
}

TEST_F(LoadingTest, UnscaledImagesIgnoreTheLevel) {
    c_MyApp* app = App();
    app->LoadImageUnscaled(50, String("heart"), 32, 32, 1, 1);
    EXPECT_TRUE(Game().Host()->OpenedImage("data/heart.png"));
    ASSERT_TRUE(app->images[50]);
    EXPECT_EQ(app->images[50]->width, 32);
    EXPECT_EQ(app->imageInfo[150], 32);
    EXPECT_EQ(app->imageInfo[152], 1);
}

TEST_F(LoadingTest, MissingAssetsLeaveEmptySlotsAndTheGameRunsOn) {
    c_MyApp* app = App();
    RecordingHost* host = Game().Host();
    host->missing = {"heart", "sfx/002", "fonts/editundo"};
    app->PrepareLoading();
    Game().FinishLoading();
    EXPECT_FALSE(app->images[kImageHeart]);
    EXPECT_FALSE(app->sounds[kSoundHit]);
    EXPECT_FALSE(app->images[kImageFont]);
    EXPECT_EQ(app->imageInfo[3 * kImageHeart], 64);  // sizes are recorded all the same
    EXPECT_TRUE(app->images[kImageWorldTiles]);
    EXPECT_TRUE(app->images[kImageEyes]);
    EXPECT_TRUE(app->sounds[kSoundCoin]);

    // Play, pause, text and the missing sound: nothing breaks.
    app->NewGame();
    app->screen = kScreenPlay;
    app->settings[kSettingSoundMode] = 1;
    app->PlaySfx(kSoundHit, 1, 1, 0);
    app->QueueImage(kImageHeart, 100, 100, 0);
    app->QueueText(100, 100, String("Text without a font"), 1, 1);
    RunFrames(5);
    Game().PressKey(27);
    RunFrames(5);
    Game().ReleaseKey(27);
    RunFrames(5);
    EXPECT_EQ(app->paused, 1);
    host->missing.clear();
}

TEST_F(LoadingTest, EveryImageLoadEmptiesItsSlotFirst) {
    c_MyApp* app = App();
    ASSERT_TRUE(app->images[kImageMenu]);
    Game().Host()->missing = {"menu"};
    app->LoadScaledImage(99, String("menu"), 256, 256, 4, 1);
    EXPECT_FALSE(app->images[kImageMenu]);  // the old image is not kept
    Game().Host()->missing.clear();
}

}  // namespace
