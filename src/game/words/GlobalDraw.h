#pragma once

#include <cstdint>

#include "engine/foundation/RandomGenerator.h"

// One step of the run's shared generator: its output, (state >> 16) as an
// unsigned 32-bit number; 0 when the run has no generator.
inline uint32_t DrawGlobal() {
    RandomGenerator* generator = RandomGenerator::Global();
    return generator != nullptr ? generator->Next() : 0;
}
