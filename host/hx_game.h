// HxGame: the platform-neutral host. One per process, created by the entry
// point before any application code and never destroyed. It forwards every
// event to the delegate under the started/suspended guards and runs one
// collector step after each delegate call.
#pragma once
#include <cstdio>
#include <string>

#include "host/hx_game_delegate.h"
#include "runtime/array.h"
#include "runtime/ref.h"
#include "runtime/string.h"

enum HostEvent {
    EVENT_KEY_DOWN = 1,
    EVENT_KEY_UP = 2,
    EVENT_KEY_CHAR = 3,
    EVENT_MOUSE_DOWN = 4,
    EVENT_MOUSE_UP = 5,
    EVENT_MOUSE_MOVE = 6,
    EVENT_TOUCH_DOWN = 7,
    EVENT_TOUCH_UP = 8,
    EVENT_TOUCH_MOVE = 9,
    EVENT_MOTION_ACCEL = 10,
};

constexpr int KEY_CLOSE = 432;

class HxGame {
public:
    HxGame();
    virtual ~HxGame();
    HxGame(const HxGame&) = delete;
    HxGame& operator=(const HxGame&) = delete;

    // The one host of the process (null before it is created).
    static HxGame* Current();

    virtual void SetDelegate(HxGameDelegate* delegate);
    virtual HxGameDelegate* Delegate();
    virtual void SetKeyboardEnabled(bool enabled);
    virtual bool KeyboardEnabled();
    virtual void SetUpdateRate(int rate);
    virtual int UpdateRate();
    virtual bool Started();
    virtual bool Suspended();
    virtual int Millisecs();
    virtual void GetDate(Array<int> date);
    virtual int SaveState(const String& state);
    virtual String LoadState();
    virtual String LoadString(const String& path);
    virtual bool PollJoystick(int port, Array<float> x, Array<float> y, Array<float> z, Array<bool> buttons);
    virtual void OpenUrl(const String& url);
    virtual void SetMouseVisible(bool visible);
    // Facts the platform's failure reports show, told by whoever knows them:
    // the window its size in pixels, the game its resolution level (1, 2 or
    // 4). A platform without failure reports ignores them.
    virtual void SetWindowSize(int width, int height);
    virtual void SetResolutionLevel(int level);
    // Whether the image files of a resolution level (1, 2 or 4) can be
    // opened now. A host that downloads them on demand answers false until
    // they are all in place; the desktop has every level.
    virtual bool ResolutionLevelPresent(int level);
    // Starts getting an absent level's files; asking again while they are
    // on their way, or after they failed to arrive, does nothing.
    virtual void FetchResolutionLevel(int level);
    virtual String PathToFilePath(const String& path);
    // The file path of path as the file system takes it, in bytes (the
    // folders found at start may not be UTF-8); "" when it cannot be opened.
    virtual std::string FileSystemPath(const String& path);
    virtual FILE* OpenFile(const String& path, const String& mode);
    // The whole file in a malloc'ed buffer (free with std::free), or null.
    virtual unsigned char* LoadData(const String& path, int* length);
    // OpenFile for reading a game file; a file that will not open is named,
    // with the reason, on standard error (host/asset_failures.h).
    FILE* OpenAsset(const String& path);
    // The host's main loop, if it has one; returns when the game is over.
    virtual void Run();
    [[noreturn]] virtual void Die(Object* exception);
    virtual void GcCollect();

    virtual void StartGame();
    virtual void SuspendGame();
    virtual void ResumeGame();
    virtual void UpdateGame();
    virtual void RenderGame();
    virtual void KeyEvent(int event, int data);
    virtual void MouseEvent(int event, int data, float x, float y);
    virtual void TouchEvent(int event, int data, float x, float y);
    virtual void MotionEvent(int event, int data, float x, float y, float z);
    virtual void DiscardGraphics();
    virtual void FocusLost();

protected:
    // The file LoadState and SaveState use, in bytes: where "./.vellumstate"
    // maps; "" when there is none.
    virtual std::string StateFilePath();

    Ref<HxGameDelegate> delegate_;
    bool keyboardEnabled_ = false;
    int updateRate_ = 0;
    bool started_ = false;
    bool suspended_ = false;

private:
    template <class Call>
    void Dispatch(Call&& call);
};
