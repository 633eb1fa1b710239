#include "engine/media/RotateScaleRows.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/media/RotateScaleWalk.h"
#include "engine/media/RowVariant.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

constexpr int32_t kFractionBits = RotateScaleWalk::kFractionBits;
constexpr int32_t kHalf = RotateScaleWalk::kHalf;

// A pixel's four bytes as floats, in memory order. The lanes are widened by
// interleaving with zeros, which every x86-64 processor does in two steps.
using ChannelFloats = float __attribute__((vector_size(16)));
using ChannelInts = int32_t __attribute__((vector_size(16)));
using ChannelWords = uint32_t __attribute__((vector_size(16)));
using ChannelHalves = uint16_t __attribute__((vector_size(16)));
using ChannelBytes = uint8_t __attribute__((vector_size(16)));
using ChannelLongs = uint64_t __attribute__((vector_size(16)));

ChannelFloats ChannelsOf(uint32_t pixel) {
    const auto bytes = __builtin_bit_cast(ChannelBytes, ChannelWords{pixel, 0, 0, 0});
    const auto halves = __builtin_bit_cast(
        ChannelHalves, __builtin_shufflevector(bytes, ChannelBytes{}, 0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22,
                                               7, 23));
    const auto words = __builtin_bit_cast(ChannelInts,
                                          __builtin_shufflevector(halves, ChannelHalves{}, 0, 8, 1, 9, 2, 10, 3, 11));
    return __builtin_convertvector(words, ChannelFloats);
}

// Four lanes of 0..255 back into one pixel: each 64-bit half folds its
// upper lane into byte 1, then the halves join.
uint32_t PixelOf(ChannelInts lanes) {
    const auto longs = __builtin_bit_cast(ChannelLongs, lanes);
    const auto folded = __builtin_bit_cast(ChannelWords, longs | (longs >> 24));
    return (folded[0] & 0xFFFF) | (folded[2] << 16);
}

// Bilinear sample of the four pixels right and below topLeft; each byte is
// the weighted sum cut to an integer. All four bytes are summed at once, in
// the same order and precision as one byte alone.
__attribute__((always_inline)) inline uint32_t SampleBilinear(const uint32_t* topLeft, int32_t rowLength, int32_t u,
                                                              int32_t v) {
    const float fx = static_cast<float>(u) / 1048576.0f;
    const float fy = static_cast<float>(v) / 1048576.0f;
    const float rx = fx - std::trunc(fx);
    const float ry = fy - std::trunc(fy);
    const float w00 = (1.0f - rx) * (1.0f - ry);
    const float w10 = rx * (1.0f - ry);
    const float w01 = (1.0f - rx) * ry;
    const float w11 = rx * ry;
    const ChannelFloats sum = w00 * ChannelsOf(topLeft[0]) + w10 * ChannelsOf(topLeft[1]) +
                              w01 * ChannelsOf(topLeft[rowLength]) + w11 * ChannelsOf(topLeft[rowLength + 1]);
    return PixelOf(__builtin_convertvector(sum, ChannelInts) & 0xFF);
}

// Any row, pixel by pixel, each judged against the bounds on its own.
void CheckedRow(const RotateScaleSource& source, uint32_t* row, int32_t x, int32_t width, uint32_t u, uint32_t v,
                uint32_t stepU, uint32_t stepV) {
    const Rect& bounds = source.bounds;
    for (int32_t k = 0; k < width; ++k, u += stepU, v += stepV) {
        const int32_t i = source.cornerX + (static_cast<int32_t>(u) >> kFractionBits);
        const int32_t j = source.cornerY + (static_cast<int32_t>(v) >> kFractionBits);
        if (i < bounds.x || i >= bounds.x + bounds.w || j < bounds.y || j >= bounds.y + bounds.h) {
            continue;
        }
        // The four pixels around the centre; at the rectangle's edges the nearest one is taken.
        const int32_t cornerU = static_cast<int32_t>(u - kHalf);
        const int32_t cornerV = static_cast<int32_t>(v - kHalf);
        const int32_t left = source.cornerX + (cornerU >> kFractionBits);
        const int32_t top = source.cornerY + (cornerV >> kFractionBits);
        const bool nearest = !source.smooth || left < bounds.x || top < bounds.y || left + 1 >= bounds.x + bounds.w ||
                             top + 1 >= bounds.y + bounds.h;
        const uint32_t sample =
            nearest ? source.pixels[j * source.rowLength + i]
                    : SampleBilinear(source.pixels + top * source.rowLength + left, source.rowLength, cornerU, cornerV);
        row[x + k] = DrawSample(row[x + k], sample, source.weighting, source.alpha);
    }
}

