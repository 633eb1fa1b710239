#pragma once

#include <vector>

#include "engine/media/Rect.h"

// Float vertices in order; a fill closes the figure, a polyline does not.
struct Polygon {
    std::vector<PointF> points;
};
