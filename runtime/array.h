// Array<T>: a handle to a collected, fixed-length array of int, float, bool,
// String or Ref<X> elements. New elements are zero / empty / null.
//
// - The handle is a reference: storing it (construction, assignment) goes
//   through the barrier, like Ref<T>.
// - Elements of object arrays are Ref<X>, so element stores are barriered too.
// - Length 0 is represented by no representation at all: empty arrays never
//   allocate and are never collected.
// - Indexing is not bounds-tested; callers keep indices in range.
#pragma once
#include <cstddef>
#include <new>
#include <type_traits>

#include "runtime/gc.h"
#include "runtime/ref.h"
#include "runtime/string.h"

template <class T>
struct is_ref : std::false_type {};
template <class T>
struct is_ref<Ref<T>> : std::true_type {};

template <class T>
class ArrayRep final : public gc_object {
public:
    static ArrayRep* Make(int length) { return new (length) ArrayRep(length); }

    int length;

    T* Data() { return reinterpret_cast<T*>(this + 1); }

    void Mark() override {
        if constexpr (is_ref<T>::value) {
            T* d = Data();
            for (int i = 0; i < length; ++i) gc_mark(d[i]);
        }
    }

    ~ArrayRep() override {
        if constexpr (!std::is_trivially_destructible_v<T>) {
            T* d = Data();
            for (int i = 0; i < length; ++i) d[i].~T();
        }
    }

    static void* operator new(std::size_t size, int length) {
        return gc::Allocate(size + sizeof(T) * static_cast<std::size_t>(length));
    }
    static void operator delete(void* p, int) { gc_object::operator delete(p); }
    static void operator delete(void* p) { gc_object::operator delete(p); }

private:
    explicit ArrayRep(int n) : length(n) {
        T* d = Data();
        for (int i = 0; i < n; ++i) new (d + i) T();
    }
};

template <class T>
class Array {
public:
    using Element = T;

    Array() = default;
    explicit Array(int length) : rep_(length > 0 ? ArrayRep<T>::Make(length) : nullptr) { Barrier(); }
    Array(const Array& o) : rep_(o.rep_) { Barrier(); }
    Array& operator=(const Array& o) {
        rep_ = o.rep_;
        Barrier();
        return *this;
    }

    int Length() const { return rep_ ? rep_->length : 0; }
    T& operator[](int i) const { return rep_->Data()[i]; }
    T* begin() const { return rep_ ? rep_->Data() : nullptr; }
    T* end() const { return rep_ ? rep_->Data() + rep_->length : nullptr; }

    // A new array of the given length holding this one's leading elements.
    Array Resize(int length) const {
        Array out(length);
        int n = length < Length() ? length : Length();
        for (int i = 0; i < n; ++i) out[i] = (*this)[i];
        return out;
    }

    ArrayRep<T>* rep() const { return rep_; }
    bool SameAs(const Array& o) const { return rep_ == o.rep_; }

private:
    void Barrier() const {
        if (rep_) gc::Enqueue(rep_);
    }
    ArrayRep<T>* rep_ = nullptr;
};

template <class T>
inline void gc_mark(const Array<T>& a) {
    if (a.rep()) gc::Mark(a.rep());
}

template <class T>
inline void gc_enqueue_handle(const Array<T>& a) {
    if (a.rep()) gc::Enqueue(a.rep());
}
