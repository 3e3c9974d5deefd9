// The display list, its drawing state, bitmap text, the touch buttons,
// sound effects on rotating channels.
#include <AL/al.h>

#include <cmath>

#include "audio/audio.h"
#include "game/game_globals.h"
#include "tests/game/game_fixture.h"

namespace {

class DrawQueueTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        App()->screen = 0;  // no screen runs: updates only sample input
        App()->BeginFrame(-3717, 0, 0, 0);
    }
};

TEST_F(DrawQueueTest, ImageCommandCarriesTheDrawStateAndDefaults) {
    c_MyApp* app = App();
    app->QueueImage(97, 10, 20, 3);
    app->SetDrawScale(2, 3);
    app->SetDrawRotation(30);
    app->SetDrawColor(10, 20, 30, 0.5f);
    app->QueueImage(5, -4, 8, 0);

    auto list = Game().Commands();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(app->drawCount, 30);
    const DrawCommand& first = list[0];
    EXPECT_TRUE(first.IsImage(97));
    EXPECT_EQ(first.x, 10);
    EXPECT_EQ(first.y, 20);
    EXPECT_EQ(first.frame, 3);
    // Defaults: scale 1, no rotation, white, opaque, blend code 1.
    EXPECT_EQ(first.a, 1);
    EXPECT_EQ(first.b, 1);
    EXPECT_EQ(first.rotation, 0);
    EXPECT_EQ(first.alpha, 1);
    EXPECT_EQ(first.red, 255);
    EXPECT_EQ(first.green, 255);
    EXPECT_EQ(first.blue, 255);
    EXPECT_EQ(first.blend, 1);

    const DrawCommand& second = list[1];
    EXPECT_EQ(second.a, 2);
    EXPECT_EQ(second.b, 3);
    EXPECT_EQ(second.rotation, -30);  // stored negated
    EXPECT_EQ(second.alpha, 0.5f);
    EXPECT_EQ(second.red, 10);
    EXPECT_EQ(second.green, 20);
    EXPECT_EQ(second.blue, 30);
}

TEST_F(DrawQueueTest, ShapeCommandsStoreKindAndSize) {
    c_MyApp* app = App();
    app->SetDrawColor(1, 2, 3, 0.25f);
    app->QueueRect(5, 6, 70, 80);
    app->QueueEllipse(50, 60, 7, 8);
    auto list = Game().Commands();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].kind, kRect);
    EXPECT_EQ(list[0].x, 5);
    EXPECT_EQ(list[0].y, 6);
    EXPECT_EQ(list[0].a, 70);
    EXPECT_EQ(list[0].b, 80);
    EXPECT_EQ(list[0].frame, 0);
    EXPECT_EQ(list[0].alpha, 0.25f);
    EXPECT_EQ(list[0].blue, 3);
    EXPECT_EQ(list[1].kind, kEllipse);
    EXPECT_EQ(list[1].a, 7);
    EXPECT_EQ(list[1].b, 8);
}

TEST_F(DrawQueueTest, AbsentArgumentsKeepOrCopyValues) {
    c_MyApp* app = App();
    app->SetDrawScale(2, -3717);
    EXPECT_EQ(app->drawScaleX, 2);
    EXPECT_EQ(app->drawScaleY, 2);
    app->SetDrawScale(3, -5000);  // anything not above -3717 is absent
    EXPECT_EQ(app->drawScaleY, 3);

    app->SetDrawAlpha(0.3f);
    app->SetDrawColor(0, 0, 0, -3717);
    EXPECT_EQ(app->drawAlpha, 0.3f);
    EXPECT_EQ(app->drawRed, 0);
    app->SetDrawColor(9, 9, 9, 0.7f);
    EXPECT_EQ(app->drawAlpha, 0.7f);
}

TEST_F(DrawQueueTest, BeginFrameEmptiesTheListAndResetsTheState) {
    c_MyApp* app = App();
    app->BeginFrame(1, 2, 3, 0.5f);
    EXPECT_EQ(app->clearRed, 1);
    EXPECT_EQ(app->clearBlue, 3);
    EXPECT_EQ(app->clearAlpha, 0.5f);

    app->SetDrawColor(1, 1, 1, 0.1f);
    app->SetDrawScale(4, 4);
    app->SetDrawRotation(45);
    app->QueueRect(0, 0, 1, 1);
    app->BeginFrame(-3717, 0, 0, 0);
    EXPECT_EQ(app->drawCount, 0);
    EXPECT_EQ(app->clearRed, 1);  // background kept
    EXPECT_EQ(app->clearAlpha, 0.5f);
    EXPECT_EQ(app->drawScaleX, 1);
    EXPECT_EQ(app->drawRotation, 0);
    EXPECT_EQ(app->drawAlpha, 1);
    EXPECT_EQ(app->drawRed, 255);
    EXPECT_EQ(app->drawBlend, 1);
}

