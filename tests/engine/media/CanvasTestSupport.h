#pragma once

#include <algorithm>
#include <cstdint>
#include <set>
#include <utility>

#include "engine/foundation/Ref.h"
#include "engine/media/Canvas.h"
#include "engine/media/MemorySurface.h"

// A 32-bit picture filled with one value.
inline Ref<MemorySurface> FilledSurface(int32_t width, int32_t height, uint32_t value) {
    Ref<MemorySurface> surface(new MemorySurface(width, height));
    std::fill_n(surface->Pixels32(), width * height, value);
    return surface;
}

inline uint32_t PixelAt(const Surface& surface, int32_t x, int32_t y) {
    return surface.Pixels32()[surface.PixelIndex(x, y)];
}

// The positions whose pixel differs from the fill value.
inline std::set<std::pair<int32_t, int32_t>> ChangedPixels(const Surface& surface, uint32_t fill) {
    std::set<std::pair<int32_t, int32_t>> changed;
    for (int32_t y = 0; y < surface.GetHeight(); ++y) {
        for (int32_t x = 0; x < surface.GetWidth(); ++x) {
            if (PixelAt(surface, x, y) != fill) {
                changed.insert({x, y});
            }
        }
    }
    return changed;
}
