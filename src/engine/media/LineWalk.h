#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

// The integer line: error-term stepping along the major axis (ties go along x),
// then the end point; a line from a point to itself plots that point once.
template <typename Plot>
void WalkLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Plot&& plot) {
    const int32_t dx = std::abs(x2 - x1);
    const int32_t dy = std::abs(y2 - y1);
    const int32_t stepX = x2 >= x1 ? 1 : -1;
    const int32_t stepY = y2 >= y1 ? 1 : -1;
    int32_t x = x1;
    int32_t y = y1;
    if (dx < dy) {
        int32_t error = -dy;
        while (y != y2) {
            error += 2 * dx;
            plot(x, y);
            if (error >= 0) {
                x += stepX;
                error -= 2 * dy;
            }
            y += stepY;
        }
    } else {
        int32_t error = -dx;
        while (x != x2) {
            error += 2 * dy;
            plot(x, y);
            if (error >= 0) {
                y += stepY;
                error -= 2 * dx;
            }
            x += stepX;
        }
    }
    plot(x2, y2);
}

// The anti-aliased line: per step of the major axis two pixels across it share
// the coverage. Plot receives (x, y, weight 0..255). Column 0 and row 0 are
// never drawn, nor a second pixel at or beyond the last row or column.
template <typename Plot>
void WalkSmoothLine(float x1, float y1, float x2, float y2, int32_t width, int32_t height, Plot&& plot) {
    const bool xMajor = std::fabs(x2 - x1) > std::fabs(y2 - y1);
    float major1 = xMajor ? x1 : y1;
    float major2 = xMajor ? x2 : y2;
    float minor1 = xMajor ? y1 : x1;
    float minor2 = xMajor ? y2 : x2;
    if (major2 < major1) {
        std::swap(major1, major2);
        std::swap(minor1, minor2);
    }
    const float majorLength = major2 - major1;
    const float gradient = majorLength == 0.0f ? 0.0f : (minor2 - minor1) / majorLength;
    const auto first = static_cast<int32_t>(major1 + 0.5f);
    const auto last = static_cast<int32_t>(major2 + 0.5f);
    const int32_t minorLast = (xMajor ? height : width) - 1;
    float minor = minor1 + gradient * (static_cast<float>(first) - major1) + gradient;
    for (int32_t major = first; major <= last; ++major, minor += gradient) {
        const auto i = static_cast<int32_t>(minor);
        const float fraction = minor - static_cast<float>(i);
        const int32_t x = xMajor ? major : i;
        const int32_t y = xMajor ? i : major;
        if (x <= 0 || x >= width || y <= 0 || y >= height) {
            continue;
        }
        plot(x, y, static_cast<int32_t>((1.0f - fraction) * 255.0f));
        if (i + 1 < minorLast) {
            plot(xMajor ? x : x + 1, xMajor ? y + 1 : y, static_cast<int32_t>(fraction * 255.0f));
        }
    }
}
