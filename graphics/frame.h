// c_Frame: where one frame of an image lies in its texture surface.
#pragma once
#include "runtime/object.h"

class c_Frame : public Object {
public:
    c_Frame() = default;
    c_Frame(int x, int y) : x(x), y(y) {}

    // Top-left corner in surface pixels.
    int x = 0;
    int y = 0;
};
