#pragma once

#include <memory>

#include "engine/media/MemorySurface.h"
#include "engine/media/BorrowedDisplayMemory.h"

// A 32-bit picture over a display surface: its pixels are the display
// surface's memory, valid only between Lock and Unlock.
class DDrawSurface32 : public MemorySurface {
    ENGINE_CLASS(DDrawSurface32, MemorySurface)

public:
    // Takes the size and row length from the description.
    DDrawSurface32(std::shared_ptr<platform::DisplaySurface> surface, const platform::DisplaySurfaceDesc& desc);
    ~DDrawSurface32() override;

    // Locks the whole display surface and borrows its memory (null when the lock failed).
    bool Lock() override;
    bool Unlock() override;

    platform::DisplaySurface& GetDisplaySurface() const { return display_.Surface(); }
    const platform::DisplaySurfaceDesc& GetDescription() const { return display_.Description(); }

private:
    BorrowedDisplayMemory display_;
};
