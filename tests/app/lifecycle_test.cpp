// The application lifecycle: what the delegate does with each host event, in
// which order, with real devices (GL under the test's X server, OpenAL on
// its null backend) and recording stand-ins where the order is the point.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/framework.h"
#include "audio/audio.h"
#include "graphics/drawing.h"
#include "graphics/graphics_globals.h"
#include "input/input.h"
#include "runtime/gc.h"
#include "tests/host/fake_host.h"
#include "tests/support/test_gl_window.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> gLog;

std::string DeviceState() {
    std::string s;
    s += graphicsDevice ? " graphics" : "";
    s += gAudioDevice ? " audio" : "";
    s += gInputDevice ? " input" : "";
    s += graphicsContext->font ? " font" : "";
    s += renderDevice ? " rendering" : "";
    return s;
}

class LifecycleApp : public c_App {
public:
    int OnCreate() override { return Log("OnCreate"); }
    int OnSuspend() override { return Log("OnSuspend"); }
    int OnResume() override { return Log("OnResume"); }
    int OnUpdate() override {
        Log("OnUpdate");
        keyHitsSeen = KeyHit(65);
        joyHitsSeen = KeyHit(256);
        return 0;
    }
    int OnLoading() override { return Log("OnLoading"); }
    int OnRender() override {
        c_GraphicsContext& c = *graphicsContext;
        bool reset = c.colorR == 255 && c.colorG == 255 && c.colorB == 255 && c.alpha == 1 && c.blend == 0;
        gLog.push_back(std::string("OnRender") + DeviceState() + (reset ? " reset" : ""));
        // Leave the context changed; the next frame must start afresh.
        SetColor(1, 2, 3);
        SetAlpha(0.5f);
        SetBlend(1);
        DrawRect(0, 0, 10, 10);
        return 0;
    }
    int keyHitsSeen = -1;
    int joyHitsSeen = -1;

private:
    int Log(const char* what) {
        gLog.push_back(what + DeviceState());
        return 0;
    }
};

class RecordingInput : public c_InputDevice {
public:
    void BeginUpdate() override {
        gLog.push_back("BeginUpdate");
        c_InputDevice::BeginUpdate();
    }
    void EndUpdate() override {
        gLog.push_back("EndUpdate");
        c_InputDevice::EndUpdate();
    }
};

class RecordingAudio : public gxtkAudio {
public:
    int Suspend() override {
        gLog.push_back("AudioSuspend");
        return gxtkAudio::Suspend();
    }
    int Resume() override {
        gLog.push_back("AudioResume");
        return gxtkAudio::Resume();
    }
};

class RecordingGraphics : public gxtkGraphics {
public:
    int mode = 1;
    int BeginRender() override {
        gLog.push_back("BeginRender");
        gxtkGraphics::BeginRender();
        return mode;
    }
    void EndRender() override {
        gLog.push_back(std::string("EndRender") + (renderDevice ? " rendering" : ""));
        gxtkGraphics::EndRender();
    }
    void DiscardGraphics() override { gLog.push_back("DiscardGraphics"); }
};

struct LifecycleTest : ::testing::Test {
    fs::path old = fs::current_path();
    fs::path dir;
    FakeWindow* fakeWindow = nullptr;
    FakeJoystick* joystick = nullptr;
    std::unique_ptr<HxGlfwGame> host;
    LifecycleApp* app = nullptr;

    // The process's window; it and its context live as long as the process,
    // as in the game.
    static void SetUpTestSuite() { ASSERT_NE(TestGlWindow(640, 480), nullptr); }

    void SetUp() override {
        char pattern[] = "/tmp/solbrim-app-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        fs::create_directory_symlink(fs::path(SOLBRIM_BUILD_DIR) / "data", dir / "data");
        fs::current_path(dir);
        auto w = std::make_unique<FakeWindow>();
        auto j = std::make_unique<FakeJoystick>();
        fakeWindow = w.get();
        joystick = j.get();
        host = std::make_unique<HxGlfwGame>(std::move(w), std::move(j));
        InitFrameworkGlobals();
        gc::MarkRoots();
        gLog.clear();
    }
    void TearDown() override {
        fs::current_path(old);
        fs::remove_all(dir);
        InitFrameworkGlobals();  // drops the application and the devices
        host.reset();
        gc::SetForce();
        gc::CollectStep();
    }

