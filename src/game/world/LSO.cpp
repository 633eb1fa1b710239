#include "game/world/LSO.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Property.h"

namespace {

const ClassRegistration registration("LSO", CreateFromProperty<LSO>);

}  // namespace

LSO::LSO(Property* definition) : Sprite(definition) {
    if (Property* layer = Property::Child(definition, "layer")) {
        layer_ = Property::AsInt(layer);
    }
    SetRealX(static_cast<float>(GetX()));
}

void LSO::SetRealX(float x) {
    realX_ = x;
    SetX(static_cast<int32_t>(x));
}
