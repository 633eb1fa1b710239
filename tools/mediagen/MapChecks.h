#pragma once

#include <string>
#include <vector>

#include "mediagen/MapLayout.h"

constexpr int kSectionCount = 10;
constexpr int kUnlockedTracks = 13;   // the progress measure counts from them
constexpr int kMaxTracksPerCity = 5;  // the map shows at most five routes of dots
constexpr double kMaxRouteLength = 1519;

// Every constraint the game relies on, checked on the laid map; one line
// per fault found, none when the map is sound.
std::vector<std::string> CheckMapLayout(const MapLayout& layout);
