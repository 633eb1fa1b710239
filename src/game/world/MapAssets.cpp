#include "game/world/MapAssets.h"

#include "engine/foundation/MediaNumbers.h"
#include "engine/foundation/Property.h"
#include "game/world/MapList.h"

void MapAssets::Read(const Property* assets) {
    for (int i = 0; const Property* entry = Property::At(MapList(assets), i); ++i) {
        ids.push_back(Property::AsInt(Property::Child(entry, "aid")));
        positions.push_back({static_cast<float>(media_numbers::Position(Property::Child(entry, "x"))),
                             static_cast<float>(media_numbers::Position(Property::Child(entry, "y")))});
    }
}
