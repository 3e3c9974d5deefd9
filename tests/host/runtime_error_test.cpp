// The runtime error, the debug command loop and the fault handlers, checked
// on a small probe program run as a child process.
#include <fcntl.h>
#include <signal.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/fault_handlers.h"
#include "host/game_version.h"
#include "host/runtime_error.h"

namespace {

constexpr int kHung = -2;

struct Outcome {
    int status = -1;  // exit code, 128 + signal, or kHung
    std::string out, err;
    std::vector<std::string> reports;  // crash reports left, oldest first
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The crash reports in stateHome's game folder, oldest first.
std::vector<std::string> CrashReports(const std::string& stateHome) {
    std::vector<std::string> names, reports;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(stateHome + "/solbrim", error)) {
        names.push_back(entry.path().string());
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) reports.push_back(Slurp(name));
    return reports;
}

// The child's exit code or 128 + signal; a child still running after limit
// is killed and counts as kHung.
int WaitForChild(pid_t pid, std::chrono::seconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return kHung;
        }
        usleep(10000);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Runs the probe with stdinText on standard input (closed after it). Crash
// reports go to stateHome, by default a private folder removed afterwards.
Outcome RunProbe(const std::vector<std::string>& args, const std::string& stdinText = "",
                 std::string stateHome = "", std::chrono::seconds limit = std::chrono::seconds(60)) {
    std::string probe = std::string(SOLBRIM_BUILD_DIR) + "/tests/host/error_probe";
    char dir[] = "/tmp/solbrim-probe-XXXXXX";
    EXPECT_NE(mkdtemp(dir), nullptr);
    std::string in = std::string(dir) + "/in", out = std::string(dir) + "/out", err = std::string(dir) + "/err";
    if (stateHome.empty()) stateHome = std::string(dir) + "/state";
    std::ofstream(in, std::ios::binary) << stdinText;
    pid_t pid = fork();
    if (pid == 0) {
        setenv("XDG_STATE_HOME", stateHome.c_str(), 1);
        int i = open(in.c_str(), O_RDONLY), o = open(out.c_str(), O_WRONLY | O_CREAT, 0644),
            e = open(err.c_str(), O_WRONLY | O_CREAT, 0644);
        dup2(i, 0);
        dup2(o, 1);
        dup2(e, 2);
        std::vector<char*> argv{probe.data()};
        std::vector<std::string> copy = args;
        for (auto& a : copy) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(probe.c_str(), argv.data());
        _exit(127);
    }
    Outcome r;
    r.status = WaitForChild(pid, limit);
    r.out = Slurp(out);
    r.err = Slurp(err);
    r.reports = CrashReports(stateHome);
    std::string cleanup = std::string("rm -rf ") + dir;
    EXPECT_EQ(std::system(cleanup.c_str()), 0);
    return r;
}

const std::string kBanner = "Vellum Runtime Error : boom\n\n";
const std::string kMarker = "{{~~~~}}\n\n";

TEST(RuntimeError, BannerEmptyLineAndExitMinusOneWithInputClosed) {
    Outcome r = RunProbe({"error", "boom"});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, kBanner);
    EXPECT_EQ(r.err, kMarker);
}

TEST(RuntimeError, QuitCommandExitsZero) {
    Outcome r = RunProbe({"error", "boom"}, "q\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, kBanner);
}

TEST(RuntimeError, UnknownCommandAfterSkipIsReportedAndExitsMinusOne) {
    Outcome r = RunProbe({"error", "boom"}, "?\nx\n");
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, kBanner + "????? x ?????");
}

TEST(RuntimeError, ReportCommandsRepeatTheError) {
    for (const char* command : {"r\n", "e\n", "l\n", "s\n"}) {
        Outcome r = RunProbe({"error", "boom"}, command);
        EXPECT_EQ(r.status, 255) << command;
        EXPECT_EQ(r.out, kBanner + kBanner) << command;
        EXPECT_EQ(r.err, kMarker + kMarker) << command;
    }
}

TEST(RuntimeError, OverlongOrUnterminatedLineExitsMinusOne) {
    Outcome r = RunProbe({"error", "boom"}, std::string(300, 'q') + "\n");
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, kBanner);
    r = RunProbe({"error", "boom"}, "q");
    EXPECT_EQ(r.status, 255);
}

