#include "desktop/crash_report.h"

#include <dirent.h>
#if __has_include(<execinfo.h>)
#include <execinfo.h>
#endif
#include <fcntl.h>
#include <signal.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "host/game_version.h"
#include "host/user_folders.h"
#include "runtime/recent_lines.h"

namespace {

// A native backtrace where the C library has one; a report without one
// still holds everything else.
int CaptureFrames(void** frames, int count) {
#if __has_include(<execinfo.h>)
    return backtrace(frames, count);
#else
    (void)frames, (void)count;
    return 0;
#endif
}

void WriteFrames(void* const* frames, int count, int fd) {
#if __has_include(<execinfo.h>)
    backtrace_symbols_fd(frames, count, fd);
#else
    (void)frames, (void)count, (void)fd;
#endif
}

char gFolder[4096];  // "" when reports cannot be written
int gWindowWidth = 0, gWindowHeight = 0, gResolutionLevel = 0;

constexpr int kBacktraceFrames = 64;
constexpr const char kNamePrefix[] = "crash-";
constexpr const char kNameSuffix[] = ".txt";

// Formats into a fixed buffer and writes it out when full: no allocation.
class ReportWriter {
public:
    explicit ReportWriter(int fd) : fd_(fd) {}
    ~ReportWriter() { Flush(); }

