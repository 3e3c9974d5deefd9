// HxGlfwGame: the host on a window library's window, for every platform. It
// owns the main loop (fixed-step updates, one render per pass, suspend while
// minimised, idle wait), turns window events into host events, and provides
// the platform services: clock, joysticks, cursor, URLs and files.
//
// The window, the joysticks and the URL launcher are injected: the platform
// hands over its own, and tests drive the loop and the event translation
// without a display.
#pragma once
#include <memory>

#include "host/frame_scheduler.h"
#include "host/host_window.h"
#include "host/hx_game.h"
#include "host/joystick_source.h"
#include "host/pacing_report.h"
#include "host/url_launcher.h"

class HxGlfwGame : public HxGame {
public:
    HxGlfwGame(std::unique_ptr<HostWindow> window, std::unique_ptr<JoystickSource> joysticks,
               std::unique_ptr<UrlLauncher> urls = std::make_unique<UrlLauncher>());
    ~HxGlfwGame() override;

    void SetUpdateRate(int rate) override;
    int Millisecs() override;
    bool PollJoystick(int port, Array<float> x, Array<float> y, Array<float> z, Array<bool> buttons) override;
    void OpenUrl(const String& url) override;
    void SetMouseVisible(bool visible) override;
    String PathToFilePath(const String& path) override;
    std::string FileSystemPath(const String& path) override;

    // The main loop; returns when the window is gone.
    void Run() override;

    // Window events, called by the window while it polls.
    void OnKey(int glfwKey, bool pressed);
    void OnChar(unsigned int codepoint);
    void OnMouseButton(int button, bool pressed, float x, float y);
    void OnMouseMove(float x, float y);
    void OnCloseRequest();

    bool Iconified() const { return iconified_; }
    const FrameScheduler& Scheduler() const { return scheduler_; }
    const PacingReport& Pacing() const { return pacing_; }

protected:
    // One pass of the loop; false when the window is gone.
    bool RunPass();

private:
    std::unique_ptr<HostWindow> window_;
    std::unique_ptr<JoystickSource> joysticks_;
    std::unique_ptr<UrlLauncher> urls_;
    bool iconified_ = false;
    // Keyboard focus and not minimised, at the last pass.
    bool focused_ = false;
    // Holds the next update time and the update period.
    FrameScheduler scheduler_;
    PacingReport pacing_;
};
