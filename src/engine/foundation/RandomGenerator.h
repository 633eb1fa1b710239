#pragma once

#include <cstdint>

#include "engine/foundation/Object.h"

// The 48-bit linear congruential generator of the published drand48 family.
// Callers may step it themselves with the formula of Next(), so the state and
// the constants are public and never change after construction.
class RandomGenerator : public Object {
    ENGINE_CLASS(RandomGenerator, Object)

public:
    // The seed is (high << 32) | low, scrambled with the multiplier.
    RandomGenerator(uint32_t seedLow, uint32_t seedHigh);

    // The run's shared generator: start-up sets it (taking a reference) and
    // shutdown sets null, releasing it. Null while none is set.
    static void SetGlobal(RandomGenerator* generator);
    static RandomGenerator* Global();

    // state = (state * multiplier + addend) & mask; the output is bits 16..47.
    uint32_t Next();
    // A number in 0 .. n-1; 0 when n is 0.
    uint32_t NextBelow(uint32_t n);
    // A number in a .. b (b >= a).
    int NextBetween(int a, int b);

    uint64_t state;
    uint64_t multiplier = 0x5DEECE66DULL;
    uint64_t mask = 0xFFFFFFFFFFFFULL;
    uint64_t addend = 0xBULL;
};
