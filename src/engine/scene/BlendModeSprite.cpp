#include "engine/scene/BlendModeSprite.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/scene/SpriteFrameBlit.h"

namespace {
const ClassRegistration registration("BlendModeSprite", CreateFromProperty<BlendModeSprite>);
}  // namespace

BlendModeSprite::BlendModeSprite(Property* definition) : Sprite(definition) {
    const int mode = Property::FindChoice(&Property::NodeOf(definition), "blend", kBlendModeWords, kBlendModeCount);
    if (mode >= 0) {
        blendMode_ = mode;
    }
}

void BlendModeSprite::Draw(Canvas& canvas) {
    BlitSpriteFrame(*this, canvas,
                    [this](Surface& image, const Rect& source, Surface& destination, int32_t x, int32_t y,
                           int32_t alpha, const Rect& clip) {
                        BlendBlit(blendMode_, image, source.x, source.y, source.w, source.h, destination, x, y, alpha,
                                  &clip);
                    });
}
