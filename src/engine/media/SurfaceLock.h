#pragma once

#include <cstdint>

#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"
#include "engine/media/Rect.h"

class Surface;

// Reads and writes one channel (0 alpha, 1 red, 2 green, 3 blue) of a 32-bit
// surface within a rectangle, the whole surface when made. It keeps the surface
// alive but does not lock it: memory surfaces need no locking.
class SurfaceLock : public Object {
    ENGINE_CLASS(SurfaceLock, Object)

public:
    SurfaceLock(Surface& surface, int32_t channel);
    ~SurfaceLock() override;

    void Fill(uint32_t value);
    // Pixels outside the surface are neither written nor read (they read as 0).
    void SetValue(int32_t x, int32_t y, uint32_t value);
    uint32_t GetValue(int32_t x, int32_t y) const;
    // The rectangle intersected with the lock's own.
    void FillRect(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t value);
    // The other lock's values of the w x h block at (sourceX, sourceY), written at (x, y).
    void CopyBlock(const SurfaceLock& other, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY, int32_t w,
                   int32_t h);
    void CopyBlock(const SurfaceLock& other, int32_t x, int32_t y);
    // As CopyBlock, keeping the larger of the two values.
    void MaxMerge(const SurfaceLock& other, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY, int32_t w,
                  int32_t h);
    void MaxMerge(const SurfaceLock& other, int32_t x, int32_t y);

    const Rect& GetRect() const { return rect_; }
    int32_t GetChannel() const { return channel_; }

private:
    bool Contains(int32_t x, int32_t y) const;

    Ref<Surface> surface_;
    Rect rect_;
    int32_t channel_;
};
