#pragma once

#include <cstdint>
#include <string>

#include "engine/ui/Label.h"

// The label that shows a tooltip: its text in a filled box with a one-pixel
// frame, the box reaching `padding` pixels beyond the label on every side.
class ToolTipLabel : public Label {
    ENGINE_CLASS(ToolTipLabel, Label)

public:
    // The label keys, then "backgroundcolor", "bordercolor" and "padding".
    explicit ToolTipLabel(Property* definition);

    void Draw(Canvas& canvas) override;
    // Shows the text. A label defined with a width that truncates or wraps
    // lays the text out at that width and then shrinks to the text.
    void SetToolTip(const std::wstring& text) override;

    int32_t GetBackgroundColor() const { return backgroundColor_; }
    int32_t GetBorderColor() const { return borderColor_; }
    int32_t GetPadding() const { return padding_; }

private:
    int32_t backgroundColor_ = 0xFFFFE1;
    int32_t borderColor_ = 0x000000;
    int32_t padding_ = 3;
    // The width right after the label was built.
    int32_t definedWidth_ = 0;
};
