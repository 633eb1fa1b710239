#include "engine/scene/ModifierFrame.h"

#include <algorithm>
#include <climits>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/scene/Sprite.h"

namespace {
const ClassRegistration registration("ModifierFrame", CreateFromProperty<ModifierFrame>);

int32_t ReadInt(const Property* definition, const char* key, int32_t fallback) {
    const Property* value = Property::Child(definition, key);
    return value != nullptr ? Property::AsInt(value) : fallback;
}
}  // namespace

ModifierFrame::ModifierFrame(Property* definition)
    : ModifierFrame(ReadInt(definition, "loopcount", kEndless),
                    ReadInt(definition, "frametime", kDefaultFrameTimeMs)) {}

ModifierFrame::ModifierFrame(int32_t loopCount, int32_t frameTimeMs) : loopCount_(loopCount), frameTime_(frameTimeMs) {
    // A frame time below 1 ms would step an endless animation for ever within one update.
    if (frameTime_ < 1) {
        ENGINE_LOG(1, "frame time %d ms is too short, using 1 ms", frameTime_);
        frameTime_ = 1;
    }
}

void ModifierFrame::Update(int32_t elapsedMs) {
    Sprite* sprite = ObjectCast<Sprite>(GetTarget());
    if (sprite == nullptr) {
        SetFinished();
        return;
    }
    if (accumulated_ < frameTime_) {
        AddTime(elapsedMs);
        return;
    }
    while (accumulated_ >= frameTime_ && !IsFinished()) {
        if (atEnd_ && (loopCount_ == 0 || sprite->GetWrapStyle() == Sprite::kWrapOnce)) {
            SetFinished();
            break;
        }
        accumulated_ -= frameTime_;
        sprite->StepFrame();
        if (loopCount_ < 0 && sprite->GetWrapStyle() != Sprite::kWrapOnce) {
            continue;
        }
        atEnd_ = sprite->GetReverse() != 0 ? sprite->GetCurrentFrame() == 0
                                           : sprite->GetCurrentFrame() == sprite->GetFrameCount() - 1;
        if (atEnd_ && loopCount_ != 0) {
            --loopCount_;
        }
    }
    AddTime(elapsedMs);
}

void ModifierFrame::AddTime(int32_t elapsedMs) {
    accumulated_ = static_cast<int32_t>(std::clamp<int64_t>(int64_t{accumulated_} + elapsedMs, 0, INT32_MAX));
}
