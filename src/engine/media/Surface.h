#pragma once

#include <cstdint>
#include <optional>

#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"
#include "engine/media/PixelFormat.h"

class Canvas;
class SurfaceLock;

// A rectangle of pixels that canvases draw on and read from. Besides its size,
// row length and format it knows its display copy: the same picture in the
// display's pixel format, which is the surface itself until a canvas prepares it.
class Surface : public Object {
    ENGINE_CLASS(Surface, Object)

public:
    Surface() = default;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    virtual int32_t GetWidth() const { return width_; }
    virtual void SetWidth(int32_t width) { width_ = width; }
    virtual int32_t GetHeight() const { return height_; }
    virtual void SetHeight(int32_t height) { height_ = height; }
    virtual int32_t GetPitch() const { return pitch_; }
    virtual void SetPitch(int32_t pitch) { pitch_ = pitch; }
    // Index of pixel (x, y) in pixel units from the start of the buffer.
    virtual int32_t PixelIndex(int32_t x, int32_t y) const = 0;
    virtual const PixelFormat& GetPixelFormat() const { return format_; }
    virtual void SetPixelFormat(const PixelFormat& format) { format_ = format; }
    virtual bool Lock() = 0;
    virtual bool Unlock() = 0;
    virtual void* GetPixels() const = 0;
    virtual void SetPixels(void* pixels) = 0;
    virtual Ref<Canvas> CreateCanvas() = 0;
    // A channel accessor, or null for surfaces that are not 32-bit.
    virtual Ref<SurfaceLock> CreateLock(int32_t channel) = 0;
    virtual void FreePixels() = 0;

    // Pixels that the caller may change in any way, so what was known about
    // their alpha bytes is forgotten.
    uint32_t* Pixels32() const {
        // Written only when set, so pictures read on two threads, never learnt, race on nothing.
        if (knownAlpha_) {
            knownAlpha_.reset();
        }
        return static_cast<uint32_t*>(GetPixels());
    }
    // The same for a routine that reads them or changes colour channels only:
    // every alpha byte stays as it was, and so what is known about them.
    uint32_t* Pixels32KeepingAlpha() const { return static_cast<uint32_t*>(GetPixels()); }
    uint16_t* Pixels16() const { return static_cast<uint16_t*>(GetPixels()); }
    // Row length in whole pixels of the surface's format.
    int32_t PitchIn32() const { return GetPitch() >> 2; }
    int32_t PitchIn16() const { return GetPitch() >> 1; }

    Surface* GetDisplayCopy() { return displayCopy_ ? displayCopy_.Get() : this; }
    // Null or the surface itself makes the surface its own copy again.
    void SetDisplayCopy(Surface* copy) { displayCopy_ = copy == this ? nullptr : copy; }

    bool IsDirty() const { return dirty_; }
    void SetDirty(bool dirty) { dirty_ = dirty; }
    bool UsesAlphaChannel() const { return useAlphaChannel_; }
    void SetUseAlphaChannel(bool use) { useAlphaChannel_ = use; }
    // Every alpha byte is 255, as checked when the picture was loaded; a
    // surface that may have been drawn on since is no longer known so.
    bool IsKnownOpaque() const { return knownOpaque_; }
    void SetKnownOpaque(bool opaque) { knownOpaque_ = opaque; }
    // The value every alpha byte holds, when the canvas's routines found them
    // all alike and nothing has had the pixels to change since. The opaque
    // fill and blit then write whole pixels without reading the destination.
    std::optional<uint8_t> KnownAlpha() const { return knownAlpha_; }
    void SetKnownAlpha(std::optional<uint8_t> alpha) { knownAlpha_ = alpha; }
    // Frames stacked in the picture; copied along with it.
    uint32_t GetFrameCount() const { return frameCount_; }
    void SetFrameCount(uint32_t count) { frameCount_ = count; }

protected:
    // Copies size, pitch, format, alpha flag and frame count, as surface copies do.
    void CopyDescriptionFrom(const Surface& source);

private:
    // Held only when it is another surface, so a surface never holds itself.
    Ref<Surface> displayCopy_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    PixelFormat format_;
    int32_t pitch_ = 0;
    bool dirty_ = false;
    bool useAlphaChannel_ = true;
    bool knownOpaque_ = false;
    // Mutable: handing out writable pixels forgets it, even on a const surface.
    mutable std::optional<uint8_t> knownAlpha_;
    uint32_t frameCount_ = 1;
};

// Locks a surface for the life of the object. Routines that read one surface
// and write another make the source's first, so the destination unlocks first.
class ScopedSurfaceLock {
public:
    explicit ScopedSurfaceLock(Surface& surface) : surface_(surface) { surface_.Lock(); }
    ScopedSurfaceLock(const ScopedSurfaceLock&) = delete;
    ScopedSurfaceLock& operator=(const ScopedSurfaceLock&) = delete;
    ~ScopedSurfaceLock() { surface_.Unlock(); }

private:
    Surface& surface_;
};
