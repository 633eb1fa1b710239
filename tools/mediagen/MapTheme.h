#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class Water { kNone, kRiver, kLakes, kSea };

struct SceneryChoice {
    const char* kindId;
    int weight;
};

// A section's look: ground colours, scenery and the landscape kinds
// scattered on it.
struct MapTheme {
    std::string name;
    uint32_t groundLight;
    uint32_t groundDark;
    uint32_t patch;   // fields, heath or paving laid on the ground
    uint32_t water;
    Water waterKind;
    uint32_t backdrop;   // crowns of the distant trees
    int backdropClumps;
    std::vector<SceneryChoice> scenery;
    const char* station;  // the station kind of ordinary cities
};

// The theme of that name; throws for an unknown one.
const MapTheme& ThemeNamed(const std::string& name);
// The themes along the journey, one per map section in section order.
const std::vector<MapTheme>& JourneyThemes();
