#include "engine/ui/Slider.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/ui/Button.h"
#include "engine/ui/ControlSupport.h"

namespace {

const ClassRegistration registration("Slider", CreateFromProperty<Slider>);

constexpr int32_t kPressed = 2;

float ReadDecimal(Property* value) {
    return static_cast<float>(std::strtod(Property::AsString(value).c_str(), nullptr));
}

int32_t Half(int32_t length) {
    return static_cast<int32_t>(std::lround(length / 2.0));
}

}  // namespace

Slider::Slider(Property* definition) : Sprite(definition), knobHolder_(new GameNode) {
    GameNode::AddChild(knobHolder_.Get());
    if (Property* enabled = Property::Child(definition, "enabled")) {
        SetEnabled(Property::AsBool(enabled));
    }
    if (Property* minimum = Property::Child(definition, "minvalue")) {
        minimum_ = ReadDecimal(minimum);
        PlaceKnob();
    }
    if (Property* maximum = Property::Child(definition, "maxvalue")) {
        maximum_ = ReadDecimal(maximum);
        PlaceKnob();
    }
    vertical_ = Property::AsBool(Property::Child(definition, "vertical"));
    knob_ = CreateButton(definition, "button");
    if (knob_) {
        knobHolder_->AddChild(knob_.Get());
        knob_->SetEnabled(enabled_);
    } else {
        ENGINE_LOG(1, "Slider \"%s\": no knob button", GetName().c_str());
    }
    PlaceKnob();
    increase_ = CreateButton(definition, "incbutton");
    decrease_ = CreateButton(definition, "decbutton");
    for (const auto& [arrow, handler] : {std::pair{increase_.Get(), &Slider::IncreaseHandler},
                                         std::pair{decrease_.Get(), &Slider::DecreaseHandler}}) {
        if (arrow != nullptr) {
            GameNode::AddChild(arrow);
            arrow->SetCallback(this, handler);
            arrow->SetEnabled(enabled_);
        }
    }
    ResetTrack();
    Property* offset1 = Property::Child(definition, "offset1");
    Property* offset2 = Property::Child(definition, "offset2");
    if (offset1 != nullptr || offset2 != nullptr) {
        const float first = offset1 != nullptr ? ReadDecimal(offset1) : 0.0f;
        const float second = offset2 != nullptr ? ReadDecimal(offset2) : 0.0f;
        (vertical_ ? startX_ : startY_) = first;
        (vertical_ ? endX_ : endY_) = second;
    } else {
        for (const auto& [key, field] : {std::pair{"minx", &startX_}, std::pair{"miny", &startY_},
                                         std::pair{"maxx", &endX_}, std::pair{"maxy", &endY_}}) {
            if (Property* value = Property::Child(definition, key)) {
                *field = ReadDecimal(value);
            }
        }
    }
    PlaceArrowButtons();
    PlaceKnob();
}

Slider::~Slider() = default;

Ref<Button> Slider::CreateButton(Property* definition, const char* key) {
    Property* node = Property::Child(definition, key);
    if (node == nullptr) {
        return {};
    }
    const Ref<Object> created(ClassFactory::Instance().Create(&Property::NodeOf(node)));
    Ref<Button> button(ObjectCast<Button>(created.Get()));
    if (!button) {
        ENGINE_LOG(1, "Slider \"%s\": \"%s\" builds no button", GetName().c_str(), key);
    }
    return button;
}

void Slider::SetEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    for (Button* button : {knob_.Get(), increase_.Get(), decrease_.Get()}) {
        if (button != nullptr) {
            button->SetEnabled(enabled);
        }
    }
}

void Slider::SetRange(float minimum, float maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
}

void Slider::SetTrack(float startX, float startY, float endX, float endY) {
    startX_ = startX;
    startY_ = startY;
    endX_ = endX;
    endY_ = endY;
}

void Slider::ResetTrack() {
    const int32_t knobWidth = knob_ ? knob_->GetWidth() : 0;
    const int32_t knobHeight = knob_ ? knob_->GetHeight() : 0;
    startX_ = 0.0f;
    startY_ = 0.0f;
    endX_ = vertical_ ? 0.0f : static_cast<float>(GetWidth() - knobWidth);
    endY_ = vertical_ ? static_cast<float>(GetHeight() - knobHeight) : 0.0f;
    PlaceKnob();
}

