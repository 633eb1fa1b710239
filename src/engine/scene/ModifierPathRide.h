#pragma once

#include <cstdint>

#include "engine/scene/ModifierFollowPath.h"

// Rides its target along a whole path, from the first point to the last, at
// constant speed in a given time.
class ModifierPathRide : public ModifierFollowPath {
    ENGINE_CLASS(ModifierPathRide, ModifierFollowPath)

public:
    static constexpr int32_t kDefaultDurationMs = 3000;

    explicit ModifierPathRide(Path* path, int32_t durationMs = kDefaultDurationMs, bool moveX = true, bool moveY = true)
        : ModifierFollowPath(path, 0, durationMs, moveX, moveY) {}
};
