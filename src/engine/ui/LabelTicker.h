#pragma once

#include <cstdint>

#include "engine/foundation/Callback.h"
#include "engine/foundation/Ref.h"
#include "engine/media/SoundSample.h"
#include "engine/scene/GameNode.h"
#include "engine/ui/Label.h"

// Drives the number shown in a child label toward a target over time (point
// and coin counters), with a tick sound on each moving update and a callback
// when the shown value reaches the target. The callback is invoked with 0:
// its context tells the owner which ticker it is.
class LabelTicker : public GameNode, public Callback {
    ENGINE_CLASS(LabelTicker, GameNode)

public:
    enum StepType : int32_t { kValue = 0, kTenfold = 1, kRelative = 2, kTime = 3 };

    // Keys "label" (a definition, made the last child), "type", "sound" with
    // "soundsection", "dot", then those of ReadValues.
    explicit LabelTicker(Property* definition);

    // Keys "add" (the fixed step), "interval", "value", "target" and "param";
    // the time not yet spent on steps is dropped.
    void ReadValues(Property* definition);
    // Shows the value at once, as current value and target.
    void SetValue(double value);
    // Shows the value at once and counts on from it toward the target.
    void ShowValue(double value);
    // Shows the target, truncated to an integer, at once.
    void JumpToTarget();
    void Update(int32_t elapsedMs) override;

    double GetCurrent() const { return current_; }
    double GetTarget() const { return target_; }
    // Owners write the target directly; the ticker moves toward it.
    void SetTarget(double target) { target_ = target; }
    Label* GetLabel() const { return label_.Get(); }
    int32_t GetStepType() const { return type_; }

private:
    // The step of the time type: the rest of the way in `param` milliseconds.
    void ComputeTimeStep();
    void StepTowardTarget(double difference);
    void RefreshLabel();

    double current_ = 0.0;
    double target_ = 0.0;
    bool changed_ = true;
    int32_t interval_ = 0;
    int32_t elapsed_ = 0;
    double step_ = 0.0;
    double param_ = 0.0;
    int32_t type_ = kTime;
    Ref<Label> label_;
    Ref<SoundSample> sound_;
    bool grouping_ = true;
};
