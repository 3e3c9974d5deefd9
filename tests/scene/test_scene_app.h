// c_TestSceneApp: a small moving scene that shows the framework working
// end to end until the game proper takes its place: shapes orbit and spin
// at 60 updates per second, the background changes colour with every key
// press, a marker follows the mouse and a cross marks the last click. Key
// presses and clicks are also reported on standard output ("key 65",
// "click 100 50"); the close button quits.
#pragma once
#include "app/app.h"

class c_TestSceneApp : public c_App {
public:
    int OnCreate() override;
    int OnUpdate() override;
    int OnRender() override;

    int ticks = 0;
    int palette = 0;
    bool clicked = false;
    float clickX = 0, clickY = 0;

private:
    void DrawText(const char* text, float x, float y);
};