// Pixels begin .. end - 1 of a row, half open.
struct Span {
    int64_t begin = 0;
    int64_t end = 0;

    Span Within(const Span& other) const {
        const int64_t first = std::max(begin, other.begin);
        return Span{first, std::max(first, std::min(end, other.end))};
    }
};

int64_t FloorDivide(int64_t value, int64_t divisor) {
    return value >= 0 ? value / divisor : -((divisor - 1 - value) / divisor);
}

// The pixels k of a row of width pixels whose coordinate start + k * step
// lies in [low, end).
Span StepsWithin(int64_t start, int64_t step, int64_t low, int64_t end, int32_t width) {
    const Span row{0, width};
    if (step == 0) {
        return start >= low && start < end ? row : Span{};
    }
    const int64_t size = step > 0 ? step : -step;
    const int64_t fromLow = FloorDivide(start - low, size);
    const int64_t toEnd = FloorDivide(end - 1 - start, size);
    return row.Within(step > 0 ? Span{-fromLow, toEnd + 1} : Span{-toEnd, fromLow + 1});
}

// The pixels whose source pixel (corner + (coordinate >> kFractionBits))
// lies in [low, end).
Span PixelsWithin(int64_t start, int64_t step, int32_t corner, int64_t low, int64_t end, int32_t width) {
    return StepsWithin(start, step, (low - corner) << kFractionBits, (end - corner) << kFractionBits, width);
}

// Whether start + k * step for every pixel of the row, less kHalf, stays in
// 32 bits, so the row's wrapping coordinates are the plain sums.
bool StaysInRange(int64_t start, int64_t step, int32_t width) {
    const int64_t last = start + step * (width - 1);
    return std::min(start, last) - kHalf >= INT32_MIN && std::max(start, last) <= INT32_MAX;
}

template <SampleWeighting kWeighting>
void DrawNearest(const RotateScaleSource& source, uint32_t* row, const Span& span, uint32_t u, uint32_t v,
                 uint32_t stepU, uint32_t stepV) {
    u += static_cast<uint32_t>(span.begin) * stepU;
    v += static_cast<uint32_t>(span.begin) * stepV;
    for (int64_t k = span.begin; k < span.end; ++k, u += stepU, v += stepV) {
        const int32_t i = source.cornerX + (static_cast<int32_t>(u) >> kFractionBits);
        const int32_t j = source.cornerY + (static_cast<int32_t>(v) >> kFractionBits);
        row[k] = DrawSample(row[k], source.pixels[j * source.rowLength + i], kWeighting, source.alpha);
    }
}

template <SampleWeighting kWeighting>
void DrawBilinear(const RotateScaleSource& source, uint32_t* row, const Span& span, uint32_t u, uint32_t v,
                  uint32_t stepU, uint32_t stepV) {
    u += static_cast<uint32_t>(span.begin) * stepU - kHalf;
    v += static_cast<uint32_t>(span.begin) * stepV - kHalf;
    for (int64_t k = span.begin; k < span.end; ++k, u += stepU, v += stepV) {
        const auto cornerU = static_cast<int32_t>(u);
        const auto cornerV = static_cast<int32_t>(v);
        const int32_t left = source.cornerX + (cornerU >> kFractionBits);
        const int32_t top = source.cornerY + (cornerV >> kFractionBits);
        const uint32_t* topLeft = source.pixels + top * source.rowLength + left;
        row[k] = DrawSample(row[k], SampleBilinear(topLeft, source.rowLength, cornerU, cornerV), kWeighting,
                            source.alpha);
    }
}

