#include "game/world/PartBuilder.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/scene/Sprite.h"

namespace {

Ref<Object> BuildPart(Property* definition, const std::string& childName) {
    Property* child = Property::Child(definition, childName);
    return Ref<Object>(child != nullptr ? ClassFactory::Instance().Create(child) : nullptr);
}

}  // namespace

Ref<Sprite> BuildPartSprite(Property* definition, const std::string& childName) {
    Ref<Sprite> part(ObjectCast<Sprite>(BuildPart(definition, childName).Get()));
    return part ? part : Ref<Sprite>(new Sprite(&Property::DummyNode()));
}

Ref<GameNode> BuildPartNode(Property* definition, const std::string& childName) {
    Ref<GameNode> part(ObjectCast<GameNode>(BuildPart(definition, childName).Get()));
    return part ? part : Ref<GameNode>(new Sprite(&Property::DummyNode()));
}
