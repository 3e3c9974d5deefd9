#include "app/stack.h"

void c_Stack::Mark() { gc_mark(data); }

int c_Stack::Length() { return length; }

c_IAsyncEventSource* c_Stack::Get(int index) { return data[index]; }

void c_Stack::Push(c_IAsyncEventSource* source) {
    if (length == data.Length()) data = data.Resize(length < 8 ? 8 : length * 2);
    data[length++] = source;
}
