// The runtime error, the debug command loop and the fault handlers, checked
// on a small probe program run as a child process.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "host/runtime_error.h"

namespace {

struct Outcome {
    int status = -1;  // exit code, or 128 + signal
    std::string out, err;
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs the probe with stdinText on standard input (closed after it).
Outcome RunProbe(const std::vector<std::string>& args, const std::string& stdinText = "") {
    std::string probe = std::string(SOLBRIM_BUILD_DIR) + "/tests/host/error_probe";
    char dir[] = "/tmp/solbrim-probe-XXXXXX";
    EXPECT_NE(mkdtemp(dir), nullptr);
    std::string in = std::string(dir) + "/in", out = std::string(dir) + "/out", err = std::string(dir) + "/err";
    std::ofstream(in, std::ios::binary) << stdinText;
    pid_t pid = fork();
    if (pid == 0) {
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
    int status = 0;
    waitpid(pid, &status, 0);
    Outcome r;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = Slurp(out);
    r.err = Slurp(err);
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
Outcome RunObjectProbe(const std::function<std::string(const std::string&)>& reply) {
    std::string probe = std::string(SOLBRIM_BUILD_DIR) + "/tests/host/error_probe";
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
        execl(probe.c_str(), probe.c_str(), "object", static_cast<char*>(nullptr));
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

}  // namespace