TEST(RuntimeError, EmptyMessageExitsZeroSilently) {
    Outcome r = RunProbe({"empty"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

TEST(RuntimeError, MessageIsNarrowedToItsLowBytes) {
    Outcome r = RunProbe({"error", "a\xC3\xA9z"});  // 8-bit text stays as it is
    EXPECT_EQ(r.out, "Vellum Runtime Error : a\xC3\xA9z\n\n");
}

// Runs the "object" probe, reads the address it prints, then answers with
// the commands that reply(address) gives.
Outcome RunObjectProbe(const std::function<std::string(const std::string&)>& reply,
                       const char* scenario = "object") {
    std::string probe = std::string(SOLBRIM_BUILD_DIR) + "/tests/host/error_probe";
    char stateHome[] = "/tmp/solbrim-probe-state-XXXXXX";
    EXPECT_NE(mkdtemp(stateHome), nullptr);
    int toChild[2], fromChild[2], errPipe[2];
    EXPECT_EQ(pipe(toChild), 0);
    EXPECT_EQ(pipe(fromChild), 0);
    EXPECT_EQ(pipe(errPipe), 0);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(toChild[0], 0);
        dup2(fromChild[1], 1);
        dup2(errPipe[1], 2);
        for (int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1], errPipe[0], errPipe[1]}) close(fd);
        setenv("XDG_STATE_HOME", stateHome, 1);
        execl(probe.c_str(), probe.c_str(), scenario, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    close(errPipe[1]);
    std::string line;
    char c;
    while (read(fromChild[0], &c, 1) == 1 && c != '\n') line += c;
    std::string commands = reply(line);
    EXPECT_EQ(write(toChild[1], commands.data(), commands.size()), static_cast<ssize_t>(commands.size()));
    close(toChild[1]);
    Outcome r;
    auto drain = [](int fd) {
        std::string text;
        char buffer[512];
        ssize_t n;
        while ((n = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
        close(fd);
        return text;
    };
    r.out = drain(fromChild[0]);
    r.err = drain(errPipe[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.reports = CrashReports(stateHome);
    std::filesystem::remove_all(stateHome);
    return r;
}

TEST(DebugCommands, AtSignShowsTheDebugTextOfALiveCollectedObject) {
    Outcome r = RunObjectProbe([](const std::string& address) { return "@" + address + "\nq\n"; });
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Vellum Runtime Error : inspect\n\n");
    EXPECT_EQ(r.err, kMarker + "+Probe\n");
}

TEST(DebugCommands, AtSignInsideAnObjectIsNotFollowed) {
    // An address a few bytes into a live object is not an object.
    Outcome r = RunObjectProbe([](const std::string& address) {
        unsigned long long p = std::strtoull(address.c_str(), nullptr, 16);
        char text[64];
        std::snprintf(text, sizeof text, "@%llx\nq\n", p + 8);
        return std::string(text);
    });
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, kMarker + "\n");
}

TEST(DebugCommands, AtSignWithArbitraryAddressesGivesAnEmptyLine) {
    Outcome r = RunProbe({"error", "boom"}, "@0x10\n@0xdeadbeefcafe\n@nonsense\n@\n@0\nq\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, kMarker + "\n\n\n\n\n");
}

TEST(Faults, IntegerDivisionByZero) {
    Outcome r = RunProbe({"divzero"});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, "Vellum Runtime Error : Integer divide by zero\n\n");
}

TEST(Faults, MemoryAccessViolation) {
    Outcome r = RunProbe({"segv"});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, "Vellum Runtime Error : Memory access violation\n\n");
}

TEST(Faults, StackOverflowIsCaughtOnTheAlternateStack) {
    Outcome r = RunProbe({"stack"});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, "Vellum Runtime Error : Stack overflow\n\n");
}

TEST(Faults, IllegalInstruction) {
    Outcome r = RunProbe({"illegal"});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, "Vellum Runtime Error : Illegal instruction\n\n");
}

TEST(Faults, FaultReportsServeTheDebugLoopToo) {
    Outcome r = RunProbe({"divzero"}, "r\nq\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Vellum Runtime Error : Integer divide by zero\n\n"
                     "Vellum Runtime Error : Integer divide by zero\n\n");
}

TEST(Faults, MessageTable) {
    EXPECT_STREQ(FaultMessage(SIGSEGV, SEGV_MAPERR, false), "Memory access violation");
    EXPECT_STREQ(FaultMessage(SIGBUS, BUS_ADRERR, false), "Memory access violation");
    EXPECT_STREQ(FaultMessage(SIGSEGV, SEGV_MAPERR, true), "Stack overflow");
    EXPECT_STREQ(FaultMessage(SIGILL, ILL_ILLOPC, false), "Illegal instruction");
    EXPECT_STREQ(FaultMessage(SIGFPE, FPE_INTDIV, false), "Integer divide by zero");
    EXPECT_STREQ(FaultMessage(SIGFPE, FPE_INTOVF, false), "Unknown exception");
    EXPECT_STREQ(FaultMessage(SIGFPE, FPE_FLTDIV, false), "Unknown exception");
}

TEST(UncaughtExceptions, DieReportsAndExitsMinusOne) {
    for (const char* scenario : {"die", "throw-in-delegate", "throw-in-init"}) {
        Outcome r = RunProbe({scenario});
        EXPECT_EQ(r.status, 255) << scenario;
        EXPECT_EQ(r.out, "Vellum Runtime Error : Uncaught Vellum Exception\n") << scenario;
    }
}

// ---- crash reports ----------------------------------------------------------

// What every report must give a bug report: the message as printed, the
// version, and a backtrace naming functions of the program.
void ExpectReportOf(const Outcome& r, const std::string& message) {
    ASSERT_EQ(r.reports.size(), 1u) << message;
    const std::string& report = r.reports[0];
    EXPECT_NE(report.find("Message: Vellum Runtime Error : " + message + "\n"), std::string::npos) << report;
    EXPECT_NE(report.find("Version: " + std::string(kGameVersion) + "\n"), std::string::npos) << report;
    EXPECT_NE(report.find("error_probe(_Z"), std::string::npos) << report;
}

TEST(CrashReports, EveryWayOfFailingLeavesOneReportAndChangesNothingElse) {
    Outcome r = RunProbe({"error", "boom"});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, kBanner);
    EXPECT_EQ(r.err, kMarker);
    ExpectReportOf(r, "boom");
    EXPECT_EQ(r.reports[0].find("Signal:"), std::string::npos);
    // The error's own printed lines are among the last lines.
    EXPECT_TRUE(r.reports[0].ends_with("Last printed lines:\nVellum Runtime Error : boom\n\n")) << r.reports[0];

    r = RunProbe({"segv"});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, "Vellum Runtime Error : Memory access violation\n\n");
    ExpectReportOf(r, "Memory access violation");
    EXPECT_NE(r.reports[0].find("Signal: SIGSEGV (11)\n"), std::string::npos);

    for (const char* scenario : {"die", "throw-in-delegate", "throw-in-init"}) {
        r = RunProbe({scenario});
        EXPECT_EQ(r.status, 255) << scenario;
        ExpectReportOf(r, "Uncaught Vellum Exception");
    }
}

