#pragma once

#include <cstdint>
#include <string>

#include "engine/foundation/Ref.h"
#include "engine/media/InputListener.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/ControlCallback.h"

// The clickable picture of the user interface: four frames (normal, over,
// pressed, disabled), an optional hit mask or alpha threshold, three sounds,
// an optional fire key, and a handler that runs when a press is completed.
class Button : public Sprite, public InputListener, public ControlCallback {
    ENGINE_CLASS(Button, Sprite)

public:
    enum State : int32_t { kNormal = 0, kOver = 1, kPressed = 2 };
    static constexpr int32_t kDisabledFrame = 3;
    static constexpr int32_t kNoFireKey = 0x7FFFFFFF;

    // The Sprite keys, then "enabled", "hitmask" (in "section"),
    // "hitmaskthreshold", "clicksound", "disabledsound", "oversound",
    // "soundsection" and "firekeycode" (a virtual-key code).
    explicit Button(Property* definition);
    Button(int32_t x, int32_t y, Surface* image, void* context, Function function);
    ~Button() override;

    // The frame shown is `frame` while enabled, the disabled frame otherwise.
    void SetFrame(int32_t frame) override;
    bool HitTest(int32_t x, int32_t y) const override;
    // A new image is cut into four frames again.
    void SetImage(Surface* image) override;
    virtual void SetEnabled(bool enabled);
    virtual void SetState(int32_t state);

    bool OnKeyDown(int32_t virtualKey) override;
    bool OnKeyUp(int32_t virtualKey) override;
    bool OnMouseMove(int32_t x, int32_t y, uint32_t flags) override;
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick) override;
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t flags) override;
    void SetInputEnabled(bool enabled) override { inputEnabled_ = enabled; }
    bool IsInputEnabled() const override { return inputEnabled_; }

    bool IsEnabled() const { return enabled_; }
    int32_t GetState() const { return state_; }
    Surface* GetHitMask() const { return hitMask_.Get(); }
    void SetHitMask(Surface* mask) { hitMask_ = mask; }
    int32_t GetHitMaskThreshold() const { return hitMaskThreshold_; }
    void SetHitMaskThreshold(int32_t threshold) { hitMaskThreshold_ = threshold; }
    int32_t GetFireKeyCode() const { return fireKeyCode_; }
    void SetFireKeyCode(int32_t code) { fireKeyCode_ = code; }
    void SetClickSound(std::string name) { clickSound_ = std::move(name); }
    void SetDisabledSound(std::string name) { disabledSound_ = std::move(name); }
    void SetOverSound(std::string name) { overSound_ = std::move(name); }
    void SetSoundSection(std::string section) { soundSection_ = std::move(section); }

    // Runs the handler, as a completed press does.
    void Fire();

private:
    void UseFourFrames();

    bool inputEnabled_ = true;
    int32_t state_ = kNormal;
    bool enabled_ = true;
    std::string clickSound_;
    std::string disabledSound_;
    std::string overSound_;
    std::string soundSection_;
    Ref<Surface> hitMask_;
    int32_t hitMaskThreshold_ = -1;
    int32_t fireKeyCode_ = kNoFireKey;
};

// Builds a button from values without a handler; the disabled picture of a
// sprite image vector is one.
Sprite* ButtonFromValues(int32_t x, int32_t y, Surface* image);
