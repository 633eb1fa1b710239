#pragma once

#include <cstdint>

#include "engine/media/BlendBlit.h"
#include "engine/scene/Sprite.h"

// A sprite that paints its current frame through one of the twelve blend
// modes, chosen by the key "blend" of its definition.
class BlendModeSprite : public Sprite {
    ENGINE_CLASS(BlendModeSprite, Sprite)

public:
    BlendModeSprite() = default;
    // The sprite's keys, then "blend": one of the mode words (case counts);
    // a missing or unknown word keeps alpha.
    explicit BlendModeSprite(Property* definition);

    void Draw(Canvas& canvas) override;

    int32_t GetBlendMode() const { return blendMode_; }
    void SetBlendMode(int32_t mode) { blendMode_ = mode; }

private:
    int32_t blendMode_ = kBlendAlpha;
};
