#include "engine/media/DDrawSurface16.h"

DDrawSurface16::DDrawSurface16(std::shared_ptr<platform::DisplaySurface> surface,
                               const platform::DisplaySurfaceDesc& desc)
    : surface_(std::move(surface)), desc_(desc) {
    SetWidth(desc.width);
    SetHeight(desc.height);
    SetPitch(desc.pitch);
    SetPixelFormat(Format565());
}

DDrawSurface16::~DDrawSurface16() {
    // The memory was only borrowed.
    SetPixels(nullptr);
}

bool DDrawSurface16::Lock() {
    void* pixels = nullptr;
    int pitch = 0;
    const bool locked = surface_->Lock(&pixels, &pitch) == platform::DisplayResult::Ok;
    SetPixels(locked ? pixels : nullptr);
    return locked;
}

bool DDrawSurface16::Unlock() {
    return surface_->Unlock() == platform::DisplayResult::Ok;
}
