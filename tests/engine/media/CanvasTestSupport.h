#pragma once

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <utility>

#include "engine/foundation/Ref.h"
#include "engine/media/Canvas.h"
#include "engine/media/MemorySurface.h"
#include "engine/media/RowVariant.h"

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

// Runs check(name) once with each row variant this processor runs made
// active, then makes the one active before active again.
template <typename Check>
void ForEachRowVariant(Check check) {
    const RowVariant before = ActiveRowVariant();
    for (const auto& [variant, name] : {std::pair{RowVariant::kBaseline, "baseline"}, std::pair{RowVariant::kAvx2, "avx2"}}) {
        if (SetRowVariant(variant)) {
            check(std::string(name));
        }
    }
    SetRowVariant(before);
}
