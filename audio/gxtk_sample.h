// gxtkSample: one sound held whole in an OpenAL buffer.
#pragma once
#include "runtime/object.h"

class gxtkSample : public Object {
public:
    ~gxtkSample() override;
    // Hands the buffer to the discard list (a source may still be playing
    // it, so it cannot be deleted yet); the sample is silent afterwards.
    virtual int Discard();

    unsigned int buffer = 0;  // OpenAL buffer name; 0 when none
    // Which audio device made the buffer; buffers of a device that has been
    // closed are gone already and must not be listed for deletion.
    int deviceGeneration = 0;
};
