#pragma once

#include <cstdint>
#include <memory>

#include "engine/foundation/Ref.h"
#include "engine/media/Rect.h"

class AlphaMemorySurface;
class Canvas;
class ChannelMap;
class DDrawSurface16;
class DDrawSurface32;
class MemorySurface;
class Surface;

namespace platform {
class DisplaySurface;
}

// Surface factories and whole-picture operations used by resources and effects.

// A tightly packed 32-bit picture, pixels zeroed.
Ref<MemorySurface> CreateMemorySurface(int32_t width, int32_t height);
// The same with every word set to `pixel` (0xAARRGGBB), written only once.
Ref<MemorySurface> CreateFilledSurface(int32_t width, int32_t height, uint32_t pixel);
// A tightly packed 16-bit picture with its alpha buffer.
Ref<AlphaMemorySurface> CreateAlphaMemorySurface(int32_t width, int32_t height);

// The 32-bit picture packed into a new 16-bit one, alpha bytes into its alpha
// buffer; frame count and alpha flag come along.
Ref<AlphaMemorySurface> ConvertToAlphaMemorySurface(const Surface& source);
// The same into an existing 16-bit picture; only the part both sizes share is packed.
void ConvertIntoAlphaMemorySurface(const Surface& source, AlphaMemorySurface& target);

// Pictures over the display's surfaces, sized from their descriptions; null
// when the description cannot be read.
Ref<DDrawSurface16> WrapDirectDrawSurface16(std::shared_ptr<platform::DisplaySurface> surface);
Ref<DDrawSurface32> WrapDirectDrawSurface32(std::shared_ptr<platform::DisplaySurface> surface);

// A 32-bit copy: width x height words, frame count and alpha flag.
Ref<MemorySurface> CloneSurface(const Surface& source);
// The same copied over an existing picture of the source's size.
void CopySurfaceInto(const Surface& source, MemorySurface& target);
// A copy written over `previous` while its size fits, else a new one: a
// fresh screen-sized block faults in page by page in the frame that first
// touches it.
Ref<MemorySurface> CopySurfaceOver(const Surface& source, Ref<MemorySurface> previous);

// Whether every alpha byte of the 32-bit picture is 255 (false for an empty one).
bool AllPixelsOpaque(const Surface& picture);

// One channel of a 32-bit picture as bytes; channels other than 1, 2, 3 give alpha.
Ref<ChannelMap> ExtractChannelMap(const Surface& source, int32_t channel);

// Lowers the target's alpha to the source's wherever the source's is smaller,
// with the source centred on (x, y). Both pictures are prepared for the
// display through displayCanvas first.
void DrawImageCentered(Canvas& displayCanvas, Surface& target, Surface& source, int32_t x, int32_t y);

// Stamps the source's alpha, scaled and centred on (x, y), into the target's
// display copy, which displayCanvas prepares first.
void DrawImageScaled(Canvas& displayCanvas, Surface& target, const Surface& source, int32_t x, int32_t y,
                     double scale);

// Lowers the target's alpha (the alpha byte of a 32-bit target, the alpha
// buffer of a 16-bit one) to the bilinear sample of the source's alpha, turned
// and scaled about the pivot and placed at (x, y), never to 210 or above.
// Without smoothing nothing is stamped.
void AlphaStamp(const Surface& source, Surface& target, const Rect& clip, int32_t x, int32_t y, double angle,
                double scale, int32_t pivotX, int32_t pivotY, bool smoothing);

// A vertical strip of square frames (side = width) extended by three blocks of
// the same frames turned a quarter, a half and three quarters clockwise. The
// strip's owner shows the result with height / width frames. Null for a strip
// of width 0.
Ref<MemorySurface> AddRotatedFrames(Surface& strip);

// alpha := 255 - alpha over the picture, or over its 16-bit display copy's alpha buffer.
void InvertImageAlpha(Surface& picture);
