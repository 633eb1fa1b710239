#pragma once

#include <memory>

#include "engine/media/AlphaMemorySurface.h"
#include "engine/media/BorrowedDisplayMemory.h"

// A 16-bit picture over a display surface, without an alpha buffer: its pixels
// are the display surface's memory, valid only between Lock and Unlock.
class DDrawSurface16 : public AlphaMemorySurface {
    ENGINE_CLASS(DDrawSurface16, AlphaMemorySurface)

public:
    DDrawSurface16(std::shared_ptr<platform::DisplaySurface> surface, const platform::DisplaySurfaceDesc& desc);
    ~DDrawSurface16() override;

    bool Lock() override;
    bool Unlock() override;

    platform::DisplaySurface& GetDisplaySurface() const { return display_.Surface(); }
    const platform::DisplaySurfaceDesc& GetDescription() const { return display_.Description(); }

private:
    BorrowedDisplayMemory display_;
};