TEST_F(DrawQueueTest, ListHoldsExactly2500Commands) {
    c_MyApp* app = App();
    for (int i = 0; i < 2501; ++i) app->QueueRect(static_cast<float>(i), 0, 1, 1);
    EXPECT_EQ(app->drawCount, 2500 * 15);
    auto list = Game().Commands();
    ASSERT_EQ(list.size(), 2500u);
    EXPECT_EQ(list.back().x, 2499);  // the 2,501st was dropped, not the 2,500th
    app->QueueText(0, 0, String("ABC"), 0, 0);
    EXPECT_EQ(app->drawCount, 2500 * 15);
}

TEST_F(DrawQueueTest, CentredTextPutsGlyphCentresAroundX) {
    c_MyApp* app = App();
    ASSERT_EQ(app->fontImage, 90);
    float adv = static_cast<float>(app->imageInfo[3 * 90]);
    float lh = static_cast<float>(app->imageInfo[3 * 90 + 1]);
    ASSERT_EQ(adv, 7);
    ASSERT_EQ(lh, 10);

    app->QueueText(100, 50, String("AB"), 1, 1);
    auto list = Game().Commands();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_TRUE(list[0].IsImage(90));
    EXPECT_EQ(list[0].frame, 'A' - 32);
    EXPECT_EQ(list[1].frame, 'B' - 32);
    EXPECT_NEAR(list[0].x, 100 - adv / 2, 1e-4);
    EXPECT_NEAR(list[1].x, 100 + adv / 2, 1e-4);
    EXPECT_NEAR(list[0].y, 50, 1e-4);
    EXPECT_NEAR(list[1].y, 50, 1e-4);
}

TEST_F(DrawQueueTest, TextAlignmentAndScale) {
    c_MyApp* app = App();
    app->SetDrawScale(2, -3717);
    app->QueueText(100, 50, String("ABC"), 0, 0);  // first glyph at x, half a line lower
    app->QueueText(100, 50, String("ABC"), 2, 2);  // last glyph at x, half a line higher
    auto list = Game().Commands();
    ASSERT_EQ(list.size(), 6u);
    EXPECT_NEAR(list[0].x, 100, 1e-3);
    EXPECT_NEAR(list[2].x, 128, 1e-3);
    EXPECT_NEAR(list[0].y, 60, 1e-3);
    EXPECT_NEAR(list[5].x, 100, 1e-3);
    EXPECT_NEAR(list[3].x, 72, 1e-3);
    EXPECT_NEAR(list[3].y, 40, 1e-3);
    EXPECT_EQ(list[0].a, 2);  // glyphs carry the scale
}

TEST_F(DrawQueueTest, BackslashNStartsANewLineAtTheStartX) {
    c_MyApp* app = App();
    // The escape counts in the alignment: n = 5 characters.
    app->QueueText(100, 50, String("A\\nBC"), 0, 1);
    auto list = Game().Commands();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].frame, 'A' - 32);
    EXPECT_EQ(list[1].frame, 'B' - 32);
    EXPECT_NEAR(list[0].x, 100, 1e-3);
    EXPECT_NEAR(list[0].y, 50, 1e-3);
    EXPECT_NEAR(list[1].x, 100, 1e-3);
    EXPECT_NEAR(list[1].y, 60, 1e-3);
    EXPECT_NEAR(list[2].x, 107, 1e-3);
    EXPECT_NEAR(list[2].y, 60, 1e-3);
}

TEST_F(DrawQueueTest, TextSkipsSpacesAndEndsSafelyOnABackslash) {
    c_MyApp* app = App();
    app->QueueText(0, 0, String("A B\\"), 0, 1);
    auto list = Game().Commands();
    // "A", "B" and the lone backslash (code 92) are glyphs; the space is not.
    ASSERT_EQ(list.size(), 3u);
    EXPECT_NEAR(list[1].x, 14, 1e-3);
    EXPECT_EQ(list[2].frame, '\\' - 32);
}

TEST_F(DrawQueueTest, RotatedTextRunsDownTheScreen) {
    c_MyApp* app = App();
    app->SetDrawRotation(90);
    EXPECT_EQ(app->drawRotation, -90);
    app->QueueText(100, 50, String("AB"), 0, 1);
    auto list = Game().Commands();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_NEAR(list[1].x - list[0].x, 0, 1e-3);
    EXPECT_NEAR(list[1].y - list[0].y, 7, 1e-3);
    EXPECT_EQ(list[0].rotation, -90);
}

