#pragma once

#include <cstdint>
#include <functional>

#include "engine/scene/Modifier.h"

class GameNode;

// Calls a function with the target node once a frame until it answers that
// its work is done, then finishes: a piece of work spread over frames.
class ModifierSteps : public Modifier {
    ENGINE_CLASS(ModifierSteps, Modifier)

public:
    using Step = std::function<bool(GameNode* target)>;

    explicit ModifierSteps(Step step) : step_(std::move(step)) {}

    void Update(int32_t) override {
        if (!step_ || step_(GetTarget())) {
            SetFinished();
        }
    }

private:
    Step step_;
};
