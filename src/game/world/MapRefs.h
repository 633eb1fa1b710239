#pragma once

#include <cstdint>

// A city: its index in its section's city list and the section's index.
// -1 means none.
struct CityRef {
    int32_t city = -1;
    int32_t section = -1;
    bool operator==(const CityRef&) const = default;
};

// A track: its index in its section's track list and the section's index.
struct TrackRef {
    int32_t track = -1;
    int32_t section = -1;
    bool operator==(const TrackRef&) const = default;
};
