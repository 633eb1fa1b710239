#include "game/rules/SubmitButton.h"

#include "engine/foundation/ClassFactory.h"

namespace {
const ClassRegistration registration("SubmitButton", CreateFromProperty<SubmitButton>);
}  // namespace

SubmitButton::SubmitButton(Property* definition) : Button(definition) {}

bool SubmitButton::HitTest(int32_t x, int32_t y) const {
    // The button's own picture answers as well as the area above it.
    return Button::HitTest(x, y) || (x >= left_ && x - left_ < width_ && y >= top_ && y - top_ < height_);
}

void SubmitButton::SetHitArea(const Sprite& area) {
    left_ = area.GetAbsoluteX();
    top_ = area.GetAbsoluteY();
    width_ = area.GetWidth();
    height_ = GetAbsoluteY() + GetHeight() - top_;
}
