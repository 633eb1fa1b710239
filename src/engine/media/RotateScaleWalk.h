#pragma once

#include <cstdint>

#include "engine/media/Rect.h"

// The geometry of a rotated and scaled blit: the destination box the turned
// picture covers and the inverse mapping of each box pixel to the source in
// fixed point with 20 fractional bits. Each box pixel maps from its centre,
// so that a quarter or half turn reaches every source pixel: the pixel a
// nearest sample takes is (u >> 20, v >> 20), and a bilinear sample weighs
// the four pixels around (u - kHalf, v - kHalf), whose centres lie there.
class RotateScaleWalk {
public:
    static constexpr int32_t kFractionBits = 20;
    static constexpr double kOne = 1048576.0;
    static constexpr int32_t kHalf = 1 << (kFractionBits - 1);

    // The picture (sourceWidth x sourceHeight) turns by angle (radians,
    // clockwise on screen) and scales by scale about the pivot, given relative
    // to the corner that lands at (x, y) when not turned; the box is clipped.
    RotateScaleWalk(int32_t sourceWidth, int32_t sourceHeight, int32_t x, int32_t y, int32_t pivotX,
                    int32_t pivotY, double angle, double scale, const Rect& clip);

    // Calls visitRow(destination x, destination y, width, u, v, stepU, stepV)
    // for every box row: pixel k of the row maps to u + k * stepU and
    // v + k * stepV, in 32-bit arithmetic that wraps.
    template <typename VisitRow>
    void ForEachRow(VisitRow&& visitRow) const {
        uint32_t rowU = static_cast<uint32_t>(startU_);
        uint32_t rowV = static_cast<uint32_t>(startV_);
        const uint32_t stepU = static_cast<uint32_t>(stepCos_);
        const uint32_t stepV = 0u - static_cast<uint32_t>(stepSin_);
        for (int32_t y = box_.y; y < box_.y + box_.h; ++y) {
            visitRow(box_.x, y, box_.w, rowU, rowV, stepU, stepV);
            rowU += static_cast<uint32_t>(stepSin_);
            rowV += static_cast<uint32_t>(stepCos_);
        }
    }

    // Calls visit(destination x, destination y, u, v) for every box pixel,
    // row by row; u and v are the source offsets of its centre in fixed point.
    template <typename Visit>
    void ForEach(Visit&& visit) const {
        ForEachRow([&](int32_t x0, int32_t y, int32_t width, uint32_t u, uint32_t v, uint32_t stepU,
                       uint32_t stepV) {
            for (int32_t x = x0; x < x0 + width; ++x, u += stepU, v += stepV) {
                visit(x, y, static_cast<int32_t>(u), static_cast<int32_t>(v));
            }
        });
    }

    // As ForEach, with u and v the source offsets of the pixel's top left
    // corner: at angle 0, ((x - left) / scale, (y - top) / scale).
    template <typename Visit>
    void ForEachCorner(Visit&& visit) const {
        const auto backU = static_cast<uint32_t>((int64_t{stepCos_} + stepSin_) / 2);
        const auto backV = static_cast<uint32_t>((int64_t{stepCos_} - stepSin_) / 2);
        ForEach([&](int32_t x, int32_t y, int32_t u, int32_t v) {
            visit(x, y, static_cast<int32_t>(static_cast<uint32_t>(u) - backU),
                  static_cast<int32_t>(static_cast<uint32_t>(v) - backV));
        });
    }

private:
    Rect box_;
    int32_t stepCos_ = 0;
    int32_t stepSin_ = 0;
    int32_t startU_ = 0;
    int32_t startV_ = 0;
};

// A float cut toward zero into 32 bits, held at the ends of the range instead
// of overflowing.
int32_t TruncateToInt32(double value);
