#pragma once

#include <cmath>
#include <optional>

#include "engine/media/Canvas.h"
#include "engine/media/Rect.h"
#include "engine/scene/Sprite.h"

// The drawing set-up of the sprites that paint their frame with a routine of
// their own instead of the canvas's blit: `blit(image, source rectangle,
// destination surface, x, y, alpha, clip)` gets the current frame (or the
// whole image), the point of the position less the anchor (cut toward zero)
// plus the canvas origin, and the canvas clip, which the sprite's own clip
// rectangle replaces for the call. Rotation, scale, colour and crop play no
// part. Nothing happens at alpha 0 or without an image.
template <typename Blit>
void BlitSpriteFrame(const Sprite& sprite, Canvas& canvas, Blit&& blit) {
    Surface* image = sprite.GetImage();
    if (sprite.GetAlpha() == 0 || image == nullptr) {
        return;
    }
    const Rect source = sprite.GetSourceRect() ? *sprite.GetSourceRect()
                                               : Rect{0, 0, sprite.GetWidth(), sprite.GetHeight()};
    std::optional<Rect> savedClip;
    if (sprite.GetClipRect()) {
        savedClip = canvas.GetClipRect();
        canvas.SetClipRect(sprite.GetScreenClipRect());
    }
    const int32_t x = sprite.GetX() - static_cast<int32_t>(std::trunc(sprite.GetAnchorX())) + canvas.GetOriginX();
    const int32_t y = sprite.GetY() - static_cast<int32_t>(std::trunc(sprite.GetAnchorY())) + canvas.GetOriginY();
    const Rect clip = canvas.GetClipRect();
    blit(*image, source, canvas.GetSurface(), x, y, sprite.GetAlpha(), clip);
    if (savedClip) {
        canvas.SetClipRect(*savedClip);
    }
}