TEST_F(DrawQueueTest, ImageButtonHitsOnlyWhilePressedInside) {
    c_MyApp* app = App();
    // Icons at level 2: 64 texture pixels, 32 virtual; at scale 2, 64 virtual.
    app->SetDrawScale(2, -3717);
    EXPECT_EQ(app->ImageButton(97, 100, 100, 0), 0);

    PressPointer(130, 100);
    RunUpdates(1);
    app->BeginFrame(-3717, 0, 0, 0);
    app->SetDrawScale(2, -3717);
    EXPECT_EQ(app->ImageButton(97, 100, 100, 0), 1);
    EXPECT_EQ(app->buttonHit, 1);
    EXPECT_EQ(app->ImageButton(97, 100, 160, 0), 0);  // 60 below: outside
    EXPECT_EQ(app->buttonHit, 0);
    app->SetDrawScale(1, -3717);
    EXPECT_EQ(app->ImageButton(97, 100, 100, 0), 0);  // 30 right of a 16-wide half

    // PointerImageButton reports without touching buttonHit.
    app->SetDrawScale(2, -3717);
    app->buttonHit = 7;
    EXPECT_EQ(app->PointerImageButton(97, 100, 100, 0), 1);
    EXPECT_EQ(app->buttonHit, 7);
    EXPECT_EQ(Game().Commands(kImageIcons).size(), 4u);  // every button queues its image

    ReleasePointer();
    RunUpdates(1);
    EXPECT_EQ(app->ImageButton(97, 100, 100, 0), 0);
}

TEST_F(DrawQueueTest, RectButtonTestsActiveTouchPoints) {
    c_MyApp* app = App();
    PressPointer(50, 50);
    RunUpdates(1);
    app->BeginFrame(-3717, 0, 0, 0);
    EXPECT_EQ(app->RectButton(40, 40, 20, 20), 1);
    EXPECT_EQ(app->RectButton(50, 40, 20, 20), 0);  // edges do not count
    EXPECT_EQ(Game().Commands(kRect).size(), 2u);
    ReleasePointer();
    RunUpdates(1);
    EXPECT_EQ(app->RectButton(40, 40, 20, 20), 0);
}

// ---- sound effects --------------------------------------------------------

gxtkSample* ChannelSample(int channel) { return gAudioDevice->ChannelRecord(channel).sample.get(); }

float SourceFloat(int channel, ALenum parameter) {
    ALfloat value = 0;
    alGetSourcef(gAudioDevice->ChannelRecord(channel).source, parameter, &value);
    return value;
}

TEST_F(DrawQueueTest, SoundEffectsRotateOverTwentyFourChannels) {
    c_MyApp* app = App();
    ASSERT_TRUE(app->sounds[kSoundFlourish]);
    ASSERT_TRUE(app->sounds[kSoundClick]);
    app->settings[kSettingSoundMode] = 1;
    app->sfxRotor = 0;
    std::vector<int> channels;
    for (int i = 0; i < 25; ++i) {
        app->PlaySfx(i < 24 ? 99 : 98, 1.0f, 0.5f, 0);
        channels.push_back(app->channelOrder[app->sfxRotor]);
        EXPECT_EQ(ChannelSample(channels.back()), i < 24 ? app->sounds[kSoundFlourish]->sample.get()
                                                          : app->sounds[kSoundClick]->sample.get());
    }
    for (int i = 0; i < 23; ++i) EXPECT_EQ(channels[i], i + 1);
    EXPECT_EQ(channels[23], 0);
    EXPECT_EQ(channels[24], 1);  // the 25th takes over the first one's channel
    for (int channel = 24; channel <= 32; ++channel) EXPECT_EQ(ChannelSample(channel), nullptr);
}

TEST_F(DrawQueueTest, SoundEffectSetsRateVolumeAndPan) {
    c_MyApp* app = App();
    app->settings[kSettingSoundMode] = 2;  // effects only
    app->sfxRotor = 4;
    app->PlaySfx(kSoundCoin, 1.2f, 0.3f, 0);
    EXPECT_EQ(app->sfxRotor, 5);
    EXPECT_EQ(ChannelSample(5), app->sounds[kSoundCoin]->sample.get());
    if (gAudioDevice->HasOutput()) {
        EXPECT_NEAR(SourceFloat(5, AL_PITCH), 1.2f, 1e-5);
        EXPECT_NEAR(SourceFloat(5, AL_GAIN), 0.3f, 1e-5);
    }
    // A slot without a sound still takes a channel and sets it up.
    app->PlaySfx(50, 0.7f, 0.9f, 0);
    EXPECT_EQ(app->sfxRotor, 6);
    EXPECT_EQ(ChannelState(6), 0);
    if (gAudioDevice->HasOutput()) {
        EXPECT_NEAR(SourceFloat(6, AL_PITCH), 0.7f, 1e-5);
    }
}

TEST_F(DrawQueueTest, SilentSoundModesPlayNothing) {
    c_MyApp* app = App();
    for (int mode : {0, 3, -1, 7}) {
        app->settings[kSettingSoundMode] = mode;
        app->sfxRotor = 9;
        app->PlaySfx(kSoundClick, 1, 1, 0);
        EXPECT_EQ(app->sfxRotor, 9) << "mode " << mode;
    }
}

}  // namespace
