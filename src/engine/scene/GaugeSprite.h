#pragma once

#include "engine/scene/Sprite.h"

// A dial's needle: the picture holds the needle at evenly spaced angles, one
// per frame, and the shown angle follows the target angle with inertia,
// speeding up and then braking before it.
class GaugeSprite : public Sprite {
    ENGINE_CLASS(GaugeSprite, Sprite)

public:
    static constexpr float kMaximumSpeed = 200.0f;
    static constexpr float kAcceleration = 10.0f;
    static constexpr float kDeceleration = 10.0f;

    // The sprite's keys; a picture's vertical strip of square frames, which
    // covers a quarter turn, is extended by its copies turned a quarter, a
    // half and three quarters, so that the frames cover a full turn.
    explicit GaugeSprite(Property* definition);
    explicit GaugeSprite(Surface* quarterTurnStrip);

    // Sets the target angle only: the picture itself is never drawn turned.
    void SetRotation(float angle) override;
    // Moves the needle one step toward the target and shows its frame.
    void Update(int32_t elapsedMs) override;

    float GetTargetAngle() const { return targetAngle_; }
    float GetShownAngle() const { return shownAngle_; }
    float GetSpeed() const { return speed_; }

private:
    void QuadrupleFrames();

    float targetAngle_ = 0.0f;
    float shownAngle_ = 0.0f;
    float speed_ = 0.0f;
};
