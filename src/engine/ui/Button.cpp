#include "engine/ui/Button.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Property.h"
#include "engine/scene/DisabledSpriteImageVector.h"
#include "engine/ui/ControlSupport.h"

namespace {

const ClassRegistration registration("Button", CreateFromProperty<Button>);

// Sprite image vectors show their disabled picture as a button once this
// layer is linked in.
const struct DisabledButtonMaker {
    DisabledButtonMaker() { DisabledSpriteImageVector::SetDisabledSpriteMaker(ButtonFromValues); }
} disabledButtonMaker;

constexpr uint32_t kLeftButtonHeld = 0x1;

}  // namespace

Sprite* ButtonFromValues(int32_t x, int32_t y, Surface* image) {
    return new Button(x, y, image, nullptr, nullptr);
}

Button::Button(Property* definition) : Sprite(definition) {
    if (Property* enabled = Property::Child(definition, "enabled")) {
        enabled_ = Property::AsString(enabled) != "false";
    }
    hitMask_ = FindDefinitionImage(definition, "hitmask");
    if (Property* threshold = Property::Child(definition, "hitmaskthreshold")) {
        hitMaskThreshold_ = Property::AsInt(threshold);
    }
    clickSound_ = Property::AsString(Property::Child(definition, "clicksound"));
    disabledSound_ = Property::AsString(Property::Child(definition, "disabledsound"));
    overSound_ = Property::AsString(Property::Child(definition, "oversound"));
    soundSection_ = Property::AsString(Property::Child(definition, "soundsection"));
    if (Property* key = Property::Child(definition, "firekeycode")) {
        fireKeyCode_ = Property::AsInt(key);
    }
    UseFourFrames();
}

Button::Button(int32_t x, int32_t y, Surface* image, void* context, Function function) : Sprite(x, y, image) {
    SetCallback(context, function);
    UseFourFrames();
}

Button::~Button() = default;

void Button::UseFourFrames() {
    SetFrameCount(4, false);
    SetWrapStyle(kWrapSwitch);
    SetFrame(state_);
}

void Button::SetFrame(int32_t frame) {
    Sprite::SetFrame(enabled_ ? frame : kDisabledFrame);
}

bool Button::HitTest(int32_t x, int32_t y) const {
    return HitTestControl(*this, hitMask_.Get(), hitMaskThreshold_, x, y);
}

void Button::SetImage(Surface* image) {
    if (image == GetImage()) {
        return;
    }
    Sprite::SetImage(image);
    ClearFrameRects();
    SetDirty(true);
    UseFourFrames();
}

void Button::SetEnabled(bool enabled) {
    if (enabled != enabled_) {
        enabled_ = enabled;
        SetFrame(state_);
    }
}

void Button::SetState(int32_t state) {
    if (state != state_) {
        state_ = state;
        SetFrame(state);
    }
}

void Button::Fire() {
    Invoke(this);
}

bool Button::OnKeyDown(int32_t virtualKey) {
    if (virtualKey != fireKeyCode_ || !enabled_) {
        return false;
    }
    SetState(kPressed);
    return true;
}

bool Button::OnKeyUp(int32_t virtualKey) {
    if (virtualKey != fireKeyCode_ || !enabled_) {
        return false;
    }
    Fire();
    SetState(kNormal);
    return true;
}

bool Button::OnMouseMove(int32_t x, int32_t y, uint32_t flags) {
    const bool inside = HitTest(x, y);
    if ((flags & kLeftButtonHeld) == 0) {
        if (inside) {
            if (enabled_ && state_ == kNormal) {
                PlayControlSound(overSound_, soundSection_);
            }
            SetState(kOver);
        } else {
            SetState(kNormal);
        }
    } else if (inside && state_ == kOver) {
        SetState(kPressed);
    } else if (!inside && state_ == kPressed) {
        SetState(kOver);
    }
    return false;
}

bool Button::OnLButtonDown(int32_t x, int32_t y, uint32_t, bool) {
    if (!HitTest(x, y)) {
        return false;
    }
    PlayControlSound(enabled_ ? clickSound_ : disabledSound_, soundSection_);
    SetState(kPressed);
    return enabled_;
}

bool Button::OnLButtonUp(int32_t x, int32_t y, uint32_t) {
    if (!HitTest(x, y)) {
        SetState(kNormal);
        return false;
    }
    if (enabled_ && state_ == kPressed) {
        Fire();
        SetState(kNormal);
        return true;
    }
    SetState(kOver);
    return false;
}
