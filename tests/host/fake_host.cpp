#include "tests/host/fake_host.h"

#include "runtime/ref.h"

namespace {
// Keeps the current test's delegate reachable whatever the collector does.
Global<Ref<RecordingDelegate>> gTestDelegate;
}  // namespace

FakeHost::FakeHost() {
    auto w = std::make_unique<FakeWindow>();
    auto j = std::make_unique<FakeJoystick>();
    window = w.get();
    joystick = j.get();
    game = std::make_unique<HxGlfwGame>(std::move(w), std::move(j));
    delegate = new RecordingDelegate();
    gTestDelegate = delegate;
    game->SetDelegate(delegate);
}

FakeHost::~FakeHost() { gTestDelegate = nullptr; }
