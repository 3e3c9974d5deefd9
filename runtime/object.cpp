#include "runtime/object.h"

#include <cstdint>

int Object::Compare(Object* other) {
    auto diff = reinterpret_cast<std::intptr_t>(this) - reinterpret_cast<std::intptr_t>(other);
    return static_cast<int>(diff);
}
