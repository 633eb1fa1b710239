#include <gtest/gtest.h>

#include "engine/foundation/RandomGenerator.h"
#include "engine/foundation/Ref.h"

namespace {

// Expected outputs computed from the formula: seed scrambled with the
// multiplier, state = state * 0x5DEECE66D + 11 mod 2^48, output bits 16..47.
TEST(RandomGeneratorTest, ReproducesThe48BitSequence) {
    struct Case {
        uint32_t low;
        uint32_t high;
        uint32_t outputs[3];
    };
    const Case cases[] = {
        {0, 0, {0xBB20B460, 0xD4D95138, 0x3D93CB7A}},
        {12345, 0, {0x5C9F20D6, 0x8361B331, 0xEED8A922}},
    };
    for (const Case& c : cases) {
        RandomGenerator generator(c.low, c.high);
        for (uint32_t expected : c.outputs) {
            EXPECT_EQ(generator.Next(), expected) << c.low;
        }
    }
}

TEST(RandomGeneratorTest, SeedAndConstants) {
    RandomGenerator zero(0, 0);
    EXPECT_EQ(zero.state, 0x5DEECE66DULL);
    EXPECT_EQ(zero.multiplier, 0x5DEECE66DULL);
    EXPECT_EQ(zero.mask, 0xFFFFFFFFFFFFULL);
    EXPECT_EQ(zero.addend, 11u);

    // The high word lands above bit 32 and is cut to 48 bits.
    RandomGenerator high(0, 0xFFFFFFFF);
    EXPECT_EQ(high.state, (0xFFFFFFFF00000000ULL ^ 0x5DEECE66DULL) & 0xFFFFFFFFFFFFULL);
}

TEST(RandomGeneratorTest, EqualSeedsGiveEqualSequences) {
    RandomGenerator a(777, 3);
    RandomGenerator b(777, 3);
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(a.Next(), b.Next());
    }
}

TEST(RandomGeneratorTest, RangesUseTheOutputModulo) {
    RandomGenerator reference(0, 0);
    RandomGenerator ranged(0, 0);
    EXPECT_EQ(ranged.NextBelow(10), reference.Next() % 10);
    EXPECT_EQ(ranged.NextBetween(5, 9), static_cast<int>(reference.Next() % 5) + 5);
    EXPECT_EQ(ranged.NextBelow(0), 0u);
    reference.Next();
    int full = ranged.NextBetween(-2147483647 - 1, 2147483647);
    EXPECT_EQ(static_cast<uint32_t>(full), reference.Next() + 0x80000000u);
}

TEST(RandomGeneratorTest, TheGlobalGeneratorHoldsOneReference) {
    EXPECT_EQ(RandomGenerator::Global(), nullptr);
    Ref<RandomGenerator> generator(new RandomGenerator(5, 0));
    RandomGenerator::SetGlobal(generator.Get());
    EXPECT_EQ(RandomGenerator::Global(), generator.Get());
    EXPECT_EQ(generator->ReferenceCount(), 2);
    RandomGenerator::SetGlobal(nullptr);
    EXPECT_EQ(generator->ReferenceCount(), 1);
}

}  // namespace
