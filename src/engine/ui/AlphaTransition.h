#pragma once

#include <cstdint>

#include "engine/ui/SceneTransition.h"

// The scene entered fades in over a still picture of the scene left.
class AlphaTransition : public SceneTransition {
    ENGINE_CLASS(AlphaTransition, SceneTransition)

public:
    // SceneTransition's keys and "time" (ms, default 1000).
    explicit AlphaTransition(Property* definition);

    void Activate() override;

private:
    int32_t time_ = 1000;
};
