#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/media/InputListener.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/ControlCallback.h"

class Button;

// The value control: a track picture with a knob button that moves along a
// straight segment, optional increase and decrease arrow buttons, and a
// handler that runs whenever the user changes the value. The value maps
// linearly onto the knob's place between the track's start and end.
class Slider : public Sprite, public InputListener, public ControlCallback {
    ENGINE_CLASS(Slider, Sprite)

public:
    // The Sprite keys, then "enabled", "minvalue", "maxvalue", "vertical",
    // "image" (in "section"), "button", "incbutton", "decbutton", and the
    // track: "offset1"/"offset2" across it, or "minx", "miny", "maxx", "maxy".
    explicit Slider(Property* definition);
    ~Slider() override;

    void SetEnabled(bool enabled);
    // The track runs from the slider's corner to where the knob's far edge
    // meets the slider's far edge.
    void ResetTrack();
    // Puts the knob where the value says. A track without a range puts it at
    // the start with the value at the minimum.
    void PlaceKnob();
    void PlaceArrowButtons();
    // A tenth of the range up or down, held within it; then the handler.
    void Increase();
    void Decrease();
    // The arrow buttons' handlers; the context is the slider.
    static int32_t IncreaseHandler(void* context, GameNode* sender);
    static int32_t DecreaseHandler(void* context, GameNode* sender);

    // The slider's rectangle at its absolute position.
    bool HitTest(int32_t x, int32_t y) const override;

    bool OnMouseMove(int32_t x, int32_t y, uint32_t flags) override;
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick) override;
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t flags) override;
    void SetInputEnabled(bool enabled) override { SetEnabled(enabled); }
    bool IsInputEnabled() const override { return enabled_; }

    float GetValue() const { return value_; }
    // Owners that write the value place the knob afterwards.
    void SetValue(float value) { value_ = value; }
    float GetMinimum() const { return minimum_; }
    float GetMaximum() const { return maximum_; }
    void SetRange(float minimum, float maximum);
    bool IsVertical() const { return vertical_; }
    void SetTrack(float startX, float startY, float endX, float endY);
    Button* GetKnob() const { return knob_.Get(); }
    GameNode* GetKnobHolder() const { return knobHolder_.Get(); }
    Button* GetIncreaseButton() const { return increase_.Get(); }
    Button* GetDecreaseButton() const { return decrease_.Get(); }

private:
    Ref<Button> CreateButton(Property* definition, const char* key);
    bool KnobHit(int32_t x, int32_t y) const;
    void MoveKnobTo(int32_t x, int32_t y);
    // Moves the value by `fraction` of the range, stopping at `limit`.
    void StepTowards(float limit, float fraction);

    bool enabled_ = true;
    float value_ = 0.0f;
    float minimum_ = 0.0f;
    float maximum_ = 1.0f;
    bool vertical_ = false;
    float startX_ = 0.0f;
    float startY_ = 0.0f;
    float endX_ = 0.0f;
    float endY_ = 0.0f;
    int32_t grabX_ = 0;
    int32_t grabY_ = 0;
    Ref<GameNode> knobHolder_;
    Ref<Button> knob_;
    Ref<Button> increase_;
    Ref<Button> decrease_;
};