TEST(CrashReports, FaultsOfEveryKindAreReported) {
    struct Case {
        const char* scenario;
        const char* message;
        const char* signal;
    } cases[] = {{"divzero", "Integer divide by zero", "SIGFPE (8)"},
                 {"illegal", "Illegal instruction", "SIGILL (4)"},
                 {"stack", "Stack overflow", "SIGSEGV (11)"}};
    for (const Case& c : cases) {
        Outcome r = RunProbe({c.scenario});
        EXPECT_EQ(r.status, 255) << c.scenario;
        ExpectReportOf(r, c.message);
        EXPECT_NE(r.reports[0].find(std::string("Signal: ") + c.signal + "\n"), std::string::npos) << c.scenario;
    }
}

TEST(CrashReports, ReportingTheErrorAgainWritesNoSecondReport) {
    Outcome r = RunProbe({"error", "boom"}, "r\nr\n");
    EXPECT_EQ(r.out, kBanner + kBanner + kBanner);
    EXPECT_EQ(r.reports.size(), 1u);
}

TEST(CrashReports, TwelveCrashesLeaveTheTenNewest) {
    char stateHome[] = "/tmp/solbrim-probe-state-XXXXXX";
    ASSERT_NE(mkdtemp(stateHome), nullptr);
    for (int i = 1; i <= 12; ++i) RunProbe({"error", "crash number " + std::to_string(i)}, "", stateHome);
    std::vector<std::string> reports = CrashReports(stateHome);
    std::filesystem::remove_all(stateHome);
    ASSERT_EQ(reports.size(), 10u);
    EXPECT_NE(reports.front().find("crash number 3\n"), std::string::npos);
    EXPECT_NE(reports.back().find("crash number 12\n"), std::string::npos);
}

TEST(CrashReports, AStateFolderThatCannotBeWrittenChangesNothing) {
    char stateHome[] = "/tmp/solbrim-probe-state-XXXXXX";
    ASSERT_NE(mkdtemp(stateHome), nullptr);
    std::string home = stateHome;
    // A file where the game's folder should be: root can write anywhere, so
    // permissions alone would not stop it.
    std::ofstream(home + "/solbrim") << "not a folder";
    for (const char* scenario : {"error", "segv"}) {
        Outcome r = RunProbe({scenario, "boom"}, "", home);
        Outcome expected = RunProbe({scenario, "boom"});
        EXPECT_EQ(r.status, expected.status) << scenario;
        EXPECT_EQ(r.out, expected.out) << scenario;
        EXPECT_EQ(r.err, expected.err) << scenario;
    }
    EXPECT_EQ(Slurp(home + "/solbrim"), "not a folder");
    std::filesystem::remove_all(home);
}

