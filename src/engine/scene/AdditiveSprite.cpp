#include "engine/scene/AdditiveSprite.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/media/AdditiveBlit.h"
#include "engine/scene/SpriteFrameBlit.h"

namespace {
const ClassRegistration registration("AdditiveSprite", CreateFromProperty<AdditiveSprite>);
}  // namespace

void DrawAdditive(const Sprite& sprite, Canvas& canvas) {
    BlitSpriteFrame(sprite, canvas,
                    [](Surface& image, const Rect& source, Surface& destination, int32_t x, int32_t y, int32_t alpha,
                       const Rect& clip) {
                        AdditiveBlit(image, source.x, source.y, source.w, source.h, destination, x, y, alpha, &clip);
                    });
}

void AdditiveSprite::Draw(Canvas& canvas) {
    DrawAdditive(*this, canvas);
}
