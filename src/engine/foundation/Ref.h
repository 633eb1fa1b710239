#pragma once

#include <utility>

// Counted holder of an engine object: takes a reference while it holds one.
template <typename T>
class Ref {
public:
    Ref() = default;
    Ref(T* object) : object_(object) {  // NOLINT: converting on purpose, like a pointer
        if (object_ != nullptr) {
            object_->AddRef();
        }
    }
    Ref(const Ref& other) : Ref(other.object_) {}
    Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    template <typename U>
    Ref(const Ref<U>& other) : Ref(other.Get()) {}
    ~Ref() { Reset(); }

    // The new reference is taken before the old one is released, so assigning
    // the held object to itself keeps it alive.
    Ref& operator=(T* object) {
        if (object != nullptr) {
            object->AddRef();
        }
        T* old = std::exchange(object_, object);
        if (old != nullptr) {
            old->Release();
        }
        return *this;
    }
    Ref& operator=(const Ref& other) { return *this = other.object_; }
    Ref& operator=(Ref&& other) noexcept {
        if (this != &other) {
            Reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }

    void Reset() {
        if (T* old = std::exchange(object_, nullptr)) {
            old->Release();
        }
    }

    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }

    friend bool operator==(const Ref& a, const Ref& b) { return a.object_ == b.object_; }
    friend bool operator==(const Ref& a, const T* b) { return a.object_ == b; }

private:
    T* object_ = nullptr;
};
