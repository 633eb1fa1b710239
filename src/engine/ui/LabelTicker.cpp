#include "engine/ui/LabelTicker.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/TextConversions.h"
#include "engine/scene/SceneResources.h"

namespace {

const ClassRegistration registration("LabelTicker", CreateFromProperty<LabelTicker>);

constexpr const char* kTypeWords[] = {"value", "tenfold", "relative", "time"};
constexpr int kFullVolume = 255;
constexpr int kCentrePan = 128;

// Through a 32-bit integer, clamped, as the counters show whole numbers.
int32_t TruncateToInt32(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<int32_t>(std::clamp(std::trunc(value), double{INT32_MIN}, double{INT32_MAX}));
}

}  // namespace

LabelTicker::LabelTicker(Property* definition) : GameNode(definition) {
    Property* node = &Property::NodeOf(definition);
    if (Property* labelDefinition = Property::Child(node, "label")) {
        const Ref<Object> created(ClassFactory::Instance().Create(labelDefinition));
        label_ = ObjectCast<Label>(created.Get());
        if (label_) {
            AddChild(label_.Get());
        } else {
            ENGINE_LOG(1, "LabelTicker: \"label\" builds no label");
        }
    }
    const int type = Property::FindChoice(node, "type", kTypeWords, 4);
    if (type >= 0) {
        type_ = type;
    }
    if (Property* sound = Property::Child(node, "sound")) {
        const std::string name = Property::AsString(sound);
        const std::string section = Property::AsString(Property::Child(node, "soundsection"));
        const Ref<Object> data = FindResourceData(name, section);
        sound_ = ObjectCast<SoundSample>(data.Get());
        if (!sound_) {
            ENGINE_LOG(1, "LabelTicker: no sound \"%s\" in section \"%s\"", name.c_str(), section.c_str());
        }
    }
    if (Property* dot = Property::Child(node, "dot")) {
        grouping_ = Property::AsBool(dot);
    }
    ReadValues(node);
}

void LabelTicker::ReadValues(Property* definition) {
    if (Property* add = Property::Child(definition, "add")) {
        step_ = Property::AsInt(add);
    }
    if (Property* interval = Property::Child(definition, "interval")) {
        interval_ = Property::AsInt(interval);
    }
    if (Property* value = Property::Child(definition, "value")) {
        current_ = ParseDoubleText(Property::AsText(value));
    }
    if (Property* target = Property::Child(definition, "target")) {
        target_ = ParseDoubleText(Property::AsText(target));
    }
    if (Property* param = Property::Child(definition, "param")) {
        param_ = Property::AsInt(param);
    }
    elapsed_ = 0;
}

void LabelTicker::SetValue(double value) {
    if (target_ != value) {
        target_ = value;
        elapsed_ = 0;
    }
    if (current_ != value) {
        current_ = value;
        changed_ = true;
        elapsed_ = 0;
    }
    if (type_ == kTime) {
        ComputeTimeStep();
    }
    RefreshLabel();
}

void LabelTicker::ShowValue(double value) {
    if (current_ == value) {
        return;
    }
    current_ = value;
    changed_ = true;
    elapsed_ = 0;
    if (type_ == kTime) {
        ComputeTimeStep();
    }
    RefreshLabel();
}

void LabelTicker::JumpToTarget() {
    const double shown = TruncateToInt32(target_);
    if (current_ != shown) {
        current_ = shown;
        changed_ = true;
        elapsed_ = 0;
    }
    if (type_ == kTime) {
        ComputeTimeStep();
    }
}

void LabelTicker::ComputeTimeStep() {
    if (param_ != 0.0) {
        step_ = std::fabs(target_ - current_) * interval_ / param_;
    }
}

void LabelTicker::Update(int32_t elapsedMs) {
    const double difference = target_ - current_;
    elapsed_ = static_cast<int32_t>(std::clamp<int64_t>(int64_t{elapsed_} + elapsedMs, INT32_MIN, INT32_MAX));
    const bool moving = difference != 0.0;
    if (!moving && !changed_) {
        return;
    }
    if (type_ == kRelative) {
        current_ += elapsedMs * param_ * difference * 0.001;
    }
    if (interval_ <= 0 || (type_ == kTime && param_ == 0.0)) {
        // No stepping is defined for these: show the target at once.
        current_ = target_;
        elapsed_ = 0;
    } else {
        while (elapsed_ >= interval_) {
            elapsed_ -= interval_;
            StepTowardTarget(difference);
        }
    }
    if (type_ == kTime) {
        ComputeTimeStep();
    }
    if (label_) {
        RefreshLabel();
    }
    if (moving) {
        if (sound_) {
            sound_->PlaySample(kFullVolume, kCentrePan, false);
        }
        if (TruncateToInt32(current_) == TruncateToInt32(target_) && GetFunction() != nullptr) {
            Invoke(0);
        }
    }
}

void LabelTicker::StepTowardTarget(double difference) {
    const double direction = difference < 0.0 ? -1.0 : 1.0;
    if (type_ == kValue || type_ == kTime) {
        current_ += direction * step_;
    } else if (type_ == kTenfold) {
        const double distance = std::fabs(difference);
        double amount = 1.0;
        for (double scale = 100000.0; scale >= 10.0; scale /= 10.0) {
            if (distance >= param_ * scale) {
                amount = scale;
                break;
            }
        }
        current_ += direction * amount;
    }
    const bool passed = difference > 0.0 ? current_ > target_ : current_ < target_;
    if (std::fabs(target_ - current_) < 1.0 || passed) {
        current_ = target_;
    }
}

void LabelTicker::RefreshLabel() {
    if (label_) {
        const int32_t shown = TruncateToInt32(current_);
        std::wstring text;
        if (!grouping_) {
            text = IntToWString(shown);
        } else if (shown < 0) {
            text = L"-" + FormatGrouped(0u - static_cast<unsigned>(shown), "TEXT_DECIMAL_SEPARATOR");
        } else {
            text = FormatGrouped(static_cast<unsigned>(shown), "TEXT_DECIMAL_SEPARATOR");
        }
        label_->SetText(text);
    }
    changed_ = false;
}
