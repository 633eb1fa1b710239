#pragma once

#include <cstdint>

#include "engine/media/Rect.h"

class Surface;

// The blend modes of the blend-mode sprite, in the order of their key words.
enum BlendMode : int32_t {
    kBlendAlpha = 0,
    kBlendAdditive = 1,
    kBlendSubtractive = 2,
    kBlendMultiply = 3,
    kBlendScreen = 4,
    kBlendDarken = 5,
    kBlendLighten = 6,
    kBlendBurn = 7,
    kBlendInverseBurn = 8,
    kBlendDodge = 9,
    kBlendOverlay = 10,
    kBlendSoftLight = 11,
    kBlendModeCount = 12,
};

// The words definitions name the modes with, index by index ("substractive"
// is spelled as the data spells it).
extern const char* const kBlendModeWords[kBlendModeCount];

// A blend routine: draws w x h pixels of the source from (sourceX, sourceY)
// onto the destination at (x, y), both 32-bit and already clipped. Each pixel
// weighs a = (source alpha x alpha) >> 8 and moves every colour channel from d
// towards the mode's target T by floor((T - d) x a / 256), clamped to 0..255;
// the destination's alpha byte stays. A destination that is not 32-bit is left
// alone.
using BlendRoutine = void (*)(Surface& source, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h,
                              Surface& destination, int32_t x, int32_t y, int32_t alpha);

void BlendAlphaRect(Surface& source, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h, Surface& destination,
                    int32_t x, int32_t y, int32_t alpha);
// d + ((s x a) >> 8), saturated: no interpolation.
void BlendAdditiveRect(Surface& source, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h,
                       Surface& destination, int32_t x, int32_t y, int32_t alpha);
void BlendSubtractiveRect(Surface& source, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h,
                          Surface& destination, int32_t x, int32_t y, int32_t alpha);
void BlendMultiplyRect(Surface& source, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h,
                       Surface& destination, int32_t x, int32_t y, int32_t alpha);
void BlendScreenRect(Surface& source, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h, Surface& destination,
                     int32_t x, int32_t y, int32_t alpha);
void BlendDarkenRect(Surface& source, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h, Surface& destination,
                     int32_t x, int32_t y, int32_t alpha);
void BlendLightenRect(Surface& source, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h,
                      Surface& destination, int32_t x, int32_t y, int32_t alpha);
// The game's painters call this one directly after clipping.
void BlendBurnRect(Surface& source, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h, Surface& destination,
                   int32_t x, int32_t y, int32_t alpha);
void BlendInverseBurnRect(Surface& source, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h,
                          Surface& destination, int32_t x, int32_t y, int32_t alpha);
void BlendDodgeRect(Surface& source, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h, Surface& destination,
                    int32_t x, int32_t y, int32_t alpha);
void BlendOverlayRect(Surface& source, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h,
                      Surface& destination, int32_t x, int32_t y, int32_t alpha);
void BlendSoftLightRect(Surface& source, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h,
                        Surface& destination, int32_t x, int32_t y, int32_t alpha);

// The routine of a mode; null outside 0..11.
BlendRoutine FindBlendRoutine(int32_t mode);

// Clips like a canvas blit against both surfaces and the clip rectangle (the
// whole destination without one), then runs the mode's routine. Draws
// nothing on a 16-bit destination, for a mode outside 0..11 or at alpha 0.
void BlendBlit(int32_t mode, Surface& source, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h,
               Surface& destination, int32_t x, int32_t y, int32_t alpha, const Rect* clip);
