#pragma once

#include <functional>

// The game screen's scroll control of the word queue (a slider with two step
// buttons), as the queue sees it. The game scene adapts its slider to it and
// registers the slider and buttons with its input dispatcher.
class QueueScrollControl {
public:
    virtual ~QueueScrollControl() = default;
    // Shows the scroll position, 0 to 1.
    virtual void SetValue(float value) = 0;
    // Hands over what the player's input does: a dragged value (0 to 1), a
    // step forward (the first step button) and a step back (the other).
    virtual void Connect(std::function<void(float)> onDrag, std::function<void()> onForward,
                         std::function<void()> onBackward) = 0;
};
