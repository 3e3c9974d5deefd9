// End-to-end test support: runs the real game binary under the test's X
// display and drives it like a player and a window manager would.
//
//   GameProcess game;                      // binary ${SOLBRIM_BUILD_DIR}/solbrim
//   ASSERT_TRUE(game.Start());             // fresh working dir with data -> build data
//   std::string id = game.WaitForWindow(); // "" on timeout
//   WindowGeometry g = game.Geometry();    // x, y, width, height from xwininfo
//   game.Title();                          // the window name
//   game.Focus(); game.Key("Left");        // X keysym names, through XTEST
//   game.KeyDown("space"); game.KeyUp("space");
//   game.Click(100, 50);                   // window coordinates, button 1
//   game.Screenshot(path);                 // PNG of the window (ImageMagick import)
//   game.SendCloseRequest();               // WM_DELETE_WINDOW, as a window manager
//   std::optional<int> rc = game.WaitExit(10);  // exit status; exit(-1) shows as 255
//   game.Stdout(); game.Stderr();          // everything the game printed so far
//   game.WorkDir();                        // e.g. to inspect ".vellumstate"
//
// Options set a different binary or working directory, extra environment
// ("NAME=value") and whether "data" links to ${SOLBRIM_BUILD_DIR}/data.
// Start-up failures: see PrivateXServer below.
// Standard input is /dev/null, so a runtime error ends the game with 255.
// The destructor kills a game that is still running and removes a working
// directory it created. Tests using this must run serially (they share the
// display and its pointer and keyboard focus): solbrim_test(... SERIAL).
#pragma once
#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct WindowGeometry {
    int x = 0, y = 0, width = 0, height = 0;
};

class GameProcess {
public:
    struct Options {
        std::string binary;   // default: ${SOLBRIM_BUILD_DIR}/solbrim
        std::string workDir;  // default: a new temporary directory
        bool linkData = true;
        std::vector<std::string> env;  // added to (or replacing in) the test's environment
    };

    GameProcess();
    explicit GameProcess(Options options);
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    bool Start();
    pid_t Pid() const { return pid_; }
    bool Running();
    const std::string& WorkDir() const { return workDir_; }
    const std::string& WindowId() const { return windowId_; }

    // Waits until the game's window is mapped; its id, or "" on timeout.
    std::string WaitForWindow(double timeoutSeconds = 20);
    WindowGeometry Geometry() const;
    std::string Title() const;

    void Focus();
    void Key(const std::string& keysym);
    void KeyDown(const std::string& keysym);
    void KeyUp(const std::string& keysym);
    void MoveMouse(int x, int y);
    void Click(int x, int y, int button = 1);
    bool Screenshot(const std::string& pngPath) const;
    bool SendCloseRequest() const;

    // The exit status (WEXITSTATUS, or 128 + signal), or nothing on timeout.
    std::optional<int> WaitExit(double timeoutSeconds = 20);
    std::string Stdout() const;
    std::string Stderr() const;

private:
    Options options_;
    std::string workDir_;
    bool ownsWorkDir_ = false;
    pid_t pid_ = -1;
    std::optional<int> exitStatus_;
    std::string windowId_;
};

// A private X server (Xvfb) for tests that need a display unlike the
// shared one, e.g. without the GLX extension:
//   PrivateXServer x({"-extension", "GLX"});
//   options.env = {"DISPLAY=" + x.Display()};
class PrivateXServer {
public:
    explicit PrivateXServer(const std::vector<std::string>& extraArgs = {});
    ~PrivateXServer();
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;
    // ":N", or "" when the server did not start.
    const std::string& Display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

// The build under test: ${SOLBRIM_BUILD_DIR} as the test runs, else the
// folder it was built in.
std::string BuildFolder();

// Runs a command through the shell; its standard output, and its exit status
// in *status when given.
std::string RunCommand(const std::string& command, int* status = nullptr);
// RunCommand for X clients (xdotool, xwininfo, import, ...): tried again a
// few times while it fails, because a busy X server can refuse a connection
// for a moment.
std::string RunX11Command(const std::string& command, int* status = nullptr);
// Quotes a string for the shell.
std::string ShellQuote(const std::string& text);
// Number of distinct colours in an image file (ImageMagick identify %k).
int CountColours(const std::string& imagePath);
struct Rgb {
    int r = -1, g = -1, b = -1;
};
// The colour of one pixel of an image file, 0..255 each; all -1 when the
// file cannot be read.
Rgb PixelColour(const std::string& imagePath, int x, int y);
// Number of pixels that differ between two images of the same size, or -1.
long DifferingPixels(const std::string& a, const std::string& b);
// Polls until predicate holds or the timeout passes; the predicate's last value.
bool WaitUntil(double timeoutSeconds, const std::function<bool()>& predicate);
std::string ReadFile(const std::string& path);
