#pragma once

#include <memory>

#include "platform/Display.h"

// The memory of a display surface as the picture classes over it borrow it:
// valid only between Lock and Unlock.
class BorrowedDisplayMemory {
public:
    BorrowedDisplayMemory(std::shared_ptr<platform::DisplaySurface> surface,
                          const platform::DisplaySurfaceDesc& desc)
        : surface_(std::move(surface)), desc_(desc) {}

    // The surface's pixels, or null when the lock failed.
    void* Lock() {
        void* pixels = nullptr;
        int pitch = 0;
        return surface_->Lock(&pixels, &pitch) == platform::DisplayResult::Ok ? pixels : nullptr;
    }
    bool Unlock() { return surface_->Unlock() == platform::DisplayResult::Ok; }

    platform::DisplaySurface& Surface() const { return *surface_; }
    const platform::DisplaySurfaceDesc& Description() const { return desc_; }

private:
    std::shared_ptr<platform::DisplaySurface> surface_;
    platform::DisplaySurfaceDesc desc_;
};