    void CreateAndStart() {
        app = new LifecycleApp();
        host->StartGame();
    }
    // Puts a recording stand-in where the delegate and the global hold a device.
    template <class Device, class Replacement>
    Replacement* Swap(Ref<Device>& field, Global<Ref<Device>>& global, Replacement* replacement) {
        field = replacement;
        global = replacement;
        return replacement;
    }
};

TEST_F(LifecycleTest, CreatingTheAppHandsItsDelegateToTheHost) {
    app = new LifecycleApp();
    EXPECT_EQ(gApp.get(), app);
    ASSERT_TRUE(gGameDelegate);
    EXPECT_EQ(host->Delegate(), gGameDelegate.get());
    EXPECT_FALSE(gGameDelegate->graphics);
    EXPECT_FALSE(gGameDelegate->audio);
    EXPECT_FALSE(gGameDelegate->input);
    EXPECT_TRUE(gLog.empty());
}

TEST_F(LifecycleTest, StartCreatesTheDevicesLoadsTheDefaultFontThenCallsOnCreate) {
    CreateAndStart();
    EXPECT_EQ(gLog, (std::vector<std::string>{"OnCreate graphics audio input font"}));
    EXPECT_EQ(gGameDelegate->graphics.get(), graphicsDevice.get());
    EXPECT_EQ(gGameDelegate->audio.get(), gAudioDevice.get());
    EXPECT_EQ(gGameDelegate->input.get(), gInputDevice.get());
    c_GraphicsContext& c = *graphicsContext;
    EXPECT_EQ(c.font.get(), c.defaultFont.get());
    EXPECT_EQ(c.firstChar, 32);
    EXPECT_EQ(c.font->frames.Length(), 96);
    EXPECT_EQ(graphicsDevice->Width(), 640);
}

TEST_F(LifecycleTest, MissingFontFileLeavesNoFontAndTheGameStarts) {
    fs::remove(dir / "data");
    CreateAndStart();
    EXPECT_EQ(gLog, (std::vector<std::string>{"OnCreate graphics audio input"}));
}

TEST_F(LifecycleTest, UpdateIsBracketedByInputBeginAndEndUpdate) {
    CreateAndStart();
    Swap(gGameDelegate->input, gInputDevice, new RecordingInput());
    joystick->axes[0] = {0, 0};
    joystick->SetButtons(0, {true});
    host->KeyEvent(EVENT_KEY_DOWN, 65);
    gLog.clear();
    host->UpdateGame();
    EXPECT_EQ(gLog, (std::vector<std::string>{"BeginUpdate", "OnUpdate graphics audio input font", "EndUpdate"}));
    // The update saw the key pressed since the last update and the joystick
    // button polled at its start; afterwards the presses are forgotten.
    EXPECT_EQ(app->keyHitsSeen, 1);
    EXPECT_EQ(app->joyHitsSeen, 1);
    EXPECT_EQ(KeyHit(65), 0);
    EXPECT_TRUE(KeyDown(65));
}

TEST_F(LifecycleTest, RenderIsBracketedByTheFrameDrawingCalls) {
    CreateAndStart();
    RecordingGraphics* g = Swap(gGameDelegate->graphics, graphicsDevice, new RecordingGraphics());
    gLog.clear();
    host->RenderGame();
    host->RenderGame();
    const std::string render = "OnRender graphics audio input font rendering reset";
    EXPECT_EQ(gLog, (std::vector<std::string>{"BeginRender", render, "EndRender", "BeginRender", render, "EndRender"}));
    EXPECT_FALSE(renderDevice);
    EXPECT_GE(g->FrameStats().drawCalls, 1);  // the rectangle reached GL at the frame's end
}

TEST_F(LifecycleTest, LoadingRendererCallsOnLoadingAndIdleRendererDrawsOutsideTheBracket) {
    CreateAndStart();
    RecordingGraphics* g = Swap(gGameDelegate->graphics, graphicsDevice, new RecordingGraphics());
    g->mode = 2;
    gLog.clear();
    host->RenderGame();
    EXPECT_EQ(gLog, (std::vector<std::string>{"BeginRender", "OnLoading graphics audio input font rendering",
                                              "EndRender"}));
    g->mode = 0;
    gLog.clear();
    host->RenderGame();
    ASSERT_EQ(gLog.size(), 3u);
    EXPECT_EQ(gLog[1].rfind("OnRender graphics audio input font", 0), 0u);
    EXPECT_EQ(gLog[1].find("rendering"), std::string::npos);
}

