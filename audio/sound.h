// c_Sound: what the game holds for a loaded sound effect.
#pragma once
#include "audio/gxtk_sample.h"
#include "runtime/object.h"

class c_Sound : public Object {
public:
    c_Sound() = default;
    explicit c_Sound(gxtkSample* sample) : sample(sample) {}
    void Mark() override { gc_mark(sample); }
    // Lets go of the sample's buffer now instead of at collection.
    virtual int Discard();

    Ref<gxtkSample> sample;
};
