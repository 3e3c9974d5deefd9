#include "app/app.h"

#include "app/framework.h"
#include "host/runtime_error.h"

c_App::c_App() {
    if (gApp) Error(String("App has already been created"));
    gApp = this;
    gGameDelegate = new c_GameDelegate();
    HxGame::Current()->SetDelegate(gGameDelegate);
}
