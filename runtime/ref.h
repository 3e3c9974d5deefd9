// Ref<T>: the one way a field, array element or global holds a collected
// object. Every store (construction, assignment) hands the new value to the
// collector first, so no store can forget the barrier.
//
// Global<H>: a Ref<T> or Array<T> that is a collector root. Declare every
// global that holds references as Global<...>; it registers itself.
#pragma once
#include <type_traits>
#include <utility>

#include "runtime/gc.h"

template <class T>
class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    Ref(T* p) : p_(p) { Barrier(); }
    Ref(const Ref& o) : p_(o.p_) { Barrier(); }
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(const Ref<U>& o) : p_(o.get()) { Barrier(); }

    Ref& operator=(T* p) {
        p_ = p;
        Barrier();
        return *this;
    }
    Ref& operator=(const Ref& o) { return *this = o.p_; }
    Ref& operator=(std::nullptr_t) {
        p_ = nullptr;
        return *this;
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    operator T*() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    void Barrier() const {
        if (p_) gc::Enqueue(const_cast<gc_object*>(static_cast<const gc_object*>(p_)));
    }
    T* p_ = nullptr;
};

template <class T>
inline void gc_mark(const Ref<T>& r) {
    if (r) gc::Mark(const_cast<gc_object*>(static_cast<const gc_object*>(r.get())));
}

template <class T>
inline void gc_enqueue_handle(const Ref<T>& r) {
    if (r) gc::Enqueue(const_cast<gc_object*>(static_cast<const gc_object*>(r.get())));
}

template <class H>
class Global : public H, public GcRoot {
public:
    using H::H;
    Global() = default;
    Global(const H& h) : H(h) {}
    Global& operator=(const H& h) {
        H::operator=(h);
        return *this;
    }
    template <class V>
    Global& operator=(V&& v) {
        H::operator=(std::forward<V>(v));
        return *this;
    }
    void EnqueueRoot() override { gc_enqueue_handle(static_cast<const H&>(*this)); }
};
