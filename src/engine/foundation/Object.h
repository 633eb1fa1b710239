#pragma once

#include <atomic>
#include <cstdint>
#include <string>

// Per-class type record: the records of the class's direct bases, null-terminated.
// Records are compared by address.
struct ClassInfo {
    const ClassInfo* const* bases;
};

// Whether class `a` is class `b` or derives from it, through any depth of bases.
bool IsKindOf(const ClassInfo* a, const ClassInfo* b);

template <typename... Bases>
inline constexpr const ClassInfo* kBaseRecords[] = {&Bases::classInfo..., nullptr};

// Gives a class derived from Object its own type record; list its direct bases
// that carry records, e.g. ENGINE_CLASS(Sprite, GameNode).
#define ENGINE_CLASS(Class, ...)                                              \
public:                                                                       \
    static constexpr ClassInfo classInfo{kBaseRecords<__VA_ARGS__>};          \
    const ClassInfo* GetClassInfo() const override { return &classInfo; }     \
                                                                              \
private:

// The reference-counted root of every engine object. A new object has no
// reference; whoever keeps it takes one; releasing the last one destroys it.
class Object {
public:
    static constexpr ClassInfo classInfo{kBaseRecords<>};

    Object() = default;
    Object(const Object&) : referenceCount_(0) {}
    Object& operator=(const Object&) { return *this; }
    virtual ~Object() = default;

    virtual void AddRef();
    virtual void Release();
    virtual Object* Self();
    virtual void Destroy();
    virtual const ClassInfo* GetClassInfo() const { return &classInfo; }
    virtual std::string Dump() const;

    int32_t ReferenceCount() const { return referenceCount_.load(std::memory_order_relaxed); }

    bool IsKindOf(const ClassInfo* target) const { return ::IsKindOf(GetClassInfo(), target); }

private:
    // Atomic because property trees read on the loader thread share constant
    // nodes (and the shared defaults) with the main thread.
    std::atomic<int32_t> referenceCount_ = 0;
};

// Casts to T when the object's class is T or derives from it, else null.
// dynamic_cast does the pointer arithmetic, which may cross between bases.
template <typename T>
T* ObjectCast(Object* object) {
    return object != nullptr && object->IsKindOf(&T::classInfo) ? dynamic_cast<T*>(object) : nullptr;
}

template <typename T>
const T* ObjectCast(const Object* object) {
    return object != nullptr && object->IsKindOf(&T::classInfo) ? dynamic_cast<const T*>(object) : nullptr;
}
