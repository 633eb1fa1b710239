#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/media/InputListener.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/ControlCallback.h"

// A check box, or with a group id one of a set of radio buttons: eight
// frames, the four button looks unchecked and then checked. Groups reach
// across every switch alive in the program.
class Switch : public Sprite, public InputListener, public ControlCallback {
    ENGINE_CLASS(Switch, Sprite)

public:
    static constexpr int32_t kDisabledFrame = 3;
    static constexpr int32_t kCheckedFrames = 4;

    // The Sprite keys, then "image" (in "section"), "hitmask",
    // "hitmaskthreshold", "groupid", "onsound", "offsound",
    // "disabledsound", "soundsection", "enabled" and "checked".
    explicit Switch(Property* definition);
    Switch(int32_t x, int32_t y, Surface* image);
    ~Switch() override;

    void SetFrame(int32_t frame) override;
    // A hit on the linked node counts as a hit on the switch.
    bool HitTest(int32_t x, int32_t y) const override;
    // Checking a group member unchecks the others; no handler, no sound.
    virtual void SetChecked(bool checked);
    virtual void SetEnabled(bool enabled);

    bool OnMouseMove(int32_t x, int32_t y, uint32_t flags) override;
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick) override;
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t flags) override;
    void SetInputEnabled(bool enabled) override { inputEnabled_ = enabled; }
    bool IsInputEnabled() const override { return inputEnabled_; }

    bool IsChecked() const { return checked_; }
    bool IsEnabled() const { return enabled_; }
    int32_t GetState() const { return state_; }
    int32_t GetGroupId() const { return groupId_; }
    void SetGroupId(int32_t groupId) { groupId_ = groupId; }
    bool GetRepeatFire() const { return repeatFire_; }
    void SetRepeatFire(bool repeat) { repeatFire_ = repeat; }
    GameNode* GetLinkedNode() const { return linked_.Get(); }
    void SetLinkedNode(Sprite* node) { linked_ = node; }
    void SetHitMaskThreshold(int32_t threshold) { hitMaskThreshold_ = threshold; }
    void SetOnSound(std::string name) { onSound_ = std::move(name); }
    void SetOffSound(std::string name) { offSound_ = std::move(name); }
    void SetDisabledSound(std::string name) { disabledSound_ = std::move(name); }
    void SetSoundSection(std::string section) { soundSection_ = std::move(section); }

    // Every switch alive, in order of construction.
    static const std::vector<Switch*>& AllSwitches();

private:
    void UseEightFrames();
    void SetStateAndFrame(int32_t state);
    void CompleteClick();

    bool inputEnabled_ = true;
    int32_t state_ = 0;
    bool enabled_ = true;
    bool checked_ = false;
    std::string onSound_;
    std::string offSound_;
    std::string disabledSound_;
    std::string soundSection_;
    bool repeatFire_ = false;
    Ref<Sprite> linked_;
    Ref<Surface> hitMask_;
    int32_t hitMaskThreshold_ = -1;
    int32_t groupId_ = -1;
};
