// Crash reports: when the program ends through a runtime error, a fault or
// Die, a text file in the per-user state folder tells the player what to
// attach to a bug report, even when standard output went nowhere.
//
// Rules:
// - Folder: $XDG_STATE_HOME/solbrim (default ~/.local/state/solbrim), made
//   0700 at start-up. Without a usable folder no report is written.
// - Name: crash-YYYYMMDD-HHMMSS-mmm.txt in UTC, so name order is age order; a
//   name already taken moves on by a millisecond. Only the kKeptReports
//   newest crash-*.txt regular files stay, the one just written always among
//   them (a clock set back can date it before the others); other entries in
//   the folder are left alone.
// - Content: the message as printed, the version, the date, the signal if
//   any, a native backtrace, the window size and resolution level, and the
//   recent printed lines (runtime/recent_lines.h; never the saved record).
// - Writing never allocates and uses only raw system calls, so a fault
//   handler may write a report. A report that cannot be written is given up
//   without a word; the program's output and exit stay as they are.
#pragma once
#include <cstddef>

inline constexpr int kKeptReports = 10;

// Makes the folder and readies the backtrace (its first use may load a
// library, which must not happen inside a fault handler). Called once at
// start-up; a folder given here replaces the per-user one (for tests).
void InstallCrashReports(const char* folder = nullptr);

// Facts about the running game that a report shows, kept current by the
// desktop host as it is told them (0 = not known yet).
void SetCrashReportWindowSize(int width, int height);
void SetCrashReportResolutionLevel(int level);

// Writes one report: message exactly as printed, signal 0 when there is none.
void WriteCrashReport(const char* message, int signal);

// Writes all of text to fd with write(2), going on after an interruption and
// giving up on an error; safe in a signal handler.
void WriteFully(int fd, const char* text, std::size_t length);

// ---- the pieces, exposed for tests ------------------------------------------

struct ReportTime {
    int year, month, day, hour, minute, second, millisecond;
};

// UTC calendar time of milliseconds since 1970-01-01.
ReportTime ReportTimeAt(long long unixMilliseconds);

// "crash-YYYYMMDD-HHMMSS-mmm.txt"; out must hold kReportNameSize bytes.
inline constexpr std::size_t kReportNameSize = 32;
void FormatReportName(const ReportTime& time, char* out);

// Writes the report text to an open file.
void WriteReportText(int fd, const char* message, int signal, const ReportTime& time);

// Deletes the oldest crash-*.txt regular files in the open folder, never the
// one named spare, until keep remain; a file that cannot be deleted is
// passed over for the next oldest.
void PruneCrashReports(int folderFd, int keep, const char* spare = "");
