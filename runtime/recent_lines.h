// The last lines the program printed, kept for its crash reports.
//
// Rules:
// - At most kRecentLines lines are kept; a new line pushes out the oldest.
// - A line longer than kRecentLineLength bytes is kept cut to that length.
// - Storage is fixed and static: reading never allocates, so a fault handler
//   may read the lines; a line being written when a fault strikes may show
//   half-written, never out of bounds.
// - Only what is recorded here reaches a report: text printed with
//   PrintUnrecorded (the saved record) never does.
#pragma once
#include <cstddef>

inline constexpr int kRecentLines = 20;
inline constexpr std::size_t kRecentLineLength = 200;

// Records text as one or more lines (split at each '\n').
void RecordPrintedText(const char* text, std::size_t length);

// Calls visit(line, length, context) for each kept line, oldest first.
void ForEachRecentLine(void (*visit)(const char* line, std::size_t length, void* context), void* context);

void ForgetRecentLines();