// The row drawn over the spans it covers: nearest samples where the pixel
// lies in the bounds, bilinear ones (when smooth) where all four do.
template <SampleWeighting kWeighting>
void SpanRow(const RotateScaleSource& source, uint32_t* row, int32_t width, uint32_t u, uint32_t v, uint32_t stepU,
             uint32_t stepV) {
    const Rect& bounds = source.bounds;
    const int64_t startU = static_cast<int32_t>(u);
    const int64_t startV = static_cast<int32_t>(v);
    const int64_t signedStepU = static_cast<int32_t>(stepU);
    const int64_t signedStepV = static_cast<int32_t>(stepV);
    const Span inside =
        PixelsWithin(startU, signedStepU, source.cornerX, bounds.x, bounds.x + bounds.w, width)
            .Within(PixelsWithin(startV, signedStepV, source.cornerY, bounds.y, bounds.y + bounds.h, width));
    if (!source.smooth) {
        DrawNearest<kWeighting>(source, row, inside, u, v, stepU, stepV);
        return;
    }
    const int32_t right = bounds.x + bounds.w - 1;
    const int32_t bottom = bounds.y + bounds.h - 1;
    const Span bilinear =
        inside.Within(PixelsWithin(startU - kHalf, signedStepU, source.cornerX, bounds.x, right, width))
            .Within(PixelsWithin(startV - kHalf, signedStepV, source.cornerY, bounds.y, bottom, width));
    // An empty span may lie anywhere, even past the pixels inside.
    if (bilinear.begin == bilinear.end) {
        DrawNearest<kWeighting>(source, row, inside, u, v, stepU, stepV);
        return;
    }
    DrawNearest<kWeighting>(source, row, Span{inside.begin, bilinear.begin}, u, v, stepU, stepV);
    DrawBilinear<kWeighting>(source, row, bilinear, u, v, stepU, stepV);
    DrawNearest<kWeighting>(source, row, Span{bilinear.end, inside.end}, u, v, stepU, stepV);
}

void BaselineRow(const RotateScaleSource& source, uint32_t* row, int32_t x, int32_t width, uint32_t u, uint32_t v,
                 uint32_t stepU, uint32_t stepV) {
    if (!StaysInRange(static_cast<int32_t>(u), static_cast<int32_t>(stepU), width) ||
        !StaysInRange(static_cast<int32_t>(v), static_cast<int32_t>(stepV), width)) {
        CheckedRow(source, row, x, width, u, v, stepU, stepV);
        return;
    }
    switch (source.weighting) {
        case SampleWeighting::kColourOnly:
            SpanRow<SampleWeighting::kColourOnly>(source, row + x, width, u, v, stepU, stepV);
            break;
        case SampleWeighting::kConstant:
            SpanRow<SampleWeighting::kConstant>(source, row + x, width, u, v, stepU, stepV);
            break;
        case SampleWeighting::kSourceAlpha:
            SpanRow<SampleWeighting::kSourceAlpha>(source, row + x, width, u, v, stepU, stepV);
            break;
    }
}

#if defined(__x86_64__)
#define AVX2_INLINE __attribute__((target("avx2"), always_inline)) inline

// Lanes where low <= value < end.
AVX2_INLINE __m256i Within(__m256i value, __m256i low, __m256i end) {
    return _mm256_andnot_si256(_mm256_cmpgt_epi32(low, value), _mm256_cmpgt_epi32(end, value));
}

// Byte `shift / 8` of each lane as a float.
AVX2_INLINE __m256 ChannelAsFloat(__m256i pixels, int shift) {
    return _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srli_epi32(pixels, shift), _mm256_set1_epi32(0xFF)));
}

// (d * (256 - w) + s * w) >> 8 in 16-bit lanes.
AVX2_INLINE __m256i BlendLanes16(__m256i d, __m256i s, __m256i w) {
    return _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(d, _mm256_sub_epi16(_mm256_set1_epi16(256), w)), _mm256_mullo_epi16(s, w)),
        8);
}

