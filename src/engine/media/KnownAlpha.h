#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "engine/media/PackedPixels.h"
#include "engine/media/Surface.h"

// The routines that change colour channels only and may overwrite whole
// pixels (the opaque fill and blit) learn and use the destination's known
// alpha (Surface::KnownAlpha): with it they write without reading.

// Whether a routine leaves every alpha byte of its destination as it was.
enum class AlphaBytes { kKept, kChanged };

// The destination's pixels for such a routine: one that changes alpha bytes forgets what was known.
inline uint32_t* DestinationPixels(const Surface& destination, AlphaBytes alpha) {
    return alpha == AlphaBytes::kKept ? destination.Pixels32KeepingAlpha() : destination.Pixels32();
}

// The alpha bytes a read-modify-write pass saw: the AND and the OR of its words.
struct AlphaSeen {
    uint32_t all = ~0u;
    uint32_t any = 0;

    // Folds in the lanes of a vector of 32-bit words, or a single word.
    template <typename Words>
    PIXEL_INLINE void Add(Words allWords, Words anyWords) {
        if constexpr (sizeof(Words) == sizeof(uint32_t)) {
            all &= allWords;
            any |= anyWords;
        } else {
            for (size_t k = 0; k < sizeof(Words) / sizeof(uint32_t); ++k) {
                all &= allWords[k];
                any |= anyWords[k];
            }
        }
    }

    std::optional<uint8_t> Uniform() const {
        if (((all ^ any) >> 24) != 0) {
            return std::nullopt;
        }
        return static_cast<uint8_t>(all >> 24);
    }
};

// Draws a block of the destination with a routine that keeps every alpha
// byte. With the alpha known, whole(alpha bits) writes whole pixels; else
// keep(seen) reads and writes each one, and when the block is the whole
// surface the alpha it saw becomes known if all of it is alike. The caller
// holds the locks.
template <typename Whole, typename Keep>
void DrawKeepingAlpha(Surface& destination, int32_t x, int32_t y, int32_t w, int32_t h, Whole whole, Keep keep) {
    if (const std::optional<uint8_t> alpha = destination.KnownAlpha()) {
        whole(uint32_t{*alpha} << 24);
        return;
    }
    AlphaSeen seen;
    keep(seen);
    if (x == 0 && y == 0 && w == destination.GetWidth() && h == destination.GetHeight()) {
        destination.SetKnownAlpha(seen.Uniform());
    }
}
