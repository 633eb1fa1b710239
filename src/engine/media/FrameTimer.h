#pragma once

#include <cstdint>

#include "engine/foundation/TimerListenerList.h"

// Paces the program: each frame measures the milliseconds since the last
// one, sleeps when it came too early, caps the step at 100 ms and hands it
// to the per-frame services in list order. One instance, held in a global
// pointer from its creation to shutdown.
class FrameTimer : public TimerListenerList {
    ENGINE_CLASS(FrameTimer, TimerListenerList)

public:
    static constexpr uint32_t kMaxStepMs = 100;

    // Makes the instance and keeps one reference to it.
    static FrameTimer* Create();
    static FrameTimer* Instance();
    // Drops the global reference (shutdown).
    static void DestroyInstance();

    FrameTimer();

    // Runs one frame.
    void WaitNextFrame();

    // Restarts the count and the clocks, as start-up does after creation.
    void Reset();

    int32_t GetFramesPerSecond() const { return framesPerSecond_; }
    uint32_t GetFrameCount() const { return frameCount_; }
    uint32_t GetMinimumFrameTime() const { return minimumFrameTime_; }
    void SetMinimumFrameTime(uint32_t ms) { minimumFrameTime_ = ms; }
    uint32_t GetRateInterval() const { return rateInterval_; }
    void SetRateInterval(uint32_t ms) { rateInterval_ = ms; }

private:
    int32_t framesPerSecond_ = 0;
    uint32_t frameCount_ = 0;
    uint32_t now_;
    uint32_t lastFrame_;
    uint32_t rateInterval_ = 0;
    uint32_t lastRateTime_;
    uint32_t framesAtLastRate_ = 0;
    uint32_t minimumFrameTime_ = 20;
};
