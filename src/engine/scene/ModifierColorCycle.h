#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/scene/Modifier.h"

class Surface;

// Gives the target sprite the colours of a small table image, pixel by pixel
// in reading order, once per period, for a number of periods or for ever.
class ModifierColorCycle : public Modifier {
    ENGINE_CLASS(ModifierColorCycle, Modifier)

public:
    // Repeats below 1 cycle for ever.
    ModifierColorCycle(Surface* table, int32_t periodMs, int32_t repeats);
    ~ModifierColorCycle() override;

    void Update(int32_t elapsedMs) override;

private:
    void WriteColour(int32_t index) const;

    Ref<Surface> table_;
    int32_t period_;
    int32_t elapsed_ = 0;
    int32_t repeats_;
    int32_t periodsDone_ = 0;
    bool atEnd_ = false;
};
