#pragma once

#include <cstdint>

#include "engine/scene/Modifier.h"

// The base of the game's own value modifiers: a start and an end value, as
// integers and as doubles, and three flags for the derived class to use.
class ModifierFromTo : public Modifier {
    ENGINE_CLASS(ModifierFromTo, Modifier)

public:
    ModifierFromTo(int32_t from, int32_t to)
        : from_(from), to_(to), fromValue_(from), toValue_(to), flags_{true, true, false} {}

protected:
    int32_t from_;
    int32_t to_;
    double fromValue_;
    double toValue_;
    bool flags_[3];
};
