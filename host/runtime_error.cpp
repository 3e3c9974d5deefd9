#include "host/runtime_error.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/gc.h"
#include "runtime/object.h"

namespace {

constexpr const char kBannerPrefix[] = "Vellum Runtime Error : ";

// Nothing records source positions; the text still has its place in the
// output.
const char* CurrentSourcePosition() { return ""; }

void PrintStackText() {
    const char* position = CurrentSourcePosition();
    Print(*position ? String((std::string(position) + "\n").c_str()) : String());
}

// Only an address the collector knows as a live object is ever followed.
void WriteDebugText(const char* text) {
    void* p = nullptr;
    if (std::sscanf(text, "%p", &p) == 1 && gc::IsLive(p)) {
        auto* object = dynamic_cast<Object*>(static_cast<gc_object*>(p));
        if (object) {
            std::fprintf(stderr, "%s\n", object->DebugText().ToNarrow().c_str());
            return;
        }
    }
    std::fprintf(stderr, "\n");
}

// Set by the first failure of the process (runtime error, fault or Die): a
// fault after it ends the process at once instead of reporting again.
volatile sig_atomic_t gFailing = 0;
// Set while a fault is being reported: the interrupted code may hold locks
// of the audio or window library, so the exit skips their clean-up.
volatile sig_atomic_t gFaulting = 0;

constexpr int kFailureExit = -1;

FailureReportWriter gReportWriter = nullptr;

[[noreturn]] void ExitProcess(int code) {
    if (!gFaulting) std::exit(code);
    std::fflush(nullptr);
    _exit(code);
}

}  // namespace

void DebugCommandLoop() {
    std::fprintf(stderr, "{{~~%s~~}}\n", CurrentSourcePosition());
    std::fprintf(stderr, "\n");
    std::fflush(stderr);
    for (;;) {
        char line[256];
        if (!std::fgets(line, sizeof line, stdin)) ExitProcess(-1);
        char* newline = std::strchr(line, '\n');
        if (!newline) ExitProcess(-1);
        *newline = 0;
        switch (line[0]) {
            case '?':
                continue;
            case '@':
                WriteDebugText(line + 1);
                std::fflush(stderr);
                continue;
            case 'e':
            case 'l':
            case 's':
            case 'r':
                return;
            case 'q':
                ExitProcess(0);
            default:
                std::printf("????? %s ?????", line);
                std::fflush(stdout);
                ExitProcess(-1);
        }
    }
}

void SetFailureReportWriter(FailureReportWriter writer) { gReportWriter = writer; }

void ReportFailure(const char* printedMessage, int signal) {
    if (gFailing) return;
    gFailing = 1;
    if (gReportWriter) gReportWriter(printedMessage, signal);
}

void RuntimeError(const std::string& message) {
    std::string banner = kBannerPrefix + message;
    for (;;) {
        Print(String(banner.c_str()));
        PrintStackText();
        ReportFailure(banner.c_str(), 0);  // the first time only
        DebugCommandLoop();
    }
}

void Error(const String& message) {
    if (message.Empty()) std::exit(0);
    RuntimeError(message.ToNarrow());
}

// ---- hardware faults ------------------------------------------------------

const char* FaultMessage(int signal, int code, bool isStackOverflow) {
    switch (signal) {
        case SIGSEGV:
        case SIGBUS:
            return isStackOverflow ? "Stack overflow" : "Memory access violation";
        case SIGILL:
            return "Illegal instruction";
        case SIGFPE:
            return code == FPE_INTDIV ? "Integer divide by zero" : "Unknown exception";
        default:
            return "Unknown exception";
    }
}

namespace {

// Lowest and highest address of the main thread's stack, and how far below
// it a fault still counts as an overflow (the guard zone and the frame that
// jumped over it).
std::uintptr_t gStackLow = 0;
std::uintptr_t gStackHigh = 0;
constexpr std::uintptr_t kGuardReach = 1024 * 1024;

void RecordMainStack() {
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) != 0) return;
    void* base = nullptr;
    size_t size = 0;
    if (pthread_attr_getstack(&attr, &base, &size) == 0) {
        gStackLow = reinterpret_cast<std::uintptr_t>(base);
        gStackHigh = gStackLow + size;
    }
    pthread_attr_destroy(&attr);
}

bool InStackGuard(const void* address) {
    auto a = reinterpret_cast<std::uintptr_t>(address);
    if (gStackHigh == 0) return false;
    std::uintptr_t lowest = gStackLow > kGuardReach ? gStackLow - kGuardReach : 0;
    return a >= lowest && a < gStackLow + 4096 * 4;
}

// The banner of a fault, composed without allocating.
const char* FaultBanner(const char* message) {
    static char banner[128];
    char* end = stpcpy(banner, kBannerPrefix);
    strncpy(end, message, sizeof banner - (end - banner) - 1);
    return banner;
}

void OnFault(int signal, siginfo_t* info, void* /*context*/) {
    // A fault while reporting a failure: no second report and no loop.
    if (gFailing) _exit(kFailureExit);
    gFaulting = 1;
    // Only this thread faults, and the program never goes back to the code
    // that faulted: it reports and exits from here, on the alternate stack.
    // The report goes first, while nothing has allocated yet.
    bool overflow = (signal == SIGSEGV || signal == SIGBUS) && InStackGuard(info->si_addr);
    const char* message = FaultMessage(signal, info->si_code, overflow);
    ReportFailure(FaultBanner(message), signal);
    RuntimeError(message);
}

}  // namespace

void InstallFaultHandlers() {
    RecordMainStack();
    // Large enough for the error report and the debug loop (stdio, Strings).
    static constexpr std::size_t kAltStackSize = 256 * 1024;
    static void* altStack = std::malloc(kAltStackSize);
    stack_t ss{};
    ss.ss_sp = altStack;
    ss.ss_size = kAltStackSize;
    ss.ss_flags = 0;
    sigaltstack(&ss, nullptr);

    struct sigaction sa{};
    sa.sa_sigaction = OnFault;
    // SA_NODEFER lets a second fault reach OnFault, which ends the process,
    // instead of the kernel killing it with the signal.
    sa.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
    sigemptyset(&sa.sa_mask);
    for (int signal : {SIGSEGV, SIGBUS, SIGILL, SIGFPE}) sigaction(signal, &sa, nullptr);
}
