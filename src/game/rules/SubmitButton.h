#pragma once

#include <cstdint>

#include "engine/ui/Button.h"

// The submit button of the game screen. It is pressed by a click on its own
// picture and also by one anywhere from the furnace door down to its lower edge.
class SubmitButton : public Button {
    ENGINE_CLASS(SubmitButton, Button)

public:
    explicit SubmitButton(Property* definition);

    // Whether the screen point lies on the button or in the hit area (left
    // and top inclusive).
    bool HitTest(int32_t x, int32_t y) const override;
    // The area starts at the node's screen position, takes its width and
    // reaches down to the button's lower edge.
    void SetHitArea(const Sprite& area);

    int32_t HitLeft() const { return left_; }
    int32_t HitTop() const { return top_; }
    int32_t HitWidth() const { return width_; }
    int32_t HitHeight() const { return height_; }

private:
    int32_t left_ = 0;
    int32_t top_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
};
