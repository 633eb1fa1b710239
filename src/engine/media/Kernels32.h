#pragma once

#include <cstdint>

class ChannelMap;
class Surface;

// The pair routines of the 32-bit canvas. Each walks the rows of an already
// clipped w x h block left to right, judging pixels in pairs (the first and
// second of the row, the third and fourth, ...) and a last odd pixel on its
// own, stepping each surface by its pitch.
namespace Kernels32 {

// Colour channels copied, destination alpha kept.
void BlitOpaque(Surface& source, Surface& destination, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h,
                int32_t x, int32_t y);
// All four bytes blended with one weight, alpha included.
void BlitFixedAlpha(Surface& source, Surface& destination, int32_t sourceX, int32_t sourceY, int32_t w,
                    int32_t h, int32_t x, int32_t y, int32_t alpha);
// Weighted by (source alpha x alpha) >> 8; a pair both at 254 is copied.
void BlitAlpha(Surface& source, Surface& destination, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h,
               int32_t x, int32_t y, int32_t alpha);
// The colour painted through the map with weight (map byte x alpha) >> 8.
void MaskPaint(const ChannelMap& map, Surface& destination, int32_t sourceX, int32_t sourceY, int32_t w,
               int32_t h, int32_t x, int32_t y, uint32_t colour, int32_t alpha);
// Whole words.
void CopyRect(Surface& source, Surface& destination, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h,
              int32_t x, int32_t y);

enum class ChannelOp { kCopy, kMin, kMax };
// One channel of the source against the destination's.
void ChannelBlit(ChannelOp op, int32_t channel, Surface& source, Surface& destination, int32_t sourceX,
                 int32_t sourceY, int32_t w, int32_t h, int32_t x, int32_t y);
// The map's bytes into one channel.
void ChannelFromMap(const ChannelMap& map, int32_t channel, Surface& destination, int32_t sourceX,
                    int32_t sourceY, int32_t w, int32_t h, int32_t x, int32_t y);

}  // namespace Kernels32
