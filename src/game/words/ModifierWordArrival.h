#pragma once

#include <cstdint>

#include "engine/scene/Modifier.h"

// Holds a new queue word's effects back until the word's column lies wholly
// inside the queue's visible width, or 2000 ms have passed. It runs on the
// word's first slot and finds the word and its queue through the tree.
class ModifierWordArrival : public Modifier {
    ENGINE_CLASS(ModifierWordArrival, Modifier)

public:
    static constexpr int32_t kLongestWaitMs = 2000;

    void Update(int32_t elapsedMs) override;

private:
    int32_t remainingMs_ = kLongestWaitMs;
};
