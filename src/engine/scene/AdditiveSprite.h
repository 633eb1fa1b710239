#pragma once

#include "engine/scene/Sprite.h"

// A sprite whose picture is added onto what lies beneath it, channel by
// channel with saturation: glows, sparks and light effects.
class AdditiveSprite : public Sprite {
    ENGINE_CLASS(AdditiveSprite, Sprite)

public:
    using Sprite::Sprite;

    void Draw(Canvas& canvas) override;
};

// The additive drawing of a sprite, shared with the additive particle.
void DrawAdditive(const Sprite& sprite, Canvas& canvas);
