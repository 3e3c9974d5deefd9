// Fault handlers: hardware faults and aborts become runtime errors
// (host/runtime_error.h) with a crash report.
//
// Rules:
// - Installed first at start-up, before anything that can fault.
// - After a signal the program never returns to the code that raised it,
//   which may have held any lock (the allocator's, stdio's, a driver's). So
//   nothing after the signal allocates, locks or touches stdio: the report is
//   written with raw system calls, the banner and the debug command loop run
//   on write(2)/read(2) with fixed buffers, and every exit is _exit.
// - The banner, the loop's texts, their order and its exit codes are those of
//   a runtime error; "@" answers an empty line, since following an object
//   needs the collector.
// - A signal while a failure is being reported ends the process at once with
//   exit code -1, with no second report.
#pragma once

// Handles a segmentation fault or bus error as "Memory access violation", an
// illegal instruction as "Illegal instruction", an integer division by zero
// as "Integer divide by zero", a stack overflow of the main thread (caught on
// an alternate signal stack) as "Stack overflow", and an abort (the C
// library's, on a detected double free among others) or any other
// arithmetic fault as "Unknown exception".
void InstallFaultHandlers();

// The message of a fault, from its signal number, si_code and faulting
// address; isStackOverflow says whether the address lies in the guard zone
// below the main stack.
const char* FaultMessage(int signal, int code, bool isStackOverflow);

// Reads one line of the debug command loop from fd, a byte at a time, as the
// runtime error's loop reads it: false at the end of input, on a read error,
// or when no newline comes within size - 1 characters; otherwise true, with
// the line (its newline removed) in line.
bool ReadDebugLine(int fd, char* line, int size);
