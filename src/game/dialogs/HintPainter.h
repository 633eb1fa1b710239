#pragma once

#include <cstdint>

#include "game/dialogs/GradientFramePainter.h"

// The frame of the hint bubble: the gradient body in a nine-piece frame
// whose centre piece is burnt in near the bottom as an emblem.
class HintPainter : public GradientFramePainter {
    ENGINE_CLASS(HintPainter, GradientFramePainter)

public:
    explicit HintPainter(Property* definition);

    void Paint(Surface& target) override;

protected:
    int32_t MaskOf(int32_t piece) const override;
};
