#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "engine/foundation/Scrambler.h"

namespace {

std::vector<uint8_t> Pattern(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    }
    return bytes;
}

TEST(ScramblerTest, ScramblingTwiceRestoresTheBytes) {
    for (size_t size : {0u, 1u, 255u, 256u, 1000u}) {
        std::vector<uint8_t> original = Pattern(size);
        std::vector<uint8_t> bytes = original;
        DescrambleBuffer(bytes.data(), bytes.size());
        if (size >= 16) {
            EXPECT_NE(bytes, original) << size;
        }
        DescrambleBuffer(bytes.data(), bytes.size());
        EXPECT_EQ(bytes, original) << size;
    }
}

// Pins the key: a change here makes every stored file unreadable.
TEST(ScramblerTest, KeystreamIsFixed) {
    std::vector<uint8_t> zeros(16, 0);
    DescrambleBuffer(zeros.data(), zeros.size());
    const std::vector<uint8_t> expected = {0x70, 0x03, 0x19, 0x2F, 0x13, 0x64, 0x76, 0x6F,
                                           0x26, 0x5D, 0x51, 0x10, 0x57, 0x7B, 0x0B, 0x07};
    EXPECT_EQ(zeros, expected);
}

TEST(ScramblerTest, KeystreamRepeatsEvery256BytesAndSparesTheTopBit) {
    std::vector<uint8_t> zeros(600, 0);
    DescrambleBuffer(zeros.data(), zeros.size());
    for (size_t i = 0; i + 256 < zeros.size(); ++i) {
        ASSERT_EQ(zeros[i], zeros[i + 256]) << i;
    }
    std::vector<uint8_t> ones(600, 0xFF);
    DescrambleBuffer(ones.data(), ones.size());
    for (uint8_t b : ones) {
        ASSERT_EQ(b & 0x80, 0x80);
    }
}

TEST(ScramblerTest, TableIsAPermutation) {
    const auto& table = BuildScrambleTable();
    std::vector<bool> seen(256, false);
    for (uint8_t value : table) {
        seen[value] = true;
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 256);
    EXPECT_EQ(&BuildScrambleTable(), &table);
}

TEST(ScramblerTest, ConcurrentFirstUseSeesOneTable) {
    std::vector<std::vector<uint8_t>> results(4, std::vector<uint8_t>(64, 0));
    std::vector<std::thread> threads;
    for (auto& result : results) {
        threads.emplace_back([&result] { DescrambleBuffer(result.data(), result.size()); });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (const auto& result : results) {
        EXPECT_EQ(result, results[0]);
    }
}

}  // namespace
