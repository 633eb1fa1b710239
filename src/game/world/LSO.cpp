#include "game/world/LSO.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Property.h"
#include "engine/media/RotateScaleWalk.h"

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
    // Positions follow race lengths read from save games: held in range.
    SetX(TruncateToInt32(x));
}
