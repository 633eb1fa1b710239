#pragma once

#include <cstdint>

#include "engine/media/PixelMath.h"
#include "engine/media/Rect.h"

// How a sampled source word lands on a destination pixel in the scaled and
// the turned blits.
enum class SampleWeighting { kColourOnly, kConstant, kSourceAlpha };

constexpr uint32_t DrawSample(uint32_t destination, uint32_t sample, SampleWeighting weighting, int32_t alpha) {
    switch (weighting) {
        case SampleWeighting::kColourOnly:
            return KeepAlpha(destination, sample);
        case SampleWeighting::kConstant:
            return BlendRule32(destination, sample, alpha);
        case SampleWeighting::kSourceAlpha:
            return BlendRule32(destination, sample, static_cast<int32_t>((sample >> 24) * alpha) >> 8);
    }
    return destination;
}

// What the rows of a turned and scaled blit read and how they draw it.
struct RotateScaleSource {
    const uint32_t* pixels = nullptr;
    int32_t rowLength = 0;
    // The source rectangle's corner, where u = v = 0 lies.
    int32_t cornerX = 0;
    int32_t cornerY = 0;
    // The source rectangle within the picture: no pixel outside is read.
    Rect bounds;
    bool smooth = false;
    SampleWeighting weighting = SampleWeighting::kColourOnly;
    int32_t alpha = 255;
};

// Draws pixels x .. x + width - 1 of a destination row; pixel k samples the
// source at u + k * stepU, v + k * stepV (fixed point, wrapping as the walk
// does). The baseline and AVX2 builds give the same pixels.
using RotateScaleRow = void (*)(const RotateScaleSource& source, uint32_t* row, int32_t x, int32_t width, uint32_t u,
                                uint32_t v, uint32_t stepU, uint32_t stepV);

// The build of the row for the active row variant.
RotateScaleRow SelectRotateScaleRow();
