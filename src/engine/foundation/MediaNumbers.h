#pragma once

#include <cstdint>

class Property;

// Numbers read from the media, held where they are read to ranges that the
// layout and timing code can add and multiply without overflowing. A number
// outside its range is logged with its key and read as the nearer end.
namespace media_numbers {

// Positions, offsets and spacings, in pixels: far beyond any screen, yet a
// chain of them sums well inside 32 bits.
constexpr int32_t kPositionLimit = 100000;
// The side of a picture made from a definition's size: 64 MB at most.
constexpr int32_t kLargestPictureSide = 4096;
// Times in milliseconds: an hour.
constexpr int32_t kLongestTimeMs = 3600000;

int32_t Held(const Property* value, int32_t low, int32_t high);
// A float the same way; one that is not a number reads as 0.
float HeldFloat(const Property* value, float low, float high);

inline int32_t Position(const Property* value) { return Held(value, -kPositionLimit, kPositionLimit); }
inline int32_t PictureSide(const Property* value) { return Held(value, 0, kLargestPictureSide); }
inline int32_t TimeMs(const Property* value) { return Held(value, 0, kLongestTimeMs); }
inline float PositionF(const Property* value) {
    return HeldFloat(value, -static_cast<float>(kPositionLimit), static_cast<float>(kPositionLimit));
}

}  // namespace media_numbers
