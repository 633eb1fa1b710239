#include "engine/media/DDrawSurface16.h"

DDrawSurface16::DDrawSurface16(std::shared_ptr<platform::DisplaySurface> surface,
                               const platform::DisplaySurfaceDesc& desc)
    : display_(std::move(surface), desc) {
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
    void* pixels = display_.Lock();
    SetPixels(pixels);
    return pixels != nullptr;
}

bool DDrawSurface16::Unlock() {
    return display_.Unlock();
}
