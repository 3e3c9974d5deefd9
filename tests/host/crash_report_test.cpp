// The crash report's pieces in this process: dates without the C library's
// time zone machinery, names that sort by age, the ten-report limit, and
// the text itself.
#include "desktop/crash_report.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/hx_desktop_game.h"
#include "host/game_version.h"
#include "runtime/recent_lines.h"

namespace fs = std::filesystem;

namespace {

std::string Text(const ReportTime& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second, t.millisecond);
    return text;
}

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> FileNames(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class TempFolder {
public:
    TempFolder() {
        char name[] = "/tmp/solbrim-crash-XXXXXX";
        path_ = mkdtemp(name);
    }
    ~TempFolder() { fs::remove_all(path_); }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

TEST(ReportTime, CalendarDatesAcrossLeapDaysCenturiesAndTheEpoch) {
    EXPECT_EQ(Text(ReportTimeAt(0)), "1970-01-01 00:00:00.000");
    EXPECT_EQ(Text(ReportTimeAt(-1)), "1969-12-31 23:59:59.999");
    EXPECT_EQ(Text(ReportTimeAt(951782399999)), "2000-02-28 23:59:59.999");
    EXPECT_EQ(Text(ReportTimeAt(951868799999)), "2000-02-29 23:59:59.999");  // 2000 is a leap year
    EXPECT_EQ(Text(ReportTimeAt(951868800000)), "2000-03-01 00:00:00.000");
    EXPECT_EQ(Text(ReportTimeAt(4107542399999)), "2100-02-28 23:59:59.999");  // 2100 is not
    EXPECT_EQ(Text(ReportTimeAt(4107542400000)), "2100-03-01 00:00:00.000");
    EXPECT_EQ(Text(ReportTimeAt(1735689599999)), "2024-12-31 23:59:59.999");
    EXPECT_EQ(Text(ReportTimeAt(1735689600000)), "2025-01-01 00:00:00.000");
    EXPECT_EQ(Text(ReportTimeAt(1804425851482)), "2027-03-07 13:24:11.482");
}

TEST(ReportName, FixedWidthSoThatNameOrderIsAgeOrder) {
    char a[kReportNameSize], b[kReportNameSize];
    FormatReportName(ReportTimeAt(1804425851007), a);
    EXPECT_STREQ(a, "crash-20270307-132411-007.txt");
    FormatReportName(ReportTimeAt(1804425851007 + 993), b);  // the next second
    EXPECT_STREQ(b, "crash-20270307-132412-000.txt");
    EXPECT_LT(std::string(a), std::string(b));
}

TEST(PruneCrashReports, KeepsTheNewestTenAndLeavesOtherFilesAlone) {
    TempFolder folder;
    // Thirteen reports, made out of order, and files that are not reports.
    for (int i : {7, 12, 0, 3, 11, 9, 1, 5, 10, 2, 8, 6, 4}) {
        char name[kReportNameSize];
        FormatReportName(ReportTimeAt(1804425851000LL + i * 61001LL), name);
        std::ofstream(folder.Path() / name) << i;
    }
    for (const char* other : {"notes.txt", "crash-.txt", "crash-20000101-000000-000.log", "a-crash-1.txt"}) {
        std::ofstream(folder.Path() / other) << "keep";
    }
    int fd = open(folder.Path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    PruneCrashReports(fd, kKeptReports);
    close(fd);

    std::vector<std::string> names = FileNames(folder.Path());
    ASSERT_EQ(names.size(), 14u);
    int reports = 0;
    for (const std::string& name : names) {
        if (name.size() != 29 || !name.starts_with("crash-") || !name.ends_with(".txt")) continue;
        ++reports;
        int age = std::stoi(Slurp(folder.Path() / name));
        EXPECT_GE(age, 3) << name << " is one of the three oldest";
    }
    EXPECT_EQ(reports, 10);
    EXPECT_TRUE(fs::exists(folder.Path() / "notes.txt"));
    EXPECT_TRUE(fs::exists(folder.Path() / "crash-.txt"));
}

TEST(CrashReportText, HoldsEverythingABugReportNeeds) {
    TempFolder folder;
    ForgetRecentLines();
    for (int i = 1; i <= 23; ++i) {
        std::string line = "printed " + std::to_string(i);
        RecordPrintedText(line.data(), line.size());
    }
    SetCrashReportWindowSize(1283, 961);
    SetCrashReportResolutionLevel(4);
    fs::path file = folder.Path() / "report.txt";
    int fd = open(file.c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    WriteReportText(fd, "Vellum Runtime Error : Memory access violation", 11, ReportTimeAt(1804425851482));
    close(fd);

    std::string report = Slurp(file);
    EXPECT_TRUE(report.starts_with("Sol Brim crash report\n\n"
                                   "Message: Vellum Runtime Error : Memory access violation\n"
                                   "Version: " + std::string(kGameVersion) + "\n"
                                   "Date: 2027-03-07 13:24:11 UTC\n"
                                   "Signal: SIGSEGV (11)\n"
                                   "Window: 1283 x 961\n"
                                   "Resolution level: 4\n\n"
                                   "Backtrace:\n"))
        << report;
    // At least this test's own frames, one line each.
    std::size_t backtrace = report.find("Backtrace:\n"), lines = report.find("\nLast printed lines:\n");
    ASSERT_NE(lines, std::string::npos);
    EXPECT_GE(std::count(report.begin() + backtrace, report.begin() + lines, '\n'), 3);
    std::string tail = report.substr(lines);
    EXPECT_EQ(tail.find("printed 3\n"), std::string::npos);
    EXPECT_NE(tail.find("\nprinted 4\nprinted 5\n"), std::string::npos);
    EXPECT_TRUE(report.ends_with("printed 22\nprinted 23\n"));
}

TEST(CrashReportText, NoSignalLineWithoutASignalAndUnknownFactsSaySo) {
    TempFolder folder;
    SetCrashReportWindowSize(0, 0);
    SetCrashReportResolutionLevel(0);
    fs::path file = folder.Path() / "report.txt";
    int fd = open(file.c_str(), O_WRONLY | O_CREAT, 0600);
    WriteReportText(fd, "Vellum Runtime Error : Uncaught Vellum Exception", 0, ReportTimeAt(0));
    close(fd);
    std::string report = Slurp(file);
    EXPECT_EQ(report.find("Signal:"), std::string::npos);
    EXPECT_NE(report.find("Window: not open yet\nResolution level: not chosen yet\n"), std::string::npos);
}

// The window and the game tell the host; the report shows what it was told last.
TEST(CrashReportText, ShowsTheWindowSizeAndLevelTheDesktopHostWasTold) {
    TempFolder folder;
    HxDesktopGame desktop(GameFiles{}, nullptr);
    HxGame& host = desktop;
    host.SetWindowSize(800, 600);
    host.SetResolutionLevel(2);
    host.SetWindowSize(1283, 961);
    host.SetResolutionLevel(4);
    fs::path file = folder.Path() / "report.txt";
    int fd = open(file.c_str(), O_WRONLY | O_CREAT, 0600);
    WriteReportText(fd, "Vellum Runtime Error : told", 0, ReportTimeAt(0));
    close(fd);
    EXPECT_NE(Slurp(file).find("Window: 1283 x 961\nResolution level: 4\n"), std::string::npos) << Slurp(file);
}

TEST(WriteCrashReport, EveryReportGetsItsOwnFileAndOnlyTenStay) {
    TempFolder folder;
    fs::path reports = folder.Path() / "state" / "solbrim";
    InstallCrashReports(reports.c_str());
    ASSERT_TRUE(fs::is_directory(reports));
    EXPECT_EQ(fs::status(reports).permissions() & fs::perms::all, fs::perms::owner_all);
    // Written within the same millisecond or two: the names must not clash.
    for (int i = 0; i < 12; ++i) WriteCrashReport(("Vellum Runtime Error : crash " + std::to_string(i)).c_str(), 0);
    std::vector<std::string> names = FileNames(reports);
    ASSERT_EQ(names.size(), 10u);
    EXPECT_NE(Slurp(reports / names.front()).find("crash 2\n"), std::string::npos);
    EXPECT_NE(Slurp(reports / names.back()).find("crash 11\n"), std::string::npos);
    InstallCrashReports("");  // no folder: nothing is written
    WriteCrashReport("Vellum Runtime Error : unseen", 0);
    EXPECT_EQ(FileNames(reports).size(), 10u);
}

long long NowMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

// Ten reports dated ahead of now by `ahead` ms and more (a clock set back),
// then a crash: ten stay, the new one among them, and only the oldest
// planted one is gone. Less than a second ahead, the new name still sorts
// last; hours ahead, it sorts first and must be kept anyway.
TEST(WriteCrashReport, AClockSetBackKeepsTheNewReportAndDropsTheOldestPlanted) {
    for (long long ahead : {400LL, 3 * 3600 * 1000LL + 417}) {
        SCOPED_TRACE(ahead);
        TempFolder folder;
        std::vector<std::string> planted;
        long long base = NowMilliseconds() + ahead;
        for (int i = 0; i < 10; ++i) {
            char name[kReportNameSize];
            FormatReportName(ReportTimeAt(base + i * 7), name);
            std::ofstream(folder.Path() / name) << "planted " << i;
            planted.push_back(name);
        }
        InstallCrashReports(folder.Path().c_str());
        WriteCrashReport("Vellum Runtime Error : after the clock went back", 0);
        std::vector<std::string> names = FileNames(folder.Path());
        ASSERT_EQ(names.size(), 10u);
        int found = 0;
        for (const std::string& name : names) {
            if (Slurp(folder.Path() / name).find("after the clock went back") != std::string::npos) ++found;
        }
        EXPECT_EQ(found, 1);
        EXPECT_FALSE(fs::exists(folder.Path() / planted[0]));
        for (int i = 1; i < 10; ++i) EXPECT_TRUE(fs::exists(folder.Path() / planted[i])) << planted[i];
    }
}

// A folder with a report's name, the oldest of all, is not a report: it
// stays, and pruning goes on with the files.
TEST(WriteCrashReport, AFolderWithAReportsNameNeitherCountsNorStopsPruning) {
    TempFolder folder;
    fs::create_directory(folder.Path() / "crash-20000101-000000-000.txt");
    fs::create_directory(folder.Path() / "crash-20000101-000000-000.txt" / "inside");
    InstallCrashReports(folder.Path().c_str());
    for (int i = 0; i < 25; ++i) WriteCrashReport(("Vellum Runtime Error : crash " + std::to_string(i)).c_str(), 0);
    std::vector<std::string> names = FileNames(folder.Path());
    ASSERT_EQ(names.size(), 11u);
    EXPECT_TRUE(fs::is_directory(folder.Path() / names.front()));
    EXPECT_NE(Slurp(folder.Path() / names[1]).find("crash 15\n"), std::string::npos);
    EXPECT_NE(Slurp(folder.Path() / names.back()).find("crash 24\n"), std::string::npos);
}

TEST(PruneCrashReports, NeverTheSpareOneEvenWhenItIsTheOldest) {
    TempFolder folder;
    std::vector<std::string> names;
    for (int i = 0; i < 12; ++i) {
        char name[kReportNameSize];
        FormatReportName(ReportTimeAt(1804425851000LL + i * 1013LL), name);
        std::ofstream(folder.Path() / name) << i;
        names.push_back(name);
    }
    int fd = open(folder.Path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    PruneCrashReports(fd, kKeptReports, names[0].c_str());
    close(fd);
    EXPECT_EQ(FileNames(folder.Path()).size(), 10u);
    EXPECT_TRUE(fs::exists(folder.Path() / names[0]));
    EXPECT_FALSE(fs::exists(folder.Path() / names[1]));
    EXPECT_FALSE(fs::exists(folder.Path() / names[2]));
    EXPECT_TRUE(fs::exists(folder.Path() / names[3]));
}

}  // namespace
