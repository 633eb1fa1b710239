#include "engine/media/Rect.h"

#include <algorithm>

Rect IntersectRect(const Rect& a, const Rect& b) {
    // Wide sums: rectangles far out must not overflow.
    const int64_t left = a.x > b.x ? a.x : b.x;
    const int64_t top = a.y > b.y ? a.y : b.y;
    const int64_t right = std::min(int64_t{a.x} + a.w, int64_t{b.x} + b.w);
    const int64_t bottom = std::min(int64_t{a.y} + a.h, int64_t{b.y} + b.h);
    return Rect{static_cast<int32_t>(left), static_cast<int32_t>(top),
                static_cast<int32_t>(std::max<int64_t>(right - left, INT32_MIN)),
                static_cast<int32_t>(std::max<int64_t>(bottom - top, INT32_MIN))};
}
