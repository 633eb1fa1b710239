#include "engine/media/FrameTimer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/RunOptions.h"
#include "platform/Time.h"
#include "platform/VirtualClock.h"

namespace {

class RecordingService : public Service {
public:
    void OnStart() override { ++starts; }
    void Update(uint32_t elapsedMs) override { steps.push_back(elapsedMs); }
    int starts = 0;
    std::vector<uint32_t> steps;
};

// The timer reads the platform clock; a virtual one moves only when told.
class FrameTimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("WORDRAIL_CLOCK", "virtual", 1);
        platform::ReloadRunOptionsForTesting();
        timer_ = new FrameTimer();
        timer_->AddListener(service_.Get());
    }
    void TearDown() override {
        timer_.Reset();
        unsetenv("WORDRAIL_CLOCK");
        platform::ReloadRunOptionsForTesting();
    }

    Ref<FrameTimer> timer_;
    Ref<RecordingService> service_ = new RecordingService();
};

TEST_F(FrameTimerTest, StepsAreCappedAndShortFramesWaitForTheMinimum) {
    struct Case {
        uint32_t minimum;
        uint32_t passed;
        uint32_t expectedStep;
        uint32_t expectedSleep;
    };
    const Case cases[] = {
        {20, 250, 100, 0},   // a long frame hands on 100, the rest is dropped
        {20, 5, 20, 15},     // too early: sleeps the rest
        {1, 0, 1, 1},
        {20, 40, 40, 0},
    };
    for (const Case& c : cases) {
        timer_->SetMinimumFrameTime(c.minimum);
        timer_->Reset();
        platform::AdvanceVirtualClock(c.passed);
        const uint32_t before = platform::TickCountMs();
        timer_->WaitNextFrame();
        EXPECT_EQ(service_->steps.back(), c.expectedStep) << c.passed;
        EXPECT_EQ(platform::TickCountMs() - before, c.expectedSleep) << c.passed;
    }
    EXPECT_EQ(service_->starts, 1);
    EXPECT_EQ(timer_->GetFramesPerSecond(), 0);   // no rate interval, no rate
}

TEST_F(FrameTimerTest, ListenersWorkCountsTowardTheNextFrame) {
    timer_->SetMinimumFrameTime(1);
    timer_->Reset();
    platform::AdvanceVirtualClock(10);
    timer_->WaitNextFrame();
    platform::AdvanceVirtualClock(30);   // as if the frame's work took 30 ms
    timer_->WaitNextFrame();
    EXPECT_EQ(service_->steps, (std::vector<uint32_t>{10, 30}));
    EXPECT_EQ(timer_->GetFrameCount(), 2u);
}

TEST_F(FrameTimerTest, RateIsMeasuredOverItsInterval) {
    timer_->SetMinimumFrameTime(1);
    timer_->SetRateInterval(1000);
    timer_->Reset();
    for (int i = 0; i < 50; ++i) {
        platform::AdvanceVirtualClock(20);
        timer_->WaitNextFrame();
    }
    EXPECT_EQ(timer_->GetFramesPerSecond(), 50);
}

TEST_F(FrameTimerTest, ClockWrapDoesNoHarm) {
    timer_->SetMinimumFrameTime(1);
    platform::AdvanceVirtualClock(0xFFFFFFFFu - platform::TickCountMs() - 5);
    timer_->Reset();
    platform::AdvanceVirtualClock(16);   // across the wrap
    timer_->WaitNextFrame();
    EXPECT_EQ(service_->steps.back(), 16u);
}

TEST_F(FrameTimerTest, InactiveServiceKeepsItsPlaceAndStartsOnce) {
    timer_->SetMinimumFrameTime(1);
    service_->SetActive(false);
    platform::AdvanceVirtualClock(5);
    timer_->WaitNextFrame();
    EXPECT_TRUE(service_->steps.empty());
    EXPECT_EQ(service_->starts, 0);
    service_->SetActive(true);
    platform::AdvanceVirtualClock(5);
    timer_->WaitNextFrame();
    platform::AdvanceVirtualClock(5);
    timer_->WaitNextFrame();
    EXPECT_EQ(service_->steps.size(), 2u);
    EXPECT_EQ(service_->starts, 1);
}

}  // namespace
