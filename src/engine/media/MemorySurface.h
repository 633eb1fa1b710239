#pragma once

#include <memory>

#include "engine/media/Surface.h"

// A 32-bit picture (0xAARRGGBB words, alpha in the top byte) whose pixels stay
// in memory for its whole life, so Lock and Unlock have nothing to do.
class MemorySurface : public Surface {
    ENGINE_CLASS(MemorySurface, Surface)

public:
    // An empty surface: no pixels until SetPixels or a derived class gives some.
    MemorySurface() = default;
    // An owned, zeroed buffer of width x height pixels in the 32-bit format, tightly packed.
    MemorySurface(int32_t width, int32_t height);
    // The same with the pixels left unset, for a caller that writes every one
    // (a decoder): large pictures are not cleared only to be overwritten.
    struct Unset {};
    MemorySurface(int32_t width, int32_t height, Unset);
    // A copy of width x height pixels of another 32-bit surface, read as tightly packed.
    explicit MemorySurface(const Surface& source);
    MemorySurface(const MemorySurface& source) : MemorySurface(static_cast<const Surface&>(source)) {}
    ~MemorySurface() override;

    int32_t PixelIndex(int32_t x, int32_t y) const override { return PitchIn32() * y + x; }
    bool Lock() override { return true; }
    bool Unlock() override { return true; }
    void* GetPixels() const override { return pixels_; }
    void SetPixels(void* pixels) override;
    Ref<Canvas> CreateCanvas() override;
    Ref<SurfaceLock> CreateLock(int32_t channel) override;
    void FreePixels() override;

private:
    std::unique_ptr<uint32_t[]> buffer_;
    // The owned buffer, or memory lent by a derived class between Lock and Unlock.
    uint32_t* pixels_ = nullptr;
};
