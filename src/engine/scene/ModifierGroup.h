#pragma once

#include "engine/scene/Modifier.h"

// An entry of the animation tree that groups parallel branches: it does
// nothing itself and counts as finished from the start, so its children run
// at once; while it is held, its whole subtree waits.
class ModifierGroup : public Modifier {
    ENGINE_CLASS(ModifierGroup, Modifier)

public:
    ModifierGroup() { SetFinished(); }

    void Update(int32_t elapsedMs) override { static_cast<void>(elapsedMs); }
};
