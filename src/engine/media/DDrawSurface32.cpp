#include "engine/media/DDrawSurface32.h"

DDrawSurface32::DDrawSurface32(std::shared_ptr<platform::DisplaySurface> surface,
                               const platform::DisplaySurfaceDesc& desc)
    : display_(std::move(surface), desc) {
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
    void* pixels = display_.Lock();
    SetPixels(pixels);
    return pixels != nullptr;
}

bool DDrawSurface32::Unlock() {
    return display_.Unlock();
}