// The bilinear sample of SampleBilinear in eight lanes, operation for
// operation in the same order and precision, so every byte is the same.
// Multiplying by 2^-20 is exact, as the division by 2^20 is.
AVX2_INLINE __m256i SampleBilinear8(const RotateScaleSource& source, __m256i base, __m256i cornerU, __m256i cornerV,
                                    __m256i mask) {
    const auto* pixels = reinterpret_cast<const int*>(source.pixels);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i p00 = _mm256_mask_i32gather_epi32(zero, pixels, base, mask, 4);
    const __m256i p10 = _mm256_mask_i32gather_epi32(zero, pixels + 1, base, mask, 4);
    const __m256i p01 = _mm256_mask_i32gather_epi32(zero, pixels + source.rowLength, base, mask, 4);
    const __m256i p11 = _mm256_mask_i32gather_epi32(zero, pixels + source.rowLength + 1, base, mask, 4);
    const __m256 unit = _mm256_set1_ps(1.0f / 1048576.0f);
    const __m256 fx = _mm256_mul_ps(_mm256_cvtepi32_ps(cornerU), unit);
    const __m256 fy = _mm256_mul_ps(_mm256_cvtepi32_ps(cornerV), unit);
    const __m256 rx = _mm256_sub_ps(fx, _mm256_round_ps(fx, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC));
    const __m256 ry = _mm256_sub_ps(fy, _mm256_round_ps(fy, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC));
    const __m256 one = _mm256_set1_ps(1.0f);
    const __m256 w00 = _mm256_mul_ps(_mm256_sub_ps(one, rx), _mm256_sub_ps(one, ry));
    const __m256 w10 = _mm256_mul_ps(rx, _mm256_sub_ps(one, ry));
    const __m256 w01 = _mm256_mul_ps(_mm256_sub_ps(one, rx), ry);
    const __m256 w11 = _mm256_mul_ps(rx, ry);
    const __m256i byte = _mm256_set1_epi32(0xFF);
    __m256i result = zero;
    for (int shift = 0; shift < 32; shift += 8) {
        const __m256 sum = _mm256_add_ps(
            _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(w00, ChannelAsFloat(p00, shift)),
                                        _mm256_mul_ps(w10, ChannelAsFloat(p10, shift))),
                          _mm256_mul_ps(w01, ChannelAsFloat(p01, shift))),
            _mm256_mul_ps(w11, ChannelAsFloat(p11, shift)));
        result = _mm256_or_si256(result, _mm256_slli_epi32(_mm256_and_si256(_mm256_cvttps_epi32(sum), byte), shift));
    }
    return result;
}

// The blend rule's weight per lane as 0..256: 0 keeps the pixel, 256 takes the colour.
AVX2_INLINE __m256i RuleWeights(const RotateScaleSource& source, __m256i sample) {
    __m256i weights = _mm256_set1_epi32(source.alpha);
    if (source.weighting == SampleWeighting::kColourOnly) {
        return _mm256_set1_epi32(256);
    }
    if (source.weighting == SampleWeighting::kSourceAlpha) {
        weights = _mm256_srai_epi32(_mm256_mullo_epi32(_mm256_srli_epi32(sample, 24), weights), 8);
    }
    const __m256i full = _mm256_cmpgt_epi32(weights, _mm256_set1_epi32(254));
    weights = _mm256_max_epi32(weights, _mm256_setzero_si256());
    return _mm256_blendv_epi8(weights, _mm256_set1_epi32(256), full);
}

// Per colour byte (d * (256 - w) + s * w) >> 8, which is d + floor((s - d) * w / 256);
// the destination's alpha bytes are kept.
AVX2_INLINE __m256i BlendColours(__m256i destination, __m256i sample, __m256i weights) {
    const __m256i even = _mm256_set1_epi32(0x00FF00FF);
    const __m256i blueRed = BlendLanes16(_mm256_and_si256(destination, even), _mm256_and_si256(sample, even),
                                         _mm256_or_si256(weights, _mm256_slli_epi32(weights, 16)));
    // The alpha lanes get weight 0.
    const __m256i greenAlpha = BlendLanes16(_mm256_and_si256(_mm256_srli_epi32(destination, 8), even),
                                            _mm256_and_si256(_mm256_srli_epi32(sample, 8), even), weights);
    return _mm256_or_si256(blueRed, _mm256_slli_epi32(greenAlpha, 8));
}

