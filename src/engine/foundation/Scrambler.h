#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Stored ".!" files are XOR-ed with a keystream that repeats every 256 bytes
// and leaves the top bit of each byte alone. The key fixes the file format:
// changing it makes every saved file unreadable.

// The 256-byte permutation behind the keystream, built once per run (safe
// from any thread) and returned unchanged afterwards.
const std::array<uint8_t, 256>& BuildScrambleTable();

// Scrambles or unscrambles in place; applying it twice restores the bytes.
void DescrambleBuffer(uint8_t* bytes, size_t count);
