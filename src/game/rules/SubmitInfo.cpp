#include "game/rules/SubmitInfo.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Property.h"

namespace {
const ClassRegistration registration("SubmitInfo", CreateFromProperty<SubmitInfo>);
}  // namespace

SubmitInfo::SubmitInfo(Property* node) {
    if (node == nullptr) {
        return;
    }
    text = Property::AsString(Property::Child(node, "text"));
    time = Property::AsInt(Property::Child(node, "time"));
    dist = Property::AsInt(Property::Child(node, "dist"));
}
