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

void Xdotool(const std::string& args) { RunX11Command("xdotool " + args + " >/dev/null 2>&1"); }

}  // namespace

// The shared X server sometimes refuses a connection for a moment when it
// is busy; a command that fails is tried again a few times.
std::string RunX11Command(const std::string& command, int* status) {
    int rc = 0;
    std::string out;
    for (int attempt = 0; attempt < 10; ++attempt) {
        out = RunCommand(command, &rc);
        if (rc == 0) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (status) *status = rc;
    return out;
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

Rgb PixelColour(const std::string& imagePath, int x, int y) {
    std::string p = "p{" + std::to_string(x) + "," + std::to_string(y) + "}";
    auto channel = [&](const char* c) { return "%[fx:int(255*" + p + "." + c + "+0.5)]"; };
    int status = 0;
    std::string out = RunCommand("convert " + ShellQuote(imagePath) + " -format '" + channel("r") + " " +
                                     channel("g") + " " + channel("b") + "' info: 2>/dev/null",
                                 &status);
    Rgb rgb;
    if (status != 0 || std::sscanf(out.c_str(), "%d %d %d", &rgb.r, &rgb.g, &rgb.b) != 3) return Rgb{};
    return rgb;
}

int CountColours(const std::string& imagePath) {
    int status = 0;
    std::string out = RunCommand("identify -format %k " + ShellQuote(imagePath) + " 2>/dev/null", &status);
    return status == 0 ? std::atoi(out.c_str()) : -1;
}

long DifferingPixels(const std::string& a, const std::string& b) {
    // compare prints the count on standard error and exits 1 when they differ.
    int status = 0;
    std::string out = RunCommand("compare -metric AE " + ShellQuote(a) + " " + ShellQuote(b) + " null: 2>&1", &status);
    if (status != 0 && status != 1) return -1;
    return std::atol(out.c_str());
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

std::string GameProcess::WaitForWindow(double timeoutSeconds) {
    std::string command = "xdotool search --onlyvisible --pid " + std::to_string(pid_) + " 2>/dev/null";
    WaitUntil(timeoutSeconds, [&] {
        std::string out = RunCommand(command);
        windowId_ = out.substr(0, out.find('\n'));
        return !windowId_.empty() || !Running();
    });
    return windowId_;
}

WindowGeometry GameProcess::Geometry() const {
    WindowGeometry g;
    std::istringstream info(RunX11Command("xwininfo -id " + windowId_ + " 2>/dev/null"));
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
    std::string out = RunX11Command("xdotool getwindowname " + windowId_ + " 2>/dev/null");
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

void GameProcess::Focus() { Xdotool("windowfocus " + windowId_); }

void GameProcess::Key(const std::string& keysym) { Xdotool("key " + ShellQuote(keysym)); }

void GameProcess::KeyDown(const std::string& keysym) { Xdotool("keydown " + ShellQuote(keysym)); }

void GameProcess::KeyUp(const std::string& keysym) { Xdotool("keyup " + ShellQuote(keysym)); }

void GameProcess::MoveMouse(int x, int y) {
    Xdotool("mousemove --window " + windowId_ + " " + std::to_string(x) + " " + std::to_string(y));
}

void GameProcess::Click(int x, int y, int button) {
    MoveMouse(x, y);
    Xdotool("click " + std::to_string(button));
}

bool GameProcess::Screenshot(const std::string& pngPath) const {
    int status = 0;
    RunX11Command("import -window " + windowId_ + " " + ShellQuote(pngPath) + " >/dev/null 2>&1", &status);
    return status == 0;
}

bool GameProcess::SendCloseRequest() const {
    int status = 0;
    RunX11Command(ShellQuote(HelperPath()) + " " + windowId_ + " 2>&1", &status);
    return status == 0;
}

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
