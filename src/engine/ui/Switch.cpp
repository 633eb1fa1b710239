#include "engine/ui/Switch.h"

#include <algorithm>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Property.h"
#include "engine/ui/ControlSupport.h"

namespace {

const ClassRegistration registration("Switch", CreateFromProperty<Switch>);

constexpr uint32_t kLeftButtonHeld = 0x1;
constexpr int32_t kPressed = 2;

std::vector<Switch*>& LiveSwitches() {
    static std::vector<Switch*> switches;
    return switches;
}

}  // namespace

const std::vector<Switch*>& Switch::AllSwitches() { return LiveSwitches(); }

Switch::Switch(Property* definition) : Sprite(definition) {
    hitMask_ = FindDefinitionImage(definition, "hitmask");
    if (Property* threshold = Property::Child(definition, "hitmaskthreshold")) {
        hitMaskThreshold_ = Property::AsInt(threshold);
    }
    if (Property* group = Property::Child(definition, "groupid")) {
        groupId_ = Property::AsInt(group);
    }
    onSound_ = Property::AsString(Property::Child(definition, "onsound"));
    offSound_ = Property::AsString(Property::Child(definition, "offsound"));
    disabledSound_ = Property::AsString(Property::Child(definition, "disabledsound"));
    soundSection_ = Property::AsString(Property::Child(definition, "soundsection"));
    UseEightFrames();
    if (Property* enabled = Property::Child(definition, "enabled")) {
        SetEnabled(Property::AsString(enabled) != "false");
    }
    if (Property* checked = Property::Child(definition, "checked")) {
        SetChecked(Property::AsString(checked) != "false");
    }
    LiveSwitches().push_back(this);
}

Switch::Switch(int32_t x, int32_t y, Surface* image) : Sprite(x, y, image) {
    UseEightFrames();
    LiveSwitches().push_back(this);
}

Switch::~Switch() {
    std::vector<Switch*>& switches = LiveSwitches();
    switches.erase(std::remove(switches.begin(), switches.end(), this), switches.end());
}

void Switch::UseEightFrames() {
    SetFrameCount(8, false);
    SetWrapStyle(kWrapSwitch);
    SetFrame(state_);
}

void Switch::SetFrame(int32_t frame) {
    Sprite::SetFrame((enabled_ ? frame : kDisabledFrame) + (checked_ ? kCheckedFrames : 0));
}

bool Switch::HitTest(int32_t x, int32_t y) const {
    if (linked_ && linked_->HitTest(x, y)) {
        return true;
    }
    return HitTestControl(*this, hitMask_.Get(), hitMaskThreshold_, x, y);
}

void Switch::SetChecked(bool checked) {
    if (checked == checked_) {
        return;
    }
    if (checked && groupId_ >= 0) {
        // A copy: unchecking never adds or removes switches, but stays safe if it did.
        const std::vector<Switch*> switches = LiveSwitches();
        for (Switch* other : switches) {
            if (other != this && other->groupId_ == groupId_) {
                other->SetChecked(false);
            }
        }
    }
    checked_ = checked;
    SetFrame(state_);
}

void Switch::SetEnabled(bool enabled) {
    if (enabled != enabled_) {
        enabled_ = enabled;
        SetFrame(state_);
    }
}

void Switch::SetStateAndFrame(int32_t state) {
    if (state != state_) {
        state_ = state;
        SetFrame(state);
    }
}

bool Switch::OnMouseMove(int32_t x, int32_t y, uint32_t flags) {
    const bool inside = HitTest(x, y);
    if ((flags & kLeftButtonHeld) == 0) {
        SetStateAndFrame(inside ? 1 : 0);
    } else if (inside && state_ == 1) {
        SetStateAndFrame(kPressed);
    } else if (!inside && state_ == kPressed) {
        SetStateAndFrame(1);
    }
    return false;
}

bool Switch::OnLButtonDown(int32_t x, int32_t y, uint32_t, bool) {
    if (!HitTest(x, y)) {
        return false;
    }
    SetStateAndFrame(kPressed);
    return true;
}

bool Switch::OnLButtonUp(int32_t x, int32_t y, uint32_t) {
    if (!HitTest(x, y)) {
        SetStateAndFrame(0);
        return false;
    }
    if (!enabled_) {
        PlayControlSound(disabledSound_, soundSection_);
        SetStateAndFrame(1);
        return false;
    }
    if (state_ != kPressed) {
        SetStateAndFrame(1);
        return false;
    }
    CompleteClick();
    SetStateAndFrame(0);
    return true;
}

void Switch::CompleteClick() {
    if (groupId_ < 0) {
        SetChecked(!checked_);
        Invoke(this);
        PlayControlSound(checked_ ? onSound_ : offSound_, soundSection_);
    } else if (!checked_ || repeatFire_) {
        SetChecked(true);
        Invoke(this);
        PlayControlSound(onSound_, soundSection_);
    }
}
