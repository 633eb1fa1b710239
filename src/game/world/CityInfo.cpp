#include "game/world/CityInfo.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyNode.h"

namespace {
const ClassRegistration registration("CityInfo", CreateFromProperty<CityInfo>);

int32_t ReadInt(const Property* node, const char* key) {
    return Property::AsInt(Property::Child(node, key));
}
}  // namespace

CityInfo::CityInfo(const Property* definition)
    : x(ReadInt(definition, "x")),
      y(ReadInt(definition, "y")),
      circleX(ReadInt(definition, "circleX")),
      circleY(ReadInt(definition, "circleY")),
      circleRadius(ReadInt(definition, "circleRadius")),
      ticketX(ReadInt(definition, "ticketX")),
      ticketY(ReadInt(definition, "ticketY")),
      ticketIndex(ReadInt(definition, "ticketIndex")),
      index(ReadInt(definition, "index")) {
    assets.Read(Property::Child(definition, "assets"));
}

void CityInfo::ResetProgress() {
    bought = false;
    visited = false;
    mapNodes.clear();
}

void CityInfo::WriteProgress(Property* node) const {
    PropertyNode& target = Property::NodeOf(node);
    target.SetBool("bought", bought, false);
    target.SetBool("visited", visited, false);
}

void CityInfo::ReadProgress(const Property* node) {
    bought = Property::AsBool(Property::Child(node, "bought"));
    visited = Property::AsBool(Property::Child(node, "visited"));
}
