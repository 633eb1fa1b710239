#include "engine/scene/DisabledSpriteImageVector.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Property.h"
#include "engine/scene/SceneResources.h"

namespace {

const ClassRegistration registration("DisabledSpriteImageVector", CreateFromProperty<DisabledSpriteImageVector>);

Sprite* MakePlainSprite(int32_t x, int32_t y, Surface* image) {
    return new Sprite(x, y, image);
}

DisabledSpriteImageVector::DisabledSpriteMaker disabledSpriteMaker = MakePlainSprite;

}  // namespace

void DisabledSpriteImageVector::SetDisabledSpriteMaker(DisabledSpriteMaker maker) {
    disabledSpriteMaker = maker != nullptr ? maker : MakePlainSprite;
}

DisabledSpriteImageVector::DisabledSpriteImageVector(Property* definition) : SpriteImageVector(definition) {
    Property* imageDisabled = Property::Child(definition, "imageDisabled");
    if (imageDisabled == nullptr) {
        return;
    }
    const Ref<Object> data = FindResourceData(Property::AsString(imageDisabled),
                                              Property::AsString(Property::Child(definition, "section")));
    disabled_ = disabledSpriteMaker(GetX(), GetY(), ObjectCast<Surface>(data.Get()));
    if (disabled_) {
        disabled_->SetAnchorPoint(GetAnchorX(), GetAnchorY());
    }
}
