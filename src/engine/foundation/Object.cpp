#include "engine/foundation/Object.h"

#include <cstdio>

bool IsKindOf(const ClassInfo* a, const ClassInfo* b) {
    if (a == b) {
        return true;
    }
    for (const ClassInfo* const* base = a->bases; *base != nullptr; ++base) {
        if (IsKindOf(*base, b)) {
            return true;
        }
    }
    return false;
}

void Object::AddRef() {
    referenceCount_.fetch_add(1, std::memory_order_relaxed);
}

void Object::Release() {
    if (referenceCount_.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        Destroy();
    }
}

Object* Object::Self() {
    return this;
}

void Object::Destroy() {
    if (Self() != nullptr) {
        delete this;
    }
}

std::string Object::Dump() const {
    // The address is printed as a signed decimal number, cut to 32 bits as the
    // log format always has.
    char text[48];
    std::snprintf(text, sizeof text, "Address: %i; ",
                  static_cast<int>(reinterpret_cast<std::uintptr_t>(this)));
    return text;
}
