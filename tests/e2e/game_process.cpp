#include "tests/e2e/game_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

std::string BuildFolder() {
    const char* dir = std::getenv("SOLBRIM_BUILD_DIR");
    return dir ? dir : SOLBRIM_BUILD_DIR;
}

namespace {

std::string HelperPath() { return BuildFolder() + "/tests/e2e/send_close_request"; }

// The test's environment with the given NAME=value entries added or replaced.
std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extra) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        std::string name = entry.substr(0, entry.find('='));
        bool replaced = false;
        for (const std::string& x : extra)
            if (x.substr(0, x.find('=')) == name) replaced = true;
        if (!replaced) env.push_back(entry);
    }
    for (const std::string& x : extra) env.push_back(x);
    return env;
}

void Xdotool(const std::string& args) { RunHelper("xdotool " + args); }

// Holds something down (a key, a button) until `shows` holds twice in a row;
// `up` runs even when a helper fails, so no key stays down for later tests.
bool HoldUntil(const std::function<void()>& up, double timeoutSeconds, const std::function<bool()>& shows) {
    struct Release {
        const std::function<void()>& up;
        ~Release() {
            try {
                up();
            } catch (const HelperFailed&) {
                // The failure that matters is already on its way.
            }
        }
    } release{up};
    return WaitUntilSteady(timeoutSeconds, shows);
}

struct HelperRun {
    int status = -1;
    std::string out, err;
};

// A helper that hangs (import on a window that has gone away waits for
// ever) is stopped after this long and counts as failed.
constexpr int kHelperSeconds = 60;

// Standard error goes to a scratch file so that it can be shown apart from
// the output the caller parses.
HelperRun RunCapturing(const std::string& command) {
    char errPath[] = "/tmp/solbrim-helper-XXXXXX";
    int fd = mkstemp(errPath);
    if (fd < 0) throw HelperFailed("cannot make a scratch file for: " + command);
    close(fd);
    HelperRun run;
    run.out = RunCommand("timeout --kill-after=5 " + std::to_string(kHelperSeconds) + " sh -c " + ShellQuote(command) +
                             " 2>" + ShellQuote(errPath),
                         &run.status);
    run.err = ReadFile(errPath);
    std::remove(errPath);
    return run;
}

std::string Describe(const std::string& command, const HelperRun& run) {
    std::string how = run.status == 124 || run.status == 137
                          ? "helper still running after " + std::to_string(kHelperSeconds) + " s"
                          : "helper failed with status " + std::to_string(run.status);
    return how + ": " + command + "\nstdout: " + run.out + "\nstderr: " + run.err;
}

}  // namespace

std::string RunHelper(const std::string& command, int alsoFine) {
    HelperRun run = RunCapturing(command);
    if (run.status != 0 && run.status != alsoFine) throw HelperFailed(Describe(command, run));
    return run.out;
}

