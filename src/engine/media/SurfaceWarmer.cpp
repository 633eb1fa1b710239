#include "engine/media/SurfaceWarmer.h"

#include <algorithm>

Ref<MemorySurface> SurfaceWarmer::Add(int32_t width, int32_t height) {
    Ref<MemorySurface> surface(new MemorySurface(width, height, MemorySurface::Unset{}));
    entries_.push_back({surface, 0});
    return surface;
}

bool SurfaceWarmer::Step(int32_t rows) {
    for (Entry& entry : entries_) {
        MemorySurface& surface = *entry.surface;
        const int32_t count = std::min(rows, surface.GetHeight() - entry.clearedRows);
        if (count <= 0) {
            continue;
        }
        std::fill_n(surface.Pixels32() + surface.PixelIndex(0, entry.clearedRows),
                    static_cast<size_t>(count) * static_cast<size_t>(surface.GetWidth()), 0u);
        entry.clearedRows += count;
        rows -= count;
        if (rows == 0) {
            break;
        }
    }
    return Done();
}

bool SurfaceWarmer::Done() const {
    return std::all_of(entries_.begin(), entries_.end(),
                       [](const Entry& entry) { return entry.clearedRows >= entry.surface->GetHeight(); });
}
