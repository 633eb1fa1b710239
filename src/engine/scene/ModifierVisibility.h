#pragma once

#include <cstdint>

#include "engine/scene/Modifier.h"

// Hides, shows or toggles its target once, then finishes.
class ModifierVisibility : public Modifier {
    ENGINE_CLASS(ModifierVisibility, Modifier)

public:
    static constexpr int32_t kHide = 4;
    static constexpr int32_t kShow = 5;

    // kHide, kShow, or any other mode to toggle.
    explicit ModifierVisibility(int32_t mode) : mode_(mode) {}

    void Update(int32_t elapsedMs) override;

private:
    int32_t mode_;
};
