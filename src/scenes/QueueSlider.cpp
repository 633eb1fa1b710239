#include "scenes/QueueSlider.h"

#include "engine/ui/Button.h"
#include "engine/ui/Dialog.h"
#include "engine/ui/Slider.h"

QueueSlider::QueueSlider(Slider& slider, Dialog& owner) : slider_(slider) {
    owner.BindControl(&slider, &QueueSlider::OnDrag, this);
    // The arrows step through the queue instead of nudging the knob.
    if (Button* forward = slider.GetIncreaseButton()) {
        forward->SetCallback(this, &QueueSlider::OnForward);
    }
    if (Button* backward = slider.GetDecreaseButton()) {
        backward->SetCallback(this, &QueueSlider::OnBackward);
    }
}

void QueueSlider::SetValue(float value) {
    slider_.SetValue(value);
    slider_.PlaceKnob();
}

void QueueSlider::Connect(std::function<void(float)> onDrag, std::function<void()> onForward,
                          std::function<void()> onBackward) {
    onDrag_ = std::move(onDrag);
    onForward_ = std::move(onForward);
    onBackward_ = std::move(onBackward);
}

int QueueSlider::OnDrag(void* self, GameNode* /*sender*/) {
    auto& control = *static_cast<QueueSlider*>(self);
    if (control.onDrag_) {
        control.onDrag_(control.slider_.GetValue());
    }
    return 0;
}

int QueueSlider::OnForward(void* self, GameNode* /*sender*/) {
    auto& control = *static_cast<QueueSlider*>(self);
    if (control.onForward_) {
        control.onForward_();
    }
    return 0;
}

int QueueSlider::OnBackward(void* self, GameNode* /*sender*/) {
    auto& control = *static_cast<QueueSlider*>(self);
    if (control.onBackward_) {
        control.onBackward_();
    }
    return 0;
}
