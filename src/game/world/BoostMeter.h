#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/scene/Sprite.h"

// The gauge of the player train's boost time: a fill picture cropped to the
// level, an animated top edge riding on it and an overlay frame. After an
// upgrade of the train model it cross-fades once from the old meter.
class BoostMeter : public Sprite {
    ENGINE_CLASS(BoostMeter, Sprite)

public:
    static constexpr float kMaximumLevelSpeed = 500.0f;

    // The sprite keys; "top", "fill" and "overlay" are built from the
    // definition's children of those names.
    explicit BoostMeter(Property* definition = nullptr);
    ~BoostMeter() override;

    // The boost time of a full meter for the current train model.
    static int32_t GetCapacity();

    // Takes the current train model's pictures and capacity; plays the
    // upgrade show when the model is new to the player and returns its last
    // step (null without a show), which the level's start waits for.
    Modifier* Build();
    void Reset();
    void Update(int32_t elapsedMs) override;
    // Places the glow of the current model.
    void ShowGlow();

    int32_t GetCapacityValue() const { return capacity_; }
    int32_t GetEmptyLevel() const { return emptyLevel_; }
    int32_t GetRange() const { return range_; }
    float GetLevel() const { return level_; }
    float GetTargetLevel() const { return targetLevel_; }
    Sprite* GetTop() const { return top_.Get(); }
    Sprite* GetFill() const { return fill_.Get(); }
    Sprite* GetOverlay() const { return overlay_.Get(); }

private:
    void Layout();
    Modifier* PlayUpgradeShow(int32_t model);

    Ref<Sprite> top_;
    Ref<Sprite> fill_;
    Ref<Sprite> overlay_;
    int32_t capacity_ = 1;
    int32_t emptyLevel_ = 0;
    int32_t range_ = 0;
    float level_ = 0.0f;
    float targetLevel_ = 0.0f;
    float levelSpeed_ = 0.0f;
};
