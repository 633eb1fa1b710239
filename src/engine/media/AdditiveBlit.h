#pragma once

#include <cstdint>

#include "engine/media/Rect.h"

class Surface;

// Adds the source picture, weighted by its alpha times alpha, onto the
// destination channel by channel with saturation: a glow never darkens and
// never changes the destination's alpha. Clipped like a canvas blit against
// both surfaces and the clip rectangle (the whole destination without one).
// On a 16-bit destination the source's 16-bit display copy is added, made
// first when the picture has none yet.
void AdditiveBlit(Surface& source, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h, Surface& destination,
                  int32_t x, int32_t y, int32_t alpha, const Rect* clip);
