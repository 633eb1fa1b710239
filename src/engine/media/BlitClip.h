#pragma once

#include <cstdint>

#include "engine/media/Rect.h"

// Clips a blit of a sourceWidth x sourceHeight picture onto a surface of
// surfaceWidth x surfaceHeight within the clip rectangle. x, y (destination),
// sourceX, sourceY and the size w, h are narrowed to what lies inside all
// three; false when nothing is left to draw.
bool ClipBlit(int32_t surfaceWidth, int32_t surfaceHeight, const Rect& clip, int32_t sourceWidth,
              int32_t sourceHeight, int32_t& x, int32_t& y, int32_t& sourceX, int32_t& sourceY, int32_t& w,
              int32_t& h);
