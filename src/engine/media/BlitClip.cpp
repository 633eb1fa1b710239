#include "engine/media/BlitClip.h"

#include <algorithm>

namespace {
// One axis of the clip; wide arithmetic so extreme values cannot overflow.
bool ClipAxis(int32_t surfaceSize, int32_t clipStart, int32_t clipSize, int32_t sourceSize, int32_t& position,
              int32_t& sourcePosition, int32_t& size) {
    int64_t at = position;
    int64_t from = sourcePosition;
    int64_t length = size;
    if (at >= surfaceSize) {
        return false;
    }
    if (from + length > sourceSize) {
        length = sourceSize - from;
    }
    if (from < 0) {
        at -= from;
        length += from;
        from = 0;
    }
    const int64_t left = std::max({at, int64_t{0}, int64_t{clipStart}});
    const int64_t right = std::min({at + length, int64_t{clipStart} + clipSize, int64_t{surfaceSize}});
    if (left >= right) {
        return false;
    }
    from += left - at;
    if (from >= sourceSize) {
        return false;
    }
    position = static_cast<int32_t>(left);
    sourcePosition = static_cast<int32_t>(from);
    size = static_cast<int32_t>(right - left);
    return true;
}
}  // namespace

bool ClipBlit(int32_t surfaceWidth, int32_t surfaceHeight, const Rect& clip, int32_t sourceWidth,
              int32_t sourceHeight, int32_t& x, int32_t& y, int32_t& sourceX, int32_t& sourceY, int32_t& w,
              int32_t& h) {
    return ClipAxis(surfaceWidth, clip.x, clip.w, sourceWidth, x, sourceX, w) &&
           ClipAxis(surfaceHeight, clip.y, clip.h, sourceHeight, y, sourceY, h);
}