TEST(CrashReports, AFaultWhileFailingEndsTheProcessAtOnce) {
    // A fault in the debug loop of a runtime error ends the process with the
    // same exit code, with no second report and no loop.
    auto started = std::chrono::steady_clock::now();
    Outcome r = RunObjectProbe([](const std::string& address) { return "@" + address + "\n@" + address + "\n"; },
                               "faulty-object");
    EXPECT_EQ(r.status, 255);
    std::size_t first = r.out.find("Vellum Runtime Error : ");
    EXPECT_NE(first, std::string::npos);
    EXPECT_EQ(r.out.find("Vellum Runtime Error : ", first + 1), std::string::npos) << "reported again\n" << r.out;
    EXPECT_EQ(r.reports.size(), 1u);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
}

// ---- after a signal -----------------------------------------------------------

const std::string kSegvBanner = "Vellum Runtime Error : Memory access violation\n\n";

bool SanitizerTookIt(const Outcome& r) { return r.err.find("Sanitizer") != std::string::npos; }

TEST(AfterASignal, AFaultWhileAnotherThreadHoldsTheAllocatorLockStillEnds) {
    Outcome r = RunProbe({"segv-under-allocator-lock"}, "", "", std::chrono::seconds(5));
    if (r.status == 4 || SanitizerTookIt(r)) GTEST_SKIP() << "the allocator's lock cannot be held here";
    ASSERT_NE(r.status, kHung) << "still running after 5 s";
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, kSegvBanner);
    EXPECT_EQ(r.err, kMarker);
    ExpectReportOf(r, "Memory access violation");
}

TEST(AfterASignal, AbortsAreReportedLikeFaults) {
    // glibc aborts on the double free after printing its own line.
    for (const char* scenario : {"abort", "double-free"}) {
        Outcome r = RunProbe({scenario}, "", "", std::chrono::seconds(20));
        if (SanitizerTookIt(r)) continue;
        EXPECT_EQ(r.status, 255) << scenario << "\n" << r.err;
        EXPECT_EQ(r.out, "Vellum Runtime Error : Unknown exception\n\n") << scenario;
        EXPECT_TRUE(r.err.ends_with(kMarker)) << scenario << "\n" << r.err;
        ExpectReportOf(r, "Unknown exception");
        if (!r.reports.empty()) {
            EXPECT_NE(r.reports[0].find("Signal: SIGABRT (6)\n"), std::string::npos) << scenario;
        }
    }
}

TEST(AfterASignal, AFaultBeforeTheWindowOpensIsReported) {
    Outcome r = RunProbe({"segv-at-start"}, "", "", std::chrono::seconds(20));
    if (SanitizerTookIt(r)) GTEST_SKIP() << "the address sanitizer handles SIGSEGV itself in this build";
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, kSegvBanner);
    ExpectReportOf(r, "Memory access violation");
    if (!r.reports.empty()) {
        EXPECT_NE(r.reports[0].find("Window: not open yet\n"), std::string::npos);
    }
}

TEST(AfterASignal, TheDebugLoopKeepsItsTextsOrderAndExitCodes) {
    struct Case {
        std::string input;
        int status;
        std::string out, err;
    } cases[] = {
        {"", 255, kSegvBanner, kMarker},
        {"q\n", 0, kSegvBanner, kMarker},
        {"?\nx\n", 255, kSegvBanner + "????? x ?????", kMarker},
        {"r\ne\nq\n", 0, kSegvBanner + kSegvBanner + kSegvBanner, kMarker + kMarker + kMarker},
        // 254 characters and the newline are one line; 255 are too many.
        {"?" + std::string(253, 'y') + "\nq\n", 0, kSegvBanner, kMarker},
        {"?" + std::string(254, 'y') + "\nq\n", 255, kSegvBanner, kMarker},
        {"?\nq", 255, kSegvBanner, kMarker},
    };
    for (const Case& c : cases) {
        Outcome r = RunProbe({"segv"}, c.input, "", std::chrono::seconds(20));
        if (SanitizerTookIt(r)) GTEST_SKIP() << "the address sanitizer handles SIGSEGV itself in this build";
        EXPECT_EQ(r.status, c.status) << c.input;
        EXPECT_EQ(r.out, c.out) << c.input;
        EXPECT_EQ(r.err, c.err) << c.input;
        EXPECT_EQ(r.reports.size(), 1u) << c.input;
    }
}

// Following an object needs the collector, which the fault may have
// interrupted: even a live object's address gets an empty line, so the
// faulty object's text is never asked for.
TEST(AfterASignal, AtSignAnswersAnEmptyLine) {
    Outcome r = RunObjectProbe([](const std::string& address) { return "@" + address + "\n?\nx\n"; },
                               "faulty-object-segv");
    if (SanitizerTookIt(r)) GTEST_SKIP() << "the address sanitizer handles SIGSEGV itself in this build";
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, kSegvBanner + "????? x ?????");
    EXPECT_EQ(r.err, kMarker + "\n");
    EXPECT_EQ(r.reports.size(), 1u);
}

}  // namespace