    ReportWriter& Text(const char* text, std::size_t length) {
        for (std::size_t i = 0; i < length; ++i) {
            if (used_ == sizeof buffer_) Flush();
            buffer_[used_++] = text[i];
        }
        return *this;
    }
    ReportWriter& Text(const char* text) { return Text(text, strlen(text)); }
    // Decimal, zero-padded to width digits.
    ReportWriter& Number(unsigned long long value, int width = 1) {
        char digits[20];
        int n = 0;
        do {
            digits[n++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (n < static_cast<int>(sizeof digits) && (value != 0 || n < width));
        while (n > 0) Text(&digits[--n], 1);
        return *this;
    }
    void Flush() {
        WriteFully(fd_, buffer_, used_);
        used_ = 0;
    }

private:
    int fd_;
    char buffer_[1024];
    std::size_t used_ = 0;
};

void WriteDate(ReportWriter& out, const ReportTime& t) {
    out.Number(t.year, 4).Text("-").Number(t.month, 2).Text("-").Number(t.day, 2).Text(" ");
    out.Number(t.hour, 2).Text(":").Number(t.minute, 2).Text(":").Number(t.second, 2).Text(" UTC");
}

void WriteRecentLine(const char* line, std::size_t length, void* context) {
    static_cast<ReportWriter*>(context)->Text(line, length).Text("\n");
}

char* PutDigits(char* p, int value, int width) {
    for (int i = width - 1; i >= 0; --i) {
        p[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return p + width;
}

bool IsReportName(const char* name) {
    std::size_t length = strlen(name), prefix = sizeof kNamePrefix - 1, suffix = sizeof kNameSuffix - 1;
    return length > prefix + suffix && length < kReportNameSize && strncmp(name, kNamePrefix, prefix) == 0 &&
           strcmp(name + length - suffix, kNameSuffix) == 0;
}

// Only regular files count as reports: a folder or link of a report's name
// is neither kept nor pruned.
bool IsRegularFile(int folderFd, const dirent64& entry) {
    if (entry.d_type != DT_UNKNOWN) return entry.d_type == DT_REG;
    struct stat status;
    return fstatat(folderFd, entry.d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(status.st_mode);
}

struct ReportScan {
    int count = 0;                     // report files in the folder
    char newest[kReportNameSize] = "";
    char oldest[kReportNameSize] = "";  // of those after `after`, `spare` left out; "" when none
};

ReportScan ScanReports(int folderFd, const char* after = "", const char* spare = "") {
    ReportScan scan;
    if (lseek(folderFd, 0, SEEK_SET) != 0) return scan;
    alignas(dirent64) char entries[4096];
    ssize_t n;
    while ((n = getdents64(folderFd, entries, sizeof entries)) > 0) {
        for (ssize_t at = 0; at < n;) {
            const auto* entry = reinterpret_cast<const dirent64*>(entries + at);
            at += entry->d_reclen;
            const char* name = entry->d_name;
            if (!IsReportName(name) || !IsRegularFile(folderFd, *entry)) continue;
            ++scan.count;
            if (strcmp(name, scan.newest) > 0) strcpy(scan.newest, name);
            bool candidate = strcmp(name, after) > 0 && strcmp(name, spare) != 0;
            if (candidate && (!scan.oldest[0] || strcmp(name, scan.oldest) < 0)) strcpy(scan.oldest, name);
        }
    }
    return scan;
}

// A new report file, named after the time; -1 when none can be made. Its
// name sorts after every report there when the clock was set back by less
// than kTries ms, so name order stays age order; the newest report is kept
// by pruning either way.
int CreateReportFile(int folderFd, long long unixMilliseconds, ReportTime* time, char* name) {
    constexpr int kTries = 1000;
    ReportScan scan = ScanReports(folderFd);
    for (int i = 0; i < kTries; ++i) {
        *time = ReportTimeAt(unixMilliseconds + i);
        FormatReportName(*time, name);
        if (strcmp(name, scan.newest) <= 0 && i + 1 < kTries) continue;
        int fd = openat(folderFd, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

void WriteFully(int fd, const char* text, std::size_t length) {
    while (length > 0) {
        ssize_t n = write(fd, text, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        text += n;
        length -= static_cast<std::size_t>(n);
    }
}

void InstallCrashReports(const char* folder) {
    std::string path = folder ? folder : GameFolderIn(XdgStateHome());
    gFolder[0] = 0;
    if (path.empty() || path.size() >= sizeof gFolder || !CreateFolders(path, 0700)) return;
    memcpy(gFolder, path.c_str(), path.size() + 1);
    void* frame[1];
    CaptureFrames(frame, 1);
}

void SetCrashReportWindowSize(int width, int height) {
    gWindowWidth = width;
    gWindowHeight = height;
}

void SetCrashReportResolutionLevel(int level) { gResolutionLevel = level; }

ReportTime ReportTimeAt(long long unixMilliseconds) {
    long long ms = unixMilliseconds % 1000, seconds = unixMilliseconds / 1000;
    if (ms < 0) {
        ms += 1000;
        --seconds;
    }
    long long days = seconds / 86400, secondOfDay = seconds % 86400;
    if (secondOfDay < 0) {
        secondOfDay += 86400;
        --days;
    }
    // Days since 1970-01-01 to a proleptic Gregorian date, in 400-year eras
    // whose years start on 1 March (so the leap day ends a year).
    long long z = days + 719468;
    long long era = (z >= 0 ? z : z - 146096) / 146097;
    long long dayOfEra = z - era * 146097;
    long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    long long monthFromMarch = (5 * dayOfYear + 2) / 153;
    ReportTime t{};
    t.day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    t.month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    t.year = static_cast<int>(yearOfEra + era * 400 + (t.month <= 2 ? 1 : 0));
    t.hour = static_cast<int>(secondOfDay / 3600);
    t.minute = static_cast<int>(secondOfDay / 60 % 60);
    t.second = static_cast<int>(secondOfDay % 60);
    t.millisecond = static_cast<int>(ms);
    return t;
}

void FormatReportName(const ReportTime& t, char* out) {
    char* p = stpcpy(out, kNamePrefix);
    p = PutDigits(PutDigits(PutDigits(p, t.year, 4), t.month, 2), t.day, 2);
    *p++ = '-';
    p = PutDigits(PutDigits(PutDigits(p, t.hour, 2), t.minute, 2), t.second, 2);
    *p++ = '-';
    p = PutDigits(p, t.millisecond, 3);
    strcpy(p, kNameSuffix);
}

void WriteReportText(int fd, const char* message, int signal, const ReportTime& time) {
    ReportWriter out(fd);
    out.Text("Sol Brim crash report\n\n");
    out.Text("Message: ").Text(message).Text("\n");
    out.Text("Version: ").Text(kGameVersion).Text("\n");
    out.Text("Date: ");
    WriteDate(out, time);
    out.Text("\n");
    if (signal != 0) {
        const char* name = sigabbrev_np(signal);
        out.Text("Signal: SIG").Text(name ? name : "?").Text(" (").Number(signal).Text(")\n");
    }
    out.Text("Window: ");
    if (gWindowWidth > 0) {
        out.Number(gWindowWidth).Text(" x ").Number(gWindowHeight).Text("\n");
    } else {
        out.Text("not open yet\n");
    }
    out.Text("Resolution level: ");
    if (gResolutionLevel > 0) {
        out.Number(gResolutionLevel).Text("\n");
    } else {
        out.Text("not chosen yet\n");
    }

    out.Text("\nBacktrace:\n");
    out.Flush();
    void* frames[kBacktraceFrames];
    WriteFrames(frames, CaptureFrames(frames, kBacktraceFrames), fd);

    out.Text("\nLast printed lines:\n");
    ForEachRecentLine(WriteRecentLine, &out);
}

void PruneCrashReports(int folderFd, int keep, const char* spare) {
    // Oldest first; one that cannot be removed is passed over for the next.
    char after[kReportNameSize] = "";
    for (;;) {
        ReportScan scan = ScanReports(folderFd, after, spare);
        if (scan.count <= keep || !scan.oldest[0]) return;
        unlinkat(folderFd, scan.oldest, 0);
        strcpy(after, scan.oldest);
    }
}

void WriteCrashReport(const char* message, int signal) {
    if (!gFolder[0]) return;
    int folderFd = open(gFolder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) return;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    ReportTime time{};
    char name[kReportNameSize];
    int fd = CreateReportFile(folderFd, now.tv_sec * 1000LL + now.tv_nsec / 1000000, &time, name);
    if (fd >= 0) {
        WriteReportText(fd, message, signal, time);
        close(fd);
        PruneCrashReports(folderFd, kKeptReports, name);
    }
    close(folderFd);
}
