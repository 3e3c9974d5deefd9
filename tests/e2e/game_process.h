// End-to-end test support: runs the real game binary under the test's X
// display and drives it like a player and a window manager would.
//
//   GameProcess game;                      // binary ${SOLBRIM_BUILD_DIR}/solbrim
//   ASSERT_TRUE(game.Start());             // fresh working dir with data -> build data
//   std::string id = game.WaitForWindow(); // "" on timeout
//   WindowGeometry g = game.Geometry();    // x, y, width, height from xwininfo
//   game.Title();                          // the window name
//   game.Focus(); game.Key("F11");         // X keysym names, through XTEST
//   game.HoldKey("Return", 10, shows);     // down until shows() holds twice in a row
//   game.Click(100, 50);                   // window coordinates, button 1
//   game.HoldButton(16, 16, 10, shows);    // pressed there until shows() holds twice
//   game.Screenshot(path);                 // PNG of the window (ImageMagick import)
//   game.SendCloseRequest();               // WM_DELETE_WINDOW, as a window manager
//   std::optional<int> rc = game.WaitExit(10);  // exit status; exit(-1) shows as 255
//   game.Stdout(); game.Stderr();          // everything the game printed so far
//   game.WorkDir();                        // e.g. to inspect ".vellumstate"
//
// Options set a different binary or working directory, extra environment
// ("NAME=value") and whether "data" links to ${SOLBRIM_BUILD_DIR}/data.
// Start-up failures: see PrivateXServer below.
// Every X client call (xdotool, xwininfo, import, the close-request helper)
// that fails throws HelperFailed with the command, its status and what it
// printed, so the test stops there instead of going on blind.
// Standard input is /dev/null, so a runtime error ends the game with 255.
// The destructor kills a game that is still running and removes a working
// directory it created. Tests using this must run serially (they share the
// display and its pointer and keyboard focus): solbrim_test(... SERIAL).
#pragma once
#include <sys/types.h>

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A helper program (an X client, ImageMagick) that failed: the message holds
// the command, its exit status and its standard output and error. GoogleTest
// reports it as a failure of the test that was running.
class HelperFailed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct WindowGeometry {
    int x = 0, y = 0, width = 0, height = 0;
};

// A point in window coordinates.
struct WindowPoint {
    int x = 0, y = 0;
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
    // A key tapped: down and up at once. The game's controls read held keys
    // once an update, so a tap only suits what answers the key event itself
    // (F11, the scene's key lines); the controls need HoldKey.
    void Key(const std::string& keysym);
    void KeyDown(const std::string& keysym);
    void KeyUp(const std::string& keysym);
    // Holds the key down until `shows` holds on two polls in a row, or the
    // timeout passes, then lets it go and waits until `shows` holds on two
    // polls more; whether both waits succeeded. The key is let go either way.
    bool HoldKey(const std::string& keysym, double timeoutSeconds, const std::function<bool()>& shows);
    void MoveMouse(int x, int y);
    void MouseDown(int button = 1);
    void MouseUp(int button = 1);
    void Click(int x, int y, int button = 1);
    // Presses button 1 at (x, y) in the window and holds it like HoldKey;
    // after the release `afterwards` (when given) is watched instead of
    // `shows`, for an effect that passes quickly (an overlay that withdraws).
    bool HoldButton(int x, int y, double timeoutSeconds, const std::function<bool()>& shows,
                    const std::function<bool()>& afterwards = nullptr);
    // Presses button 1 at `from`, moves to `to` in `steps` even steps, one a
    // poll, and holds it there like HoldKey.
    bool Drag(WindowPoint from, WindowPoint to, int steps, double timeoutSeconds,
              const std::function<bool()>& shows);
    void Screenshot(const std::string& pngPath) const;
    void SendCloseRequest() const;

    // The exit status (WEXITSTATUS, or 128 + signal), or nothing on timeout.
    std::optional<int> WaitExit(double timeoutSeconds = 20);
    std::string Stdout() const;
    std::string Stderr() const;

private:
    bool AfterRelease(double timeoutSeconds, const std::function<bool()>& shows);

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

// The size of the test's X screen (xdotool getdisplaygeometry).
WindowGeometry ScreenSize();

// The build under test: ${SOLBRIM_BUILD_DIR} as the test runs, else the
// folder it was built in.
std::string BuildFolder();

// Runs a command through the shell; its standard output, and its exit status
// in *status when given. For commands whose failure the caller judges.
std::string RunCommand(const std::string& command, int* status = nullptr);
// Runs a helper program (X clients, ImageMagick) once; its standard output.
// Throws HelperFailed when it exits with a status other than 0 (or than
// `alsoFine`, e.g. compare's 1 for "the images differ").
std::string RunHelper(const std::string& command, int alsoFine = 0);
// Quotes a string for the shell.
std::string ShellQuote(const std::string& text);
// The image helpers below run ImageMagick through RunHelper: an unreadable
// file or images of different sizes throw HelperFailed.
// Number of distinct colours in an image file (ImageMagick identify %k).
int CountColours(const std::string& imagePath);
struct Rgb {
    int r = -1, g = -1, b = -1;
};
// The colour of one pixel of an image file, 0..255 each.
Rgb PixelColour(const std::string& imagePath, int x, int y);
// Number of pixels that differ between two images of the same size.
long DifferingPixels(const std::string& a, const std::string& b);
// Polls until predicate holds or the timeout passes; the predicate's last value.
bool WaitUntil(double timeoutSeconds, const std::function<bool()>& predicate);
// WaitUntil for what a screenshot shows: true once the predicate holds on two
// polls in a row. A screenshot taken while a frame is being copied into the
// window can show part of two frames, so one alone proves nothing.
bool WaitUntilSteady(double timeoutSeconds, const std::function<bool()>& predicate);
// The opposite watch: true when the predicate keeps holding for the whole
// time, where only two misses in a row count (one torn screenshot does not).
bool KeepsHolding(double seconds, const std::function<bool()>& predicate);
std::string ReadFile(const std::string& path);
