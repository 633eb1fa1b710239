#pragma once

#include <functional>

#include "game/words/QueueScrollControl.h"

class Dialog;
class GameNode;
class Slider;

// The game screen's queue slider as the word queue's scroll control: a drag
// of the knob scrolls to that share of the queue, the slider's arrows step
// one word.
class QueueSlider : public QueueScrollControl {
public:
    // Registers the slider and its arrows with the dialog's input.
    QueueSlider(Slider& slider, Dialog& owner);

    void SetValue(float value) override;
    void Connect(std::function<void(float)> onDrag, std::function<void()> onForward,
                 std::function<void()> onBackward) override;

private:
    static int OnDrag(void* self, GameNode* sender);
    static int OnForward(void* self, GameNode* sender);
    static int OnBackward(void* self, GameNode* sender);

    Slider& slider_;
    std::function<void(float)> onDrag_;
    std::function<void()> onForward_;
    std::function<void()> onBackward_;
};