TEST_F(LifecycleTest, RenderDeviceIsEmptyOutsideRenders) {
    CreateAndStart();
    host->RenderGame();
    host->UpdateGame();
    host->SuspendGame();
    host->ResumeGame();
    for (const std::string& entry : gLog) {
        if (entry.rfind("OnRender", 0) == 0) continue;
        EXPECT_EQ(entry.find("rendering"), std::string::npos) << entry;
    }
    EXPECT_EQ(gLog.size(), 5u);
}

TEST_F(LifecycleTest, SuspendPausesTheAudioAfterTheAppAndResumeBeforeIt) {
    CreateAndStart();
    Swap(gGameDelegate->audio, gAudioDevice, new RecordingAudio());
    gLog.clear();
    host->SuspendGame();
    host->ResumeGame();
    const std::string state = " graphics audio input font";
    EXPECT_EQ(gLog, (std::vector<std::string>{"OnSuspend" + state, "AudioSuspend", "AudioResume", "OnResume" + state}));
}

TEST_F(LifecycleTest, InputEventsReachTheInputDeviceUnchanged) {
    CreateAndStart();
    host->MouseEvent(EVENT_MOUSE_DOWN, 0, 10, 20);
    host->TouchEvent(7, 3, 30, 40);
    host->MotionEvent(10, 0, 0.5f, 0.25f, 1);
    host->KeyEvent(EVENT_KEY_CHAR, 'x');
    EXPECT_TRUE(MouseDown());
    EXPECT_FLOAT_EQ(MouseX(), 10);
    EXPECT_TRUE(TouchDown(3));
    EXPECT_FLOAT_EQ(TouchY(3), 40);
    EXPECT_FLOAT_EQ(AccelX(), 0.5f);
    EXPECT_EQ(GetChar(), 'x');
}

TEST_F(LifecycleTest, DiscardGraphicsGoesToTheRenderer) {
    CreateAndStart();
    Swap(gGameDelegate->graphics, graphicsDevice, new RecordingGraphics());
    gLog.clear();
    host->DiscardGraphics();
    EXPECT_EQ(gLog, (std::vector<std::string>{"DiscardGraphics"}));
}

TEST_F(LifecycleTest, TheLoopStartsRendersFirstThenUpdatesAtTheAppsRate) {
    struct RateApp : LifecycleApp {
        int OnCreate() override {
            SetUpdateRate(60);
            return LifecycleApp::OnCreate();
        }
    };
    app = new RateApp();
    fakeWindow->closeAfterPolls = 4;
    host->Run();
    ASSERT_GE(gLog.size(), 4u);
    EXPECT_EQ(gLog[0].rfind("OnCreate", 0), 0u);
    EXPECT_EQ(gLog[1].rfind("OnRender", 0), 0u);
    EXPECT_EQ(gLog[2].rfind("OnUpdate", 0), 0u);
    EXPECT_EQ(gUpdateRate, 60);
    EXPECT_EQ(host->UpdateRate(), 60);
}

TEST_F(LifecycleTest, ApplicationDelegateAndDevicesSurviveFullCollections) {
    CreateAndStart();
    for (int i = 0; i < 3; ++i) {
        gc::SetForce();
        host->RenderGame();  // dispatch, then the forced full step
    }
    EXPECT_TRUE(gc::IsLive(app));
    EXPECT_TRUE(gc::IsLive(gGameDelegate.get()));
    EXPECT_TRUE(gc::IsLive(graphicsDevice.get()));
    EXPECT_TRUE(gc::IsLive(gAudioDevice.get()));
    EXPECT_TRUE(gc::IsLive(gInputDevice.get()));
    EXPECT_TRUE(gc::IsLive(graphicsContext->defaultFont.get()));
    EXPECT_TRUE(gc::IsLive(gAsyncEventSources.get()));
}

}  // namespace
