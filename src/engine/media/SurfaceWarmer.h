#pragma once

#include <cstdint>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/media/MemorySurface.h"

// Cleared pictures made ahead of need, their pages brought into memory a few
// rows a step: a fresh screen-sized block cleared at once costs a page fault
// per page, several milliseconds, in the frame that makes it.
class SurfaceWarmer {
public:
    // A picture of that size, cleared only by the steps to come.
    Ref<MemorySurface> Add(int32_t width, int32_t height);
    // Clears up to `rows` further rows of the pictures, in the order they
    // were added; true once every one is cleared.
    bool Step(int32_t rows);
    bool Done() const;

private:
    struct Entry {
        Ref<MemorySurface> surface;
        int32_t clearedRows;
    };
    std::vector<Entry> entries_;
};
