#include "engine/media/FrameTimer.h"

#include "engine/foundation/Ref.h"
#include "platform/Time.h"

namespace {

Ref<FrameTimer>& GlobalTimer() {
    static Ref<FrameTimer> timer;
    return timer;
}

}  // namespace

FrameTimer* FrameTimer::Create() {
    GlobalTimer() = new FrameTimer();
    return GlobalTimer().Get();
}

FrameTimer* FrameTimer::Instance() { return GlobalTimer().Get(); }

void FrameTimer::DestroyInstance() { GlobalTimer().Reset(); }

FrameTimer::FrameTimer()
    : now_(platform::TickCountMs()), lastFrame_(now_), lastRateTime_(now_) {}

void FrameTimer::Reset() {
    frameCount_ = 0;
    framesAtLastRate_ = 0;
    framesPerSecond_ = 0;
    now_ = platform::TickCountMs();
    lastFrame_ = now_;
    lastRateTime_ = now_;
}

void FrameTimer::WaitNextFrame() {
    // Unsigned differences: the wrap of the millisecond counter does no harm.
    now_ = platform::TickCountMs();
    uint32_t elapsed = platform::TicksElapsed(lastFrame_, now_);
    if (elapsed < minimumFrameTime_) {
        platform::SleepMs(minimumFrameTime_ - elapsed);
        now_ = platform::TickCountMs();
        elapsed = platform::TicksElapsed(lastFrame_, now_);
    }
    // The time beyond the cap is dropped, not carried.
    if (elapsed > kMaxStepMs) elapsed = kMaxStepMs;
    ++frameCount_;
    if (rateInterval_ != 0 && platform::TicksElapsed(lastRateTime_, now_) >= rateInterval_) {
        const uint32_t span = platform::TicksElapsed(lastRateTime_, now_);
        framesPerSecond_ =
            static_cast<int32_t>((frameCount_ - framesAtLastRate_) * (1000.0 / span));
        framesAtLastRate_ = frameCount_;
        lastRateTime_ = now_;
    }
    Dispatch(elapsed);
    // The listeners' own work counts toward the next frame.
    lastFrame_ = now_;
}