void Slider::PlaceKnob() {
    float t = 0.0f;
    if (maximum_ == minimum_) {
        value_ = minimum_;
    } else {
        t = std::fabs((value_ - minimum_) / (maximum_ - minimum_));
    }
    knobHolder_->SetPosition(TruncateToInt(startX_ + (endX_ - startX_) * t),
                             TruncateToInt(startY_ + (endY_ - startY_) * t));
}

void Slider::PlaceArrowButtons() {
    if (vertical_) {
        if (decrease_) {
            decrease_->SetAnchorKind(kBottom);
            decrease_->SetPosition(Half(GetWidth()), 0);
        }
        if (increase_) {
            increase_->SetAnchorKind(kTop);
            increase_->SetPosition(Half(GetWidth()), GetHeight());
        }
    } else {
        if (decrease_) {
            decrease_->SetAnchorKind(kRight);
            decrease_->SetPosition(0, Half(GetHeight()));
        }
        if (increase_) {
            increase_->SetAnchorKind(kLeft);
            increase_->SetPosition(GetWidth(), Half(GetHeight()));
        }
    }
}

void Slider::StepTowards(float limit, float fraction) {
    const float step = fraction * (maximum_ - minimum_);
    const float moved = value_ + step;
    // A step that would pass the limit stops on it, whichever way the range runs.
    value_ = (moved - limit) * step > 0.0f ? limit : moved;
    PlaceKnob();
    Invoke(this);
}

void Slider::Increase() { StepTowards(maximum_, 0.1f); }

void Slider::Decrease() { StepTowards(minimum_, -0.1f); }

int32_t Slider::IncreaseHandler(void* context, GameNode*) {
    static_cast<Slider*>(context)->Increase();
    return 0;
}

int32_t Slider::DecreaseHandler(void* context, GameNode*) {
    static_cast<Slider*>(context)->Decrease();
    return 0;
}

bool Slider::HitTest(int32_t x, int32_t y) const {
    const int32_t left = GetAbsoluteX();
    const int32_t top = GetAbsoluteY();
    return x >= left && x < left + GetWidth() && y >= top && y < top + GetHeight();
}

bool Slider::KnobHit(int32_t x, int32_t y) const {
    return knob_ && knob_->HitTest(x, y);
}

void Slider::MoveKnobTo(int32_t x, int32_t y) {
    const float px = static_cast<float>(x - grabX_);
    const float py = static_cast<float>(y - grabY_);
    const float dx = endX_ - startX_;
    const float dy = endY_ - startY_;
    const float lengthSquared = dx * dx + dy * dy;
    // A track without length has one place: its start, at the minimum.
    float along = 0.0f;
    if (lengthSquared > 0.0f) {
        along = std::clamp(((px - startX_) * dx + (py - startY_) * dy) / lengthSquared, 0.0f, 1.0f);
    }
    const float qx = startX_ + dx * along;
    const float qy = startY_ + dy * along;
    knobHolder_->SetPosition(TruncateToInt(std::round(qx)), TruncateToInt(std::round(qy)));
    const float length = std::sqrt(lengthSquared);
    const float travelled = std::hypot(qx - startX_, qy - startY_);
    value_ = length > 0.0f ? minimum_ + (maximum_ - minimum_) * (travelled / length) : minimum_;
    SetDirty(true);
}

bool Slider::OnLButtonDown(int32_t x, int32_t y, uint32_t, bool) {
    const bool knobHit = KnobHit(x, y);
    const bool hit = knobHit || HitTest(x, y);
    if (enabled_ && hit) {
        grabX_ = GetAbsoluteX();
        grabY_ = GetAbsoluteY();
        if (knobHit) {
            grabX_ += x - knobHolder_->GetAbsoluteX();
            grabY_ += y - knobHolder_->GetAbsoluteY();
        }
        MoveKnobTo(x, y);
        if (knob_) {
            knob_->SetState(kPressed);
        }
        Invoke(this);
    }
    return hit;
}

bool Slider::OnMouseMove(int32_t x, int32_t y, uint32_t) {
    if (!enabled_ || !knob_) {
        return false;
    }
    if (knob_->GetState() != kPressed) {
        knob_->SetState(KnobHit(x, y) ? 1 : 0);
    } else {
        MoveKnobTo(x, y);
        Invoke(this);
    }
    return false;
}

bool Slider::OnLButtonUp(int32_t x, int32_t y, uint32_t) {
    if (KnobHit(x, y)) {
        knob_->SetState(1);
        return true;
    }
    if (knob_) {
        knob_->SetState(0);
    }
    return HitTest(x, y);
}
