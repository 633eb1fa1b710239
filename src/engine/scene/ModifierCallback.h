#pragma once

#include <cstdint>
#include <functional>

#include "engine/scene/Modifier.h"

class GameNode;

// Calls a function once with its value and the target node, then finishes.
class ModifierCallback : public Modifier {
    ENGINE_CLASS(ModifierCallback, Modifier)

public:
    using Function = std::function<void(uint32_t value, GameNode* target)>;

    ModifierCallback(Function function, uint32_t value) : function_(std::move(function)), value_(value) {}

    void Update(int32_t) override {
        SetFinished();
        if (function_) {
            function_(value_, GetTarget());
        }
    }

private:
    Function function_;
    uint32_t value_;
};
