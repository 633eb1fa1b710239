#include "engine/foundation/Scrambler.h"

#include <utility>

#include "engine/foundation/RandomGenerator.h"

namespace {

// The key: seed words of the 48-bit generator that draws the key schedule's bytes.
constexpr uint32_t kScrambleSeedLow = 0x7A3C19E5;
constexpr uint32_t kScrambleSeedHigh = 0x4B1D;

std::array<uint8_t, 256> MakeTable() {
    RandomGenerator generator(kScrambleSeedLow, kScrambleSeedHigh);
    std::array<uint8_t, 256> key{};
    uint32_t word = 0;
    for (size_t i = 0; i < key.size(); ++i) {
        if (i % 4 == 0) {
            word = generator.Next();
        }
        key[i] = static_cast<uint8_t>(word >> (8 * (i % 4)));
    }

    // RC4's key schedule over the identity permutation.
    std::array<uint8_t, 256> table{};
    for (size_t i = 0; i < table.size(); ++i) {
        table[i] = static_cast<uint8_t>(i);
    }
    uint8_t j = 0;
    for (size_t i = 0; i < table.size(); ++i) {
        j = static_cast<uint8_t>(j + key[i] + table[i]);
        std::swap(table[i], table[j]);
    }
    return table;
}

}  // namespace

const std::array<uint8_t, 256>& BuildScrambleTable() {
    // A function-local static is built exactly once even when threads race.
    static const std::array<uint8_t, 256> table = MakeTable();
    return table;
}

void DescrambleBuffer(uint8_t* bytes, size_t count) {
    const auto& table = BuildScrambleTable();
    for (size_t i = 0; i < count; ++i) {
        bytes[i] ^= table[i % 256] & 0x7F;
    }
}
