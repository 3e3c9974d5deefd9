// c_TunePlayer: the music generator. The game object owns one; it is driven
// only while `musicEnabled` is 1.
#pragma once
#include "runtime/object.h"

class c_TunePlayer : public Object {
public:
    c_TunePlayer() = default;
};