std::string ShellQuote(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

std::string RunCommand(const std::string& command, int* status) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        if (status) *status = -1;
        return output;
    }
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    int rc = pclose(pipe);
    if (status) *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return output;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool WaitUntil(double timeoutSeconds, const std::function<bool()>& predicate) {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    for (;;) {
        if (predicate()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

bool WaitUntilSteady(double timeoutSeconds, const std::function<bool()>& predicate) {
    int hits = 0;
    return WaitUntil(timeoutSeconds, [&] {
        hits = predicate() ? hits + 1 : 0;
        return hits >= 2;
    });
}

bool KeepsHolding(double seconds, const std::function<bool()>& predicate) {
    int misses = 0;
    return !WaitUntil(seconds, [&] {
        misses = predicate() ? 0 : misses + 1;
        return misses >= 2;
    });
}

WindowGeometry ScreenSize() {
    std::istringstream size(RunHelper("xdotool getdisplaygeometry"));
    WindowGeometry screen;
    size >> screen.width >> screen.height;
    return screen;
}

Rgb PixelColour(const std::string& imagePath, int x, int y) {
    std::string p = "p{" + std::to_string(x) + "," + std::to_string(y) + "}";
    auto channel = [&](const char* c) { return "%[fx:int(255*" + p + "." + c + "+0.5)]"; };
    std::string out = RunHelper("convert " + ShellQuote(imagePath) + " -format '" + channel("r") + " " +
                                channel("g") + " " + channel("b") + "' info:");
    Rgb rgb;
    if (std::sscanf(out.c_str(), "%d %d %d", &rgb.r, &rgb.g, &rgb.b) != 3) return Rgb{};
    return rgb;
}

int CountColours(const std::string& imagePath) {
    return std::atoi(RunHelper("identify -format %k " + ShellQuote(imagePath)).c_str());
}

// compare looks for the smaller image inside a larger one instead of
// refusing, and then reports how well it fits, so the sizes are checked first.
long DifferingPixels(const std::string& a, const std::string& b) {
    std::string sizes = RunHelper("identify -format '%wx%h\\n' " + ShellQuote(a) + " " + ShellQuote(b));
    std::istringstream lines(sizes);
    std::string sizeA, sizeB;
    lines >> sizeA >> sizeB;
    if (sizeA != sizeB)
        throw HelperFailed("compare: images of different sizes, " + a + " " + sizeA + ", " + b + " " + sizeB);
    // compare prints the count on standard error and exits 1 when they differ.
    std::string out = RunHelper("compare -metric AE " + ShellQuote(a) + " " + ShellQuote(b) + " null: 2>&1", 1);
    char* end = nullptr;
    long count = std::strtol(out.c_str(), &end, 10);
    if (end == out.c_str()) throw HelperFailed("compare printed no count for " + a + " and " + b + ": " + out);
    return count;
}

GameProcess::GameProcess() : GameProcess(Options{}) {}

GameProcess::GameProcess(Options options) : options_(std::move(options)) {
    if (options_.binary.empty()) options_.binary = BuildFolder() + "/solbrim";
}

GameProcess::~GameProcess() {
    if (pid_ > 0 && !exitStatus_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (ownsWorkDir_) {
        std::error_code ignored;
        std::filesystem::remove_all(workDir_, ignored);
    }
}

bool GameProcess::Start() {
    workDir_ = options_.workDir;
    if (workDir_.empty()) {
        char pattern[] = "/tmp/solbrim-e2e-XXXXXX";
        if (!mkdtemp(pattern)) return false;
        workDir_ = pattern;
        ownsWorkDir_ = true;
    }
    if (options_.linkData) {
        std::error_code ignored;
        std::filesystem::create_directory_symlink(BuildFolder() + "/data", workDir_ + "/data", ignored);
    }
    std::vector<std::string> env = MergedEnvironment(options_.env);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string out = workDir_ + "/stdout.txt", err = workDir_ + "/stderr.txt";

    pid_ = fork();
    if (pid_ < 0) return false;
    if (pid_ == 0) {
        int in = open("/dev/null", O_RDONLY);
        int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || o < 0 || e < 0 || chdir(workDir_.c_str()) != 0) _exit(127);
        dup2(in, 0);
        dup2(o, 1);
        dup2(e, 2);
        char* argv[] = {options_.binary.data(), nullptr};
        execve(options_.binary.c_str(), argv, envp.data());
        _exit(127);
    }
    return true;
}

bool GameProcess::Running() {
    if (pid_ <= 0 || exitStatus_) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
    exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
}

// xdotool search exits 1 and prints nothing while no window matches; any
// other failure (no display, say) is one the wait would only hide.
std::string GameProcess::WaitForWindow(double timeoutSeconds) {
    std::string command = "xdotool search --onlyvisible --pid " + std::to_string(pid_);
    WaitUntil(timeoutSeconds, [&] {
        HelperRun run = RunCapturing(command);
        bool noneYet = run.status == 1 && run.out.empty() && run.err.empty();
        if (run.status != 0 && !noneYet) throw HelperFailed(Describe(command, run));
        windowId_ = run.out.substr(0, run.out.find('\n'));
        return !windowId_.empty() || !Running();
    });
    return windowId_;
}

WindowGeometry GameProcess::Geometry() const {
    WindowGeometry g;
    std::istringstream info(RunHelper("xwininfo -id " + windowId_));
    std::string line;
    auto value = [](const std::string& l) { return std::atoi(l.substr(l.find(':') + 1).c_str()); };
    while (std::getline(info, line)) {
        if (line.find("Absolute upper-left X:") != std::string::npos) g.x = value(line);
        if (line.find("Absolute upper-left Y:") != std::string::npos) g.y = value(line);
        if (line.find("Width:") != std::string::npos) g.width = value(line);
        if (line.find("Height:") != std::string::npos) g.height = value(line);
    }
    return g;
}

std::string GameProcess::Title() const {
    std::string out = RunHelper("xdotool getwindowname " + windowId_);
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

void GameProcess::Focus() { Xdotool("windowfocus " + windowId_); }

void GameProcess::Key(const std::string& keysym) { Xdotool("key " + ShellQuote(keysym)); }

void GameProcess::KeyDown(const std::string& keysym) { Xdotool("keydown " + ShellQuote(keysym)); }

void GameProcess::KeyUp(const std::string& keysym) { Xdotool("keyup " + ShellQuote(keysym)); }

bool GameProcess::HoldKey(const std::string& keysym, double timeoutSeconds, const std::function<bool()>& shows) {
    KeyDown(keysym);
    if (!HoldUntil([&] { KeyUp(keysym); }, timeoutSeconds, shows)) return false;
    return AfterRelease(timeoutSeconds, shows);
}

void GameProcess::MoveMouse(int x, int y) {
    Xdotool("mousemove --window " + windowId_ + " " + std::to_string(x) + " " + std::to_string(y));
}

void GameProcess::MouseDown(int button) { Xdotool("mousedown " + std::to_string(button)); }

void GameProcess::MouseUp(int button) { Xdotool("mouseup " + std::to_string(button)); }

void GameProcess::Click(int x, int y, int button) {
    MoveMouse(x, y);
    Xdotool("click " + std::to_string(button));
}

bool GameProcess::HoldButton(int x, int y, double timeoutSeconds, const std::function<bool()>& shows,
                             const std::function<bool()>& afterwards) {
    MoveMouse(x, y);
    MouseDown();
    if (!HoldUntil([&] { MouseUp(); }, timeoutSeconds, shows)) return false;
    return AfterRelease(timeoutSeconds, afterwards ? afterwards : shows);
}

// The game lets a press act once and takes the next only after an update
// has seen everything let go; two more polls that still show the effect
// (a press's effect outlasts it) give it those updates before the next one.
bool GameProcess::AfterRelease(double timeoutSeconds, const std::function<bool()>& shows) {
    return WaitUntilSteady(timeoutSeconds, shows);
}

bool GameProcess::Drag(WindowPoint from, WindowPoint to, int steps, double timeoutSeconds,
                       const std::function<bool()>& shows) {
    MoveMouse(from.x, from.y);
    MouseDown();
    // One step a poll, so that updates see the pointer move (the update in
    // which the button goes down sees none); inside the hold, so that the
    // button is let go even when a move fails.
    if (!HoldUntil([&] { MouseUp(); }, timeoutSeconds, [&, step = 0]() mutable {
            if (step < steps) {
                ++step;
                MoveMouse(from.x + (to.x - from.x) * step / steps, from.y + (to.y - from.y) * step / steps);
            }
            return step == steps && shows();
        }))
        return false;
    return AfterRelease(timeoutSeconds, shows);
}

void GameProcess::Screenshot(const std::string& pngPath) const {
    RunHelper("import -window " + windowId_ + " " + ShellQuote(pngPath));
}

void GameProcess::SendCloseRequest() const { RunHelper(ShellQuote(HelperPath()) + " " + windowId_); }

std::optional<int> GameProcess::WaitExit(double timeoutSeconds) {
    WaitUntil(timeoutSeconds, [&] { return !Running(); });
    return exitStatus_;
}

std::string GameProcess::Stdout() const { return ReadFile(workDir_ + "/stdout.txt"); }

std::string GameProcess::Stderr() const { return ReadFile(workDir_ + "/stderr.txt"); }

PrivateXServer::PrivateXServer(const std::vector<std::string>& extraArgs) {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        close(fds[0]);
        int devnull = open("/dev/null", O_RDWR);
        dup2(devnull, 0);
        dup2(devnull, 1);
        dup2(devnull, 2);
        // The server writes its display number to this descriptor when ready.
        std::string fd = std::to_string(fds[1]);
        std::vector<std::string> args = {"Xvfb", "-displayfd", fd, "-nolisten", "tcp", "-screen", "0", "1024x768x24"};
        args.insert(args.end(), extraArgs.begin(), extraArgs.end());
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execvp("Xvfb", argv.data());
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (!number.empty()) display_ = ":" + number;
}

PrivateXServer::~PrivateXServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
}
