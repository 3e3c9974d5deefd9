// error_probe <scenario> [message]: a tiny program that fails in a chosen
// way, so tests can check what the runtime error machinery prints and how
// the process exits. It starts like the game does (failure reports, host,
// then InitProgram).
#include <malloc.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "desktop/entry_point.h"
#include "host/hx_game.h"
#include "host/runtime_error.h"
#include "runtime/object.h"
#include "runtime/ref.h"

namespace {

class Probe : public Object {
public:
    String DebugText() override { return String("+Probe"); }
};

// Its debug text faults: a fault inside the failure handling itself.
class FaultyProbe : public Object {
public:
    __attribute__((no_sanitize("address", "undefined"))) String DebugText() override {
        volatile int* p = reinterpret_cast<volatile int*>(static_cast<std::uintptr_t>(24 + gZeroAddress));
        return String::FromInt(*p);
    }
    static volatile int gZeroAddress;
};
volatile int FaultyProbe::gZeroAddress = 0;

class ThrowingDelegate : public HxGameDelegate {
public:
    void UpdateGame() override { throw new Probe(); }
};

Global<Ref<Object>> gProbe;
Global<Ref<HxGameDelegate>> gDelegate;

volatile int gZero = 0;

__attribute__((no_sanitize("undefined"))) int DivideByZero() { return 100 / gZero; }

__attribute__((no_sanitize("address", "undefined"))) int ReadBadAddress() {
    volatile int* p = reinterpret_cast<volatile int*>(static_cast<std::uintptr_t>(16 + gZero));
    return *p;
}

// Bounded only by the stack (gZero is 0), so the compiler cannot prove
// the recursion endless or turn it into a loop.
__attribute__((noinline)) int Recurse(int depth) {
    volatile char frame[4096];
    frame[depth % 4096] = static_cast<char>(depth);
    if (depth < 0 || gZero) return frame[0];
    return Recurse(depth + 1) + frame[0];
}

// Another thread holds the allocator's lock for good: malloc_stats prints to
// stderr while it holds each arena's lock, and this stderr never finishes a
// write.
std::atomic<bool> gAllocatorLocked{false};

ssize_t StallingWrite(void*, const char*, size_t) {
    gAllocatorLocked = true;
    for (;;) pause();
}

// True once the other thread holds the lock (false where malloc_stats
// prints nothing, as under a sanitizer).
bool HoldAllocatorLockInAnotherThread() {
    cookie_io_functions_t io{};
    io.write = StallingWrite;
    FILE* stalling = fopencookie(nullptr, "w", io);
    setvbuf(stalling, nullptr, _IONBF, 0);
    stderr = stalling;
    std::thread([] { malloc_stats(); }).detach();
    for (int waited = 0; waited < 200 && !gAllocatorLocked; ++waited) usleep(10000);
    return gAllocatorLocked;
}

void* volatile gBlock = nullptr;

int Run(const std::string& scenario, const char* message) {
    if (scenario == "error") Error(String(message));
    if (scenario == "empty") {
        std::printf("%s", "");  // nothing printed, yet stdout was touched
        Error(String());
    }
    if (scenario == "divzero") return DivideByZero();
    if (scenario == "segv") return ReadBadAddress();
    if (scenario == "stack") return Recurse(0);
    if (scenario == "illegal") __builtin_trap();
    if (scenario == "abort") std::abort();
    if (scenario == "double-free") {
        gBlock = std::malloc(24);
        std::free(gBlock);
        std::free(gBlock);
        return 3;
    }
    if (scenario == "segv-under-allocator-lock") {
        if (!HoldAllocatorLockInAnotherThread()) return 4;
        return ReadBadAddress();
    }
    if (scenario == "die") HxGame::Current()->Die(nullptr);
    if (scenario == "throw-in-delegate") {
        gDelegate = new ThrowingDelegate();
        HxGame::Current()->SetDelegate(gDelegate);
        HxGame::Current()->StartGame();
        HxGame::Current()->UpdateGame();
        return 3;
    }
    if (scenario == "faulty-object" || scenario == "faulty-object-segv") {
        gProbe = new FaultyProbe();
        std::printf("%p\n", static_cast<void*>(gProbe.get()));
        std::fflush(stdout);
        if (scenario == "faulty-object-segv") return ReadBadAddress();
        Error(String("inspect"));
    }
    if (scenario == "object") {
        gProbe = new Probe();
        std::printf("%p\n", static_cast<void*>(gProbe.get()));
        std::fflush(stdout);
        Error(String("inspect"));
    }
    return 2;
}

std::string gScenario;
const char* gMessage = "";

void CreateApp() {
    if (gScenario == "throw-in-init") throw new Probe();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    gScenario = argv[1];
    gMessage = argc > 2 ? argv[2] : "";
    InstallFailureReports();
    // Before the host, the collector or a window exist.
    if (gScenario == "segv-at-start") return ReadBadAddress();
    new HxGame();
    InitProgram(argc, argv, nullptr, CreateApp);
    return Run(gScenario, gMessage);
}