__attribute__((target("avx2"))) void Avx2Row(const RotateScaleSource& source, uint32_t* row, int32_t x,
                                             int32_t width, uint32_t u, uint32_t v, uint32_t stepU,
                                             uint32_t stepV) {
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    __m256i laneU = _mm256_add_epi32(_mm256_set1_epi32(static_cast<int32_t>(u)),
                                     _mm256_mullo_epi32(lanes, _mm256_set1_epi32(static_cast<int32_t>(stepU))));
    __m256i laneV = _mm256_add_epi32(_mm256_set1_epi32(static_cast<int32_t>(v)),
                                     _mm256_mullo_epi32(lanes, _mm256_set1_epi32(static_cast<int32_t>(stepV))));
    const __m256i stepU8 = _mm256_set1_epi32(static_cast<int32_t>(stepU * 8));
    const __m256i stepV8 = _mm256_set1_epi32(static_cast<int32_t>(stepV * 8));
    const __m256i cornerX = _mm256_set1_epi32(source.cornerX);
    const __m256i cornerY = _mm256_set1_epi32(source.cornerY);
    const __m256i left = _mm256_set1_epi32(source.bounds.x);
    const __m256i top = _mm256_set1_epi32(source.bounds.y);
    const __m256i rightEnd = _mm256_set1_epi32(source.bounds.x + source.bounds.w);
    const __m256i bottomEnd = _mm256_set1_epi32(source.bounds.y + source.bounds.h);
    // The last pixel a bilinear sample may start at is one before each end.
    const __m256i pairRightEnd = _mm256_set1_epi32(source.bounds.x + source.bounds.w - 1);
    const __m256i pairBottomEnd = _mm256_set1_epi32(source.bounds.y + source.bounds.h - 1);
    const __m256i rowLength = _mm256_set1_epi32(source.rowLength);
    const __m256i half = _mm256_set1_epi32(kHalf);
    const auto* pixels = reinterpret_cast<const int*>(source.pixels);
    for (int32_t k = 0; k < width; k += 8, laneU = _mm256_add_epi32(laneU, stepU8),
                 laneV = _mm256_add_epi32(laneV, stepV8)) {
        const __m256i i = _mm256_add_epi32(cornerX, _mm256_srai_epi32(laneU, kFractionBits));
        const __m256i j = _mm256_add_epi32(cornerY, _mm256_srai_epi32(laneV, kFractionBits));
        const __m256i inRow = _mm256_cmpgt_epi32(_mm256_set1_epi32(width - k), lanes);
        const __m256i inside =
            _mm256_and_si256(inRow, _mm256_and_si256(Within(i, left, rightEnd), Within(j, top, bottomEnd)));
        if (_mm256_testz_si256(inside, inside)) {
            continue;
        }
        const __m256i nearestIndex = _mm256_add_epi32(_mm256_mullo_epi32(j, rowLength), i);
        __m256i sample = _mm256_mask_i32gather_epi32(_mm256_setzero_si256(), pixels, nearestIndex, inside, 4);
        if (source.smooth) {
            const __m256i cornerU = _mm256_sub_epi32(laneU, half);
            const __m256i cornerV = _mm256_sub_epi32(laneV, half);
            const __m256i sampleLeft = _mm256_add_epi32(cornerX, _mm256_srai_epi32(cornerU, kFractionBits));
            const __m256i sampleTop = _mm256_add_epi32(cornerY, _mm256_srai_epi32(cornerV, kFractionBits));
            const __m256i bilinear =
                _mm256_and_si256(inside, _mm256_and_si256(Within(sampleLeft, left, pairRightEnd),
                                                          Within(sampleTop, top, pairBottomEnd)));
            if (!_mm256_testz_si256(bilinear, bilinear)) {
                const __m256i base = _mm256_add_epi32(_mm256_mullo_epi32(sampleTop, rowLength), sampleLeft);
                sample = _mm256_blendv_epi8(sample, SampleBilinear8(source, base, cornerU, cornerV, bilinear),
                                            bilinear);
            }
        }
        auto* at = reinterpret_cast<int*>(row + x + k);
        const __m256i destination = _mm256_maskload_epi32(at, inside);
        _mm256_maskstore_epi32(at, inside, BlendColours(destination, sample, RuleWeights(source, sample)));
    }
}
#endif

}  // namespace

RotateScaleRow SelectRotateScaleRow() {
#if defined(__x86_64__)
    if (ActiveRowVariant() == RowVariant::kAvx2) {
        return &Avx2Row;
    }
#endif
    return &BaselineRow;
}
