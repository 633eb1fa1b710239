#pragma once

#include <cstdint>
#include <vector>

#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"
#include "game/world/MapAssets.h"

class Property;
class Sprite;

// A city of a map section with the player's progress on it.
class CityInfo : public Object {
    ENGINE_CLASS(CityInfo, Object)

public:
    CityInfo() = default;
    // Keys "x", "y", "circleX", "circleY", "circleRadius", "ticketX",
    // "ticketY", "ticketIndex", "index" and the "assets" list.
    explicit CityInfo(const Property* definition);

    void ResetProgress();
    // A "PlayerCityData" node: "bought" and "visited".
    void WriteProgress(Property* node) const;
    void ReadProgress(const Property* node);

    // Adds the sign to mapNodes; a blue or red signpost gets the city's
    // number written on a private copy of its picture.
    void AddSignpostLabel(Sprite* sign);

    int32_t x = 0;
    int32_t y = 0;
    int32_t circleX = 0;
    int32_t circleY = 0;
    int32_t circleRadius = 0;
    int32_t ticketX = 0;
    int32_t ticketY = 0;
    int32_t ticketIndex = 0;
    int32_t index = 0;
    // Not in the file; the map scene's to use.
    int32_t sceneTag = -1;
    bool bought = false;
    bool visited = false;
    MapAssets assets;
    // The scene nodes the map scene made for the city.
    std::vector<Ref<Object>> mapNodes;
};
