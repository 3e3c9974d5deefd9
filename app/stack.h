// c_Stack: the list of asynchronous event sources, in registration order.
#pragma once
#include "app/async_event_source.h"
#include "runtime/array.h"
#include "runtime/object.h"

class c_Stack : public Object {
public:
    c_Stack() = default;
    void Mark() override;

    virtual int Length();
    // No bounds test, like array indexing.
    virtual c_IAsyncEventSource* Get(int index);
    virtual void Push(c_IAsyncEventSource* source);

    Array<Ref<c_IAsyncEventSource>> data;
    int length = 0;
};
