#pragma once

#include <cstdint>

// A rectangle of whole pixels; a width or height of 0 or less is empty.
struct Rect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t w = 0;
    int32_t h = 0;

    bool IsEmpty() const { return w <= 0 || h <= 0; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The overlap of two rectangles; zero or negative width or height when they do
// not overlap (touching edges give 0).
Rect IntersectRect(const Rect& a, const Rect& b);

// A point of floats, as polygons and smooth lines take them.
struct PointF {
    float x = 0;
    float y = 0;
};
