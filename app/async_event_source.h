// c_IAsyncEventSource: something that has work to finish between updates
// (a download, a stream). UpdateAsyncEvents serves each registered source
// once per update. Nothing in the game registers one.
#pragma once
#include "runtime/object.h"

class c_IAsyncEventSource : public Object {
public:
    virtual void UpdateAsyncEvents() = 0;
};
