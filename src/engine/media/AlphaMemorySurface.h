#pragma once

#include <memory>

#include "engine/media/Surface.h"

// A picture in the 16-bit display format (red 5, green 6, blue 5 bits) with its
// opacity in a separate buffer of one byte per pixel, 0 transparent to 255 opaque.
class AlphaMemorySurface : public Surface {
    ENGINE_CLASS(AlphaMemorySurface, Surface)

public:
    // An empty surface: no pixels and no alpha buffer.
    AlphaMemorySurface() = default;
    // Owned, zeroed pixel and alpha buffers of width x height, tightly packed.
    AlphaMemorySurface(int32_t width, int32_t height);
    ~AlphaMemorySurface() override;

    int32_t PixelIndex(int32_t x, int32_t y) const override { return PitchIn16() * y + x; }
    bool Lock() override { return true; }
    bool Unlock() override { return true; }
    void* GetPixels() const override { return pixels_; }
    void SetPixels(void* pixels) override { pixels_ = static_cast<uint16_t*>(pixels); }
    Ref<Canvas> CreateCanvas() override;
    Ref<SurfaceLock> CreateLock(int32_t channel) override;
    void FreePixels() override;

    // One byte per pixel, width bytes a row; null on surfaces without one.
    uint8_t* GetAlphaBuffer() const { return alpha_; }

protected:
    void SetAlphaBuffer(uint8_t* alpha) { alpha_ = alpha; }

private:
    std::unique_ptr<uint16_t[]> buffer_;
    std::unique_ptr<uint8_t[]> alphaBuffer_;
    uint16_t* pixels_ = nullptr;
    uint8_t* alpha_ = nullptr;
};
