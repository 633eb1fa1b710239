#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/scene/SpriteImageVector.h"

// A sprite image vector that can also hold the picture it shows when
// disabled, as a clickable sprite of its own.
class DisabledSpriteImageVector : public SpriteImageVector {
    ENGINE_CLASS(DisabledSpriteImageVector, SpriteImageVector)

public:
    // Makes the sprite that shows the disabled picture. The user interface
    // layer, which lives above this one, registers its button here; until
    // then a plain sprite stands in.
    using DisabledSpriteMaker = Sprite* (*)(int32_t x, int32_t y, Surface* image);
    static void SetDisabledSpriteMaker(DisabledSpriteMaker maker);

    // The SpriteImageVector keys, then "imageDisabled" (in "section").
    explicit DisabledSpriteImageVector(Property* definition);

    Sprite* GetDisabledSprite() const { return disabled_.Get(); }

private:
    Ref<Sprite> disabled_;
};
