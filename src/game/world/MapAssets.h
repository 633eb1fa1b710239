#pragma once

#include <vector>

#include "engine/media/Rect.h"

class Property;

// The landscape pieces placed on the map: one id ("aid") and one position
// per entry of an "assets" list.
struct MapAssets {
    std::vector<int> ids;
    std::vector<PointF> positions;

    // Appends the entries of an "assets" vector; positions are whole pixels.
    void Read(const Property* assets);
};
