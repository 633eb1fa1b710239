#include "engine/media/MemorySurface.h"

#include <algorithm>

#include "engine/media/Canvas32.h"
#include "engine/media/SurfaceLock.h"

namespace {
size_t PixelCount(int32_t width, int32_t height) {
    return width > 0 && height > 0 ? static_cast<size_t>(width) * static_cast<size_t>(height) : 0;
}
}  // namespace

MemorySurface::MemorySurface(int32_t width, int32_t height) : MemorySurface(width, height, Unset{}) {
    std::fill_n(pixels_, PixelCount(width, height), 0u);
}

MemorySurface::MemorySurface(int32_t width, int32_t height, Unset)
    : buffer_(std::make_unique_for_overwrite<uint32_t[]>(PixelCount(width, height))), pixels_(buffer_.get()) {
    SetWidth(width);
    SetHeight(height);
    SetPitch(width * 4);
    SetPixelFormat(Format32());
}

MemorySurface::MemorySurface(const Surface& source) {
    CopyDescriptionFrom(source);
    const size_t count = PixelCount(GetWidth(), GetHeight());
    buffer_ = std::make_unique<uint32_t[]>(count);
    pixels_ = buffer_.get();
    // The copy is tightly packed whatever the source's rows were, so its pitch must say so.
    SetPitch(GetWidth() * 4);
    const uint32_t* from = source.Pixels32();
    if (from != nullptr && source.GetPixelFormat().bytesPerPixel == 4) {
        std::copy_n(from, count, pixels_);
    }
}

MemorySurface::~MemorySurface() = default;

// Whoever asks for a canvas or a channel accessor may change the alpha bytes.
Ref<Canvas> MemorySurface::CreateCanvas() {
    SetKnownOpaque(false);
    return Ref<Canvas>(new Canvas32(*this));
}

Ref<SurfaceLock> MemorySurface::CreateLock(int32_t channel) {
    SetKnownOpaque(false);
    return Ref<SurfaceLock>(new SurfaceLock(*this, channel));
}

void MemorySurface::SetPixels(void* pixels) {
    // Other memory holds other alpha bytes; a display surface is lent the same memory at every lock.
    if (pixels != pixels_) {
        SetKnownAlpha(std::nullopt);
    }
    pixels_ = static_cast<uint32_t*>(pixels);
}

void MemorySurface::FreePixels() {
    buffer_.reset();
    SetPixels(nullptr);
}
