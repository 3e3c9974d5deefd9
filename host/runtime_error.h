// Runtime errors: how the program stops when something goes wrong, and how
// the game quits normally.
//
// A runtime error prints "Vellum Runtime Error : <message>" and an empty
// line to standard output, then serves the debug command loop on standard
// input. With no console (standard input closed) that ends the process with
// exit code -1. Commands, one per line:
//   ?          read the next command
//   @<ptr>     DebugText of the collected object at <ptr> (only if live)
//   e l s r    report the error again
//   q          exit with code 0
//   other      "????? <line> ?????" and exit with code -1
#pragma once
#include <string>

#include "runtime/string.h"

class Object;

// Empty message: exit at once with code 0, printing nothing (the game's
// normal quit). Otherwise a runtime error with the message narrowed to 8 bits.
[[noreturn]] void Error(const String& message);

// The runtime error itself; never returns. Its first report also writes a
// failure report (ReportFailure).
[[noreturn]] void RuntimeError(const std::string& message);

// Where the process's first failure is recorded (printedMessage as printed,
// signal 0 when none); null, the default, records nothing. The platform sets
// it at start-up. It may be called from a fault handler, so it must be
// async-signal-safe.
using FailureReportWriter = void (*)(const char* printedMessage, int signal);
void SetFailureReportWriter(FailureReportWriter writer);

// Hands the process's first failure to the report writer; later failures
// write none.
void ReportFailure(const char* printedMessage, int signal);

// The debug command loop. Returns when the error should be reported again;
// exits the process otherwise.
void DebugCommandLoop();

// True once the process's first failure has been reported. Safe to call in a
// signal handler.
bool Failing();

// ---- the pieces a platform's fault handler shares -------------------------

inline constexpr const char kBannerPrefix[] = "Vellum Runtime Error : ";

// Nothing records source positions; the text still has its place in the
// output ("" here).
const char* CurrentSourcePosition();

// What a line of the debug command loop (without its newline) asks for.
enum class DebugCommand { kNextLine, kDebugText, kReportAgain, kQuit, kUnknown };
DebugCommand ParseDebugCommand(const char* line);
