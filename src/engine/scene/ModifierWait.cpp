#include "engine/scene/ModifierWait.h"

#include <algorithm>
#include <climits>

ModifierWait::ModifierWait(int32_t timeMs) : time_(timeMs) {
    SetOptions(kBlockFollowing);
}

ModifierWait::ModifierWait(Modifier* awaited) : time_(kAwaiting), awaitedModifier_(awaited) {
    SetOptions(kBlockFollowing);
}

ModifierWait::ModifierWait(GameNode* awaited) : time_(kAwaiting), awaitedNode_(awaited) {
    SetOptions(kBlockFollowing);
}

void ModifierWait::Update(int32_t elapsedMs) {
    if (awaitedModifier_) {
        if (awaitedModifier_->IsFinished()) {
            SetFinished();
        }
        return;
    }
    if (awaitedNode_) {
        if (!awaitedNode_->HasModifiers()) {
            SetFinished();
        }
        return;
    }
    // Counted in 64 bits: a long run of frames cannot wrap the time round.
    time_ = static_cast<int32_t>(std::max<int64_t>(int64_t{time_} - elapsedMs, INT32_MIN));
    if (time_ < 1) {
        SetFinished();
    }
}
