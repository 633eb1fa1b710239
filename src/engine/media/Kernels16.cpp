#include "engine/media/Kernels16.h"

#include <cstring>

#include "engine/media/PixelMath.h"

namespace Kernels16 {
namespace {

// Eight 16-bit pixels, or their eight weights, in one vector.
using Lanes = uint16_t __attribute__((vector_size(16)));
using Bytes = uint8_t __attribute__((vector_size(8)));

Lanes LoadPixels(const uint16_t* pixels) {
    Lanes lanes;
    std::memcpy(&lanes, pixels, sizeof lanes);
    return lanes;
}

Lanes LoadWeights(const uint8_t* bytes) {
    Bytes loaded;
    std::memcpy(&loaded, bytes, sizeof loaded);
    return __builtin_convertvector(loaded, Lanes);
}

// Each field d + floor((s - d) * w / 256), as (d * (256 - w) + s * w) >> 8, for
// weights 0..256; no lane exceeds 63 x 256.
Lanes BlendLanes(Lanes d, Lanes s, Lanes w) {
    const Lanes inverse = 256 - w;
    const Lanes red = ((d >> 11) * inverse + (s >> 11) * w) >> 8;
    const Lanes green = (((d >> 5) & 0x3F) * inverse + ((s >> 5) & 0x3F) * w) >> 8;
    const Lanes blue = ((d & 0x1F) * inverse + (s & 0x1F) * w) >> 8;
    return (red << 11) | (green << 5) | blue;
}

uint32_t GroupBytes(const uint8_t* bytes) {
    uint32_t group;
    std::memcpy(&group, bytes, sizeof group);
    return group;
}

// One group of four with the group rule, or a tail pixel with its own rule.
void BlendAlphaGroup(const uint16_t* from, const uint8_t* alphaBytes, uint16_t* to, int32_t alpha) {
    const uint32_t group = GroupBytes(alphaBytes);
    if (group == 0) {
        return;
    }
    const bool copy = alpha == 255 && group == 0xFFFFFFFFu;
    for (int32_t k = 0; k < 4; ++k) {
        const int32_t weight = alpha == 255 ? alphaBytes[k] : (alphaBytes[k] * alpha) >> 8;
        to[k] = copy ? from[k] : Blend16(to[k], from[k], weight);
    }
}

void BlendAlphaTail(const uint16_t* from, const uint8_t* alphaBytes, uint16_t* to, int32_t count, int32_t alpha) {
    for (int32_t k = 0; k < count; ++k) {
        if (alpha == 255) {
            to[k] = alphaBytes[k] == 255 ? from[k] : Blend16(to[k], from[k], alphaBytes[k]);
        } else {
            to[k] = Blend16(to[k], from[k], (alphaBytes[k] * alpha) >> 8);
        }
    }
}

}  // namespace

void BlendAlphaRow(const uint16_t* from, const uint8_t* alphaBytes, uint16_t* to, int32_t w, int32_t alpha) {
    const int32_t groups = w & ~3;
    int32_t i = 0;
    const auto scale = static_cast<uint16_t>(alpha);
    for (; i + 8 <= groups; i += 8) {
        const uint32_t first = GroupBytes(alphaBytes + i);
        const uint32_t second = GroupBytes(alphaBytes + i + 4);
        if ((first | second) == 0) {
            continue;
        }
        Lanes weights = LoadWeights(alphaBytes + i);
        if (alpha == 255) {
            // A wholly opaque group is copied: weight 256 reproduces the source exactly.
            const uint16_t firstFull = first == 0xFFFFFFFFu ? 1 : 0;
            const uint16_t secondFull = second == 0xFFFFFFFFu ? 1 : 0;
            weights += Lanes{firstFull, firstFull, firstFull, firstFull, secondFull, secondFull, secondFull,
                             secondFull};
        } else {
            weights = (weights * scale) >> 8;
        }
        Lanes result = BlendLanes(LoadPixels(to + i), LoadPixels(from + i), weights);
        std::memcpy(to + i, &result, sizeof result);
    }
    for (; i < groups; i += 4) {
        BlendAlphaGroup(from + i, alphaBytes + i, to + i, alpha);
    }
    BlendAlphaTail(from + i, alphaBytes + i, to + i, w - i, alpha);
}

void BlendConstantRow(const uint16_t* from, uint16_t* to, int32_t w, int32_t alpha) {
    const auto weight = static_cast<uint16_t>(alpha);
    const Lanes weights = {weight, weight, weight, weight, weight, weight, weight, weight};
    int32_t i = 0;
    for (; i + 8 <= w; i += 8) {
        Lanes result = BlendLanes(LoadPixels(to + i), LoadPixels(from + i), weights);
        std::memcpy(to + i, &result, sizeof result);
    }
    for (; i < w; ++i) {
        to[i] = Blend16(to[i], from[i], alpha);
    }
}

void MaskRow(const uint8_t* coverage, uint16_t colour, uint16_t* to, int32_t w, int32_t alpha) {
    const auto scale = static_cast<uint16_t>(alpha);
    const Lanes colours = {colour, colour, colour, colour, colour, colour, colour, colour};
    const int32_t groups = w & ~3;
    int32_t i = 0;
    for (; i + 8 <= groups; i += 8) {
        if ((GroupBytes(coverage + i) | GroupBytes(coverage + i + 4)) == 0) {
            continue;
        }
        const Lanes weights = (LoadWeights(coverage + i) * scale) >> 8;
        Lanes result = BlendLanes(LoadPixels(to + i), colours, weights);
        std::memcpy(to + i, &result, sizeof result);
    }
    for (; i < w; ++i) {
        to[i] = Blend16(to[i], colour, (coverage[i] * alpha) >> 8);
    }
}

}  // namespace Kernels16
