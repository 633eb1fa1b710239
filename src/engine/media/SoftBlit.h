#pragma once

#include <cstdint>

#include "engine/media/Rect.h"

class Surface;

// The per-pixel routines behind the canvas on 32-bit surfaces. Coordinates are
// already moved by the canvas origin and clipped; each routine locks what it
// reads before what it writes.
namespace SoftBlit {

// Straight blits of the w x h block at (sourceX, sourceY) to (x, y).
void BlitCopy(Surface& source, Surface& destination, int32_t sourceX, int32_t sourceY, int32_t w,
              int32_t h, int32_t x, int32_t y);
void BlitSourceAlpha(Surface& source, Surface& destination, int32_t sourceX, int32_t sourceY,
                     int32_t w, int32_t h, int32_t x, int32_t y);
void BlitConstantAlpha(Surface& source, Surface& destination, int32_t sourceX, int32_t sourceY,
                       int32_t w, int32_t h, int32_t x, int32_t y, int32_t alpha);
void BlitCombinedAlpha(Surface& source, Surface& destination, int32_t sourceX, int32_t sourceY,
                       int32_t w, int32_t h, int32_t x, int32_t y, int32_t alpha);

// A turned and scaled blit: the source rectangle, its corner landing at (x, y)
// when not turned, turning about the pivot (relative to that corner).
struct RotateScale {
    Rect source;
    int32_t x = 0;
    int32_t y = 0;
    int32_t pivotX = 0;
    int32_t pivotY = 0;
    bool smooth = false;
    double angle = 0;
    double scale = 1;
    Rect clip;
};
void RotateScaleCopy(Surface& source, Surface& destination, const RotateScale& blit);
void RotateScaleConstantAlpha(Surface& source, Surface& destination, const RotateScale& blit, int32_t alpha);
void RotateScaleAlpha(Surface& source, Surface& destination, const RotateScale& blit, int32_t alpha);

// The source rectangle stretched over the destination rectangle, clipped.
void ScaleCopy(Surface& source, const Rect& sourceRect, Surface& destination, const Rect& destinationRect,
               const Rect& clip);
void ScaleConstantAlpha(Surface& source, const Rect& sourceRect, Surface& destination,
                        const Rect& destinationRect, const Rect& clip, int32_t alpha);
void ScaleAlpha(Surface& source, const Rect& sourceRect, Surface& destination, const Rect& destinationRect,
                const Rect& clip, int32_t alpha);

// Whole words, both surfaces stepped by their width.
void CopySurfaceRect32(Surface& source, Surface& destination, int32_t sourceX, int32_t sourceY, int32_t w,
                       int32_t h, int32_t x, int32_t y);

void PutPixel(Surface& surface, int32_t x, int32_t y, uint32_t colour);
void BlendPixel(Surface& surface, int32_t x, int32_t y, uint32_t colour, int32_t alpha);
void PutChannel(Surface& surface, int32_t x, int32_t y, int32_t channel, uint32_t value);

void LineOpaque(Surface& surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);
void LineBlended(Surface& surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
                 int32_t alpha);
void LineChannel(Surface& surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t channel,
                 uint32_t value);
// The anti-aliased line; its weights come from the coverage alone.
void LineSmooth(Surface& surface, float x1, float y1, float x2, float y2, uint32_t colour);

// Pixels x1 .. x2 - 1 of row y.
void HLineOpaque(Surface& surface, int32_t x1, int32_t x2, int32_t y, uint32_t colour);
void FillChannelRect(Surface& surface, int32_t x, int32_t y, int32_t w, int32_t h, int32_t channel,
                     uint32_t value);
void FillRectOpaque(Surface& surface, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
void FillRectBlended(Surface& surface, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour,
                     int32_t alpha);

}  // namespace SoftBlit
