// crash_scene: the framework's window with an application that prints one
// line per update and fails on its 40th, through a runtime error, or with
// CRASH_SCENE=segv in its environment through a read at a bad address. The
// crash reports' end-to-end tests run it as a player's game would crash.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/app.h"
#include "app/framework.h"
#include "graphics/drawing.h"
#include "desktop/entry_point.h"
#include "host/runtime_error.h"

namespace {

constexpr int kFailingUpdate = 40;
bool gSegv = false;
volatile int gZero = 0;

__attribute__((noinline, no_sanitize("address", "undefined"))) int ReadBadAddress() {
    volatile int* p = reinterpret_cast<volatile int*>(static_cast<std::uintptr_t>(32 + gZero));
    return *p;
}

}  // namespace

class c_CrashSceneApp : public c_App {
public:
    int OnCreate() override {
        SetUpdateRate(60);
        return 0;
    }
    int OnUpdate() override {
        ++updates_;
        Print(String("update ") + String::FromInt(updates_));
        if (updates_ < kFailingUpdate) return 0;
        if (gSegv) return ReadBadAddress();
        Error(String("crash scene failed on purpose"));
        return 0;
    }
    int OnRender() override {
        ClearScreen(30, 60, 90);
        return 0;
    }

private:
    int updates_ = 0;
};

namespace {

void InitGlobals() { InitFrameworkGlobals(); }
void CreateApp() { new c_CrashSceneApp(); }

}  // namespace

int main(int argc, char** argv) {
    const char* fault = std::getenv("CRASH_SCENE");
    gSegv = fault && std::strcmp(fault, "segv") == 0;
    RunProgram(argc, argv, InitGlobals, CreateApp);
}
