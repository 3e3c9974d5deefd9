#include "desktop/fault_handlers.h"

#include <pthread.h>
#include <signal.h>
#include <string.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include "desktop/crash_report.h"
#include "host/runtime_error.h"

namespace {

constexpr int kFailureExit = -1;
constexpr int kDebugLineSize = 256;  // as the runtime error's loop reads

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

void WriteText(int fd, const char* text) { WriteFully(fd, text, strlen(text)); }

// The runtime error's banner, stack text and debug command loop, on raw
// system calls; returns when the error is to be reported again.
void ServeDebugLoop(const char* banner) {
    WriteText(STDOUT_FILENO, banner);
    WriteText(STDOUT_FILENO, "\n");
    const char* position = CurrentSourcePosition();
    WriteText(STDOUT_FILENO, position);
    WriteText(STDOUT_FILENO, "\n");
    WriteText(STDERR_FILENO, "{{~~");
    WriteText(STDERR_FILENO, position);
    WriteText(STDERR_FILENO, "~~}}\n\n");
    for (;;) {
        char line[kDebugLineSize];
        if (!ReadDebugLine(STDIN_FILENO, line, sizeof line)) _exit(kFailureExit);
        switch (ParseDebugCommand(line)) {
            case DebugCommand::kNextLine:
                continue;
            case DebugCommand::kDebugText:
                WriteText(STDERR_FILENO, "\n");
                continue;
            case DebugCommand::kReportAgain:
                return;
            case DebugCommand::kQuit:
                _exit(0);
            case DebugCommand::kUnknown:
                WriteText(STDOUT_FILENO, "????? ");
                WriteText(STDOUT_FILENO, line);
                WriteText(STDOUT_FILENO, " ?????");
                _exit(kFailureExit);
        }
    }
}

void OnFault(int signal, siginfo_t* info, void* /*context*/) {
    if (Failing()) _exit(kFailureExit);
    bool overflow = (signal == SIGSEGV || signal == SIGBUS) && InStackGuard(info->si_addr);
    char banner[128];
    char* end = stpcpy(banner, kBannerPrefix);
    strncpy(end, FaultMessage(signal, info->si_code, overflow), sizeof banner - (end - banner) - 1);
    banner[sizeof banner - 1] = 0;
    ReportFailure(banner, signal);
    for (;;) ServeDebugLoop(banner);
}

}  // namespace

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

bool ReadDebugLine(int fd, char* line, int size) {
    int length = 0;
    for (;;) {
        char c;
        ssize_t n = read(fd, &c, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        if (c == '\n') {
            line[length] = 0;
            return true;
        }
        // The newline must come within size - 1 characters.
        if (length >= size - 2) return false;
        line[length++] = c;
    }
}

void InstallFaultHandlers() {
    RecordMainStack();
    // Room for the crash report's backtrace; the handler's own buffers are small.
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
    for (int signal : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT}) sigaction(signal, &sa, nullptr);
}
