#include "engine/foundation/RandomGenerator.h"

#include "engine/foundation/Ref.h"

namespace {

Ref<RandomGenerator>& GlobalHolder() {
    static Ref<RandomGenerator> holder;
    return holder;
}

}  // namespace

RandomGenerator::RandomGenerator(uint32_t seedLow, uint32_t seedHigh) {
    uint64_t seed = (static_cast<uint64_t>(seedHigh) << 32) | seedLow;
    state = (seed ^ multiplier) & mask;
}

uint32_t RandomGenerator::Next() {
    state = (state * multiplier + addend) & mask;
    return static_cast<uint32_t>(state >> 16);
}

uint32_t RandomGenerator::NextBelow(uint32_t n) {
    uint32_t output = Next();
    return n == 0 ? 0 : output % n;
}

int RandomGenerator::NextBetween(int a, int b) {
    // The span is computed in 64 bits so that a full-range request cannot overflow.
    uint64_t span = static_cast<uint64_t>(static_cast<int64_t>(b) - a) + 1;
    uint64_t output = Next();
    return static_cast<int>(static_cast<int64_t>(a) + static_cast<int64_t>(output % span));
}

void RandomGenerator::SetGlobal(RandomGenerator* generator) {
    GlobalHolder() = generator;
}

RandomGenerator* RandomGenerator::Global() {
    return GlobalHolder().Get();
}
