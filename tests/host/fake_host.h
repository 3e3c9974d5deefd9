// Test doubles for the host: a scripted window with a manual clock, a fake
// joystick and a delegate that records every call it receives.
#pragma once
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/host_window.h"
#include "host/hx_game_delegate.h"
#include "host/hx_glfw_game.h"
#include "host/joystick_source.h"

class FakeWindow : public HostWindow {
public:
    double now = 0;
    bool open = true;
    bool iconified = false;
    bool active = true;
    bool cursorVisible = true;
    int polls = 0;
    int waits = 0;
    std::vector<double> sleeps;
    // Runs at each PollEvents (the n-th poll, counting from 1); closes the
    // window once the poll count reaches closeAfterPolls.
    std::function<void(int poll)> onPoll;
    int closeAfterPolls = 1000;
    HxGlfwGame* attached = nullptr;

    void Attach(HxGlfwGame* game) override { attached = game; }
    void PollEvents() override {
        ++polls;
        if (onPoll) onPoll(polls);
        if (polls >= closeAfterPolls) open = false;
    }
    void WaitEvents() override { ++waits; }
    bool IsOpen() override { return open; }
    bool IsIconified() override { return iconified; }
    bool IsActive() override { return active; }
    double Now() override { return now; }
    void Sleep(double seconds) override {
        sleeps.push_back(seconds);
        now += seconds;
    }
    void SetCursorVisible(bool visible) override { cursorVisible = visible; }
};

class FakeJoystick : public JoystickSource {
public:
    std::map<int, std::vector<float>> axes;  // a port is present when it has an entry

    void SetButtons(int port, std::initializer_list<bool> pressed) {
        auto& b = buttons_[port];
        b.count = 0;
        for (bool p : pressed) b.pressed[b.count++] = p;
    }
    bool Present(int port) override { return axes.count(port) > 0; }
    std::span<const float> Axes(int port) override { return axes[port]; }
    std::span<const bool> Buttons(int port) override {
        auto& b = buttons_[port];
        return std::span<const bool>(b.pressed, static_cast<std::size_t>(b.count));
    }

private:
    struct ButtonState {
        bool pressed[64] = {};
        int count = 0;
    };
    std::map<int, ButtonState> buttons_;
};

// Records "Name(args)" for every delegate call; hooks let a test act inside
// a call (change the rate, advance the clock, throw).
class RecordingDelegate : public HxGameDelegate {
public:
    std::vector<std::string> calls;
    std::function<void(const std::string& call)> hook;

    void StartGame() override { Record("StartGame"); }
    void SuspendGame() override { Record("SuspendGame"); }
    void ResumeGame() override { Record("ResumeGame"); }
    void UpdateGame() override { Record("UpdateGame"); }
    void RenderGame() override { Record("RenderGame"); }
    void KeyEvent(int event, int data) override {
        Record("KeyEvent(" + std::to_string(event) + "," + std::to_string(data) + ")");
    }
    void MouseEvent(int event, int data, float x, float y) override {
        Record("MouseEvent(" + std::to_string(event) + "," + std::to_string(data) + "," + Num(x) + "," + Num(y) + ")");
    }
    void TouchEvent(int event, int data, float x, float y) override {
        Record("TouchEvent(" + std::to_string(event) + "," + std::to_string(data) + "," + Num(x) + "," + Num(y) + ")");
    }
    void MotionEvent(int event, int data, float x, float y, float z) override {
        Record("MotionEvent(" + std::to_string(event) + "," + std::to_string(data) + "," + Num(x) + "," + Num(y) +
               "," + Num(z) + ")");
    }
    void DiscardGraphics() override { Record("DiscardGraphics"); }
    void FocusLost() override { Record("FocusLost"); }

    int Count(const std::string& call) const {
        int n = 0;
        for (const auto& c : calls) n += c == call;
        return n;
    }

private:
    static std::string Num(float v) { return std::to_string(static_cast<int>(v)); }
    void Record(const std::string& call) {
        calls.push_back(call);
        if (hook) hook(call);
    }
};

// A GLFW host on fakes, with a recording delegate kept alive as a root.
struct FakeHost {
    FakeWindow* window;
    FakeJoystick* joystick;
    std::unique_ptr<HxGlfwGame> game;
    RecordingDelegate* delegate;

    FakeHost();
    ~FakeHost();
};
