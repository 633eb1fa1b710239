#include "engine/media/DDrawSurface32.h"

DDrawSurface32::DDrawSurface32(std::shared_ptr<platform::DisplaySurface> surface,
                               const platform::DisplaySurfaceDesc& desc)
    : surface_(std::move(surface)), desc_(desc) {
    SetWidth(desc.width);
    SetHeight(desc.height);
    SetPitch(desc.pitch);
    SetPixelFormat(Format32());
}

DDrawSurface32::~DDrawSurface32() {
    // The memory was only borrowed.
    SetPixels(nullptr);
}

bool DDrawSurface32::Lock() {
    void* pixels = nullptr;
    int pitch = 0;
    const bool locked = surface_->Lock(&pixels, &pitch) == platform::DisplayResult::Ok;
    SetPixels(locked ? pixels : nullptr);
    return locked;
}

bool DDrawSurface32::Unlock() {
    return surface_->Unlock() == platform::DisplayResult::Ok;
}
