// Sol Brim: the program entry point.
#include "host/entry_point.h"
#include "host/hx_game.h"
#include "host/hx_vellum_game.h"
#include "host/runtime_error.h"
#include "runtime/ref.h"

namespace {

// Until the application classes stand, the program runs on a delegate of
// its own: the loop runs, events are dispatched, and the close button quits.
class QuitOnCloseDelegate : public HxGameDelegate {
public:
    void KeyEvent(int event, int data) override {
        if (event == EVENT_KEY_DOWN && data == KEY_CLOSE) Error(String());
    }
};

Global<Ref<HxGameDelegate>> gDelegate;

void InitGlobals() {}

void CreateApp() {
    gDelegate = new QuitOnCloseDelegate();
    HxGame::Current()->SetDelegate(gDelegate);
}

}  // namespace

int main(int argc, char** argv) {
    OpenGameWindow();
    HxGame* host = new HxVellumGame();
    InitProgram(argc, argv, InitGlobals, CreateApp);
    RunAndExit(host);
}
