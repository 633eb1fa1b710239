#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/media/ChannelMap.h"
#include "engine/media/Surface.h"
#include "engine/scene/Sprite.h"

// Reveals a picture gradually: a threshold map gives every pixel a value
// 0..255, and only the pixels whose value lies in a band below the current
// threshold are shown. The image is rebuilt in Draw, and only when the band's
// bounds have changed.
class ThresholdSprite : public Sprite {
    ENGINE_CLASS(ThresholdSprite, Sprite)

public:
    ThresholdSprite() = default;
    explicit ThresholdSprite(Property* definition) : Sprite(definition) {}

    // A new picture gets a blank image of its size; the current one changes nothing.
    void SetPicture(Surface* picture);
    // One value byte per picture pixel, rows back to back; set after the picture.
    void SetThresholdMap(ChannelMap* map) { map_ = map; }
    // 0 shows nothing, 1 every pixel whose value is below 255.
    void SetThreshold(float threshold);
    // The width of the visible band as a fraction of 255; 256 shows everything below.
    void SetBandWidth(float width) { bandWidth_ = width; }
    void Draw(Canvas& canvas) override;

    float GetThreshold() const { return threshold_; }
    int32_t GetShownLowerBound() const { return shownLower_; }
    int32_t GetShownUpperBound() const { return shownUpper_; }

private:
    // Rebuilds the image when the bounds of the band have moved.
    void Rebuild(Canvas& canvas);
    void Rebuild32(int32_t lower, int32_t upper);
    void Rebuild16(Canvas& canvas, int32_t lower, int32_t upper);

    Ref<ChannelMap> map_;
    Ref<Surface> picture_;
    float bandWidth_ = 256.0f;
    float threshold_ = 0.0f;
    int32_t shownLower_ = -1;
    int32_t shownUpper_ = -1;
    bool rebuild_ = false;
};
