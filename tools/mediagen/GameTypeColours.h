#pragma once

#include <cstdint>

// One colour per game type (0 to 7, and 8 for the mixed classic game): the
// colour its description and high scores are written in. Its ticket, HUD
// plate, classic panel, result plate and header font are all drawn in
// shades of it, so a type looks the same wherever it appears.
inline constexpr int kGameTypeCount = 9;
inline constexpr int kMixedGameType = 8;
inline constexpr uint32_t kGameTypeColours[kGameTypeCount] = {0xB20B0B, 0xB20B0B, 0x106E09, 0x071F87, 0x990A9B,
                                                              0xAF1E6E, 0x0B590A, 0x0072FF, 0xB20B0B};
