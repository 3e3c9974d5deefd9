#include "host/runtime_error.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/gc.h"
#include "runtime/object.h"

namespace {

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

// Set by the first failure of the process (runtime error, fault or Die); a
// fault handler reads it, so it must stay lock-free.
std::atomic<bool> gFailing{false};
static_assert(std::atomic<bool>::is_always_lock_free);

FailureReportWriter gReportWriter = nullptr;


}  // namespace

const char* CurrentSourcePosition() { return ""; }

DebugCommand ParseDebugCommand(const char* line) {
    switch (line[0]) {
        case '?':
            return DebugCommand::kNextLine;
        case '@':
            return DebugCommand::kDebugText;
        case 'e':
        case 'l':
        case 's':
        case 'r':
            return DebugCommand::kReportAgain;
        case 'q':
            return DebugCommand::kQuit;
        default:
            return DebugCommand::kUnknown;
    }
}

void DebugCommandLoop() {
    std::fprintf(stderr, "{{~~%s~~}}\n", CurrentSourcePosition());
    std::fprintf(stderr, "\n");
    std::fflush(stderr);
    for (;;) {
        char line[256];
        if (!std::fgets(line, sizeof line, stdin)) std::exit(-1);
        char* newline = std::strchr(line, '\n');
        if (!newline) std::exit(-1);
        *newline = 0;
        switch (ParseDebugCommand(line)) {
            case DebugCommand::kNextLine:
                continue;
            case DebugCommand::kDebugText:
                WriteDebugText(line + 1);
                std::fflush(stderr);
                continue;
            case DebugCommand::kReportAgain:
                return;
            case DebugCommand::kQuit:
                std::exit(0);
            case DebugCommand::kUnknown:
                std::printf("????? %s ?????", line);
                std::fflush(stdout);
                std::exit(-1);
        }
    }
}

void SetFailureReportWriter(FailureReportWriter writer) { gReportWriter = writer; }

bool Failing() { return gFailing; }

void ReportFailure(const char* printedMessage, int signal) {
    if (gFailing.exchange(true)) return;
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
