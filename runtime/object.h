// Object: the root of every collected class of the framework and the game.
#pragma once
#include "runtime/array.h"
#include "runtime/gc.h"
#include "runtime/ref.h"
#include "runtime/string.h"

class Object : public gc_object {
public:
    virtual bool Equals(Object* other) { return other == this; }
    // The difference of the two addresses.
    virtual int Compare(Object* other);
    // Used by the debug command loop.
    virtual String DebugText() { return String("+Object\n"); }
};
