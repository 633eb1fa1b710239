#include "engine/media/AlphaMemorySurface.h"

#include "engine/media/Canvas16.h"
#include "engine/media/SurfaceLock.h"

AlphaMemorySurface::AlphaMemorySurface(int32_t width, int32_t height) {
    const size_t count =
        width > 0 && height > 0 ? static_cast<size_t>(width) * static_cast<size_t>(height) : 0;
    buffer_ = std::make_unique<uint16_t[]>(count);
    alphaBuffer_ = std::make_unique<uint8_t[]>(count);
    pixels_ = buffer_.get();
    alpha_ = alphaBuffer_.get();
    SetWidth(width);
    SetHeight(height);
    SetPitch(width * 2);
    SetPixelFormat(Format565());
}

AlphaMemorySurface::~AlphaMemorySurface() = default;

Ref<Canvas> AlphaMemorySurface::CreateCanvas() {
    return Ref<Canvas>(new Canvas16(*this));
}

Ref<SurfaceLock> AlphaMemorySurface::CreateLock(int32_t) {
    return {};
}

void AlphaMemorySurface::FreePixels() {
    buffer_.reset();
    alphaBuffer_.reset();
    pixels_ = nullptr;
    alpha_ = nullptr;
}
