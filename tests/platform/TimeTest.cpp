#include <gtest/gtest.h>

#include <regex>

#include "platform/Time.h"

namespace {

TEST(TimeTest, TickComparisonsSurviveTheWrap) {
    struct Case {
        uint32_t now;
        uint32_t deadline;
        bool reached;
    };
    const Case cases[] = {
        {100, 100, true},
        {99, 100, false},
        {5, 0xFFFFFFF0u, true},           // the counter wrapped past the deadline
        {0xFFFFFFF0u, 5, false},          // the deadline lies just after the wrap
        {0x80000000u, 0, false},          // half the range apart counts as not yet
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::TickReached(c.now, c.deadline), c.reached) << c.now << " " << c.deadline;
    }
    EXPECT_EQ(platform::TicksElapsed(0xFFFFFF00u, 0x100u), 0x200u);
}

TEST(TimeTest, ClocksMoveForwardAcrossASleep) {
    const int64_t before = platform::MonotonicMs();
    const uint32_t tickBefore = platform::TickCountMs();
    platform::SleepMs(20);
    EXPECT_GE(platform::MonotonicMs() - before, 20);
    EXPECT_GE(platform::TicksElapsed(tickBefore, platform::TickCountMs()), 20u);
    platform::SleepMs(0);  // only yields
    EXPECT_GT(platform::UnixSeconds(), 1'600'000'000);
}

TEST(TimeTest, FileNameTimeHasFixedDigits) {
    platform::UtcTime time;
    time.year = 2010;
    time.month = 1;
    time.day = 31;
    time.hour = 9;
    time.minute = 5;
    time.second = 7;
    EXPECT_EQ(platform::FormatDateTimeForFileName(time), "2010-01-31 09-05-07");
    const std::string now = platform::FormatDateTimeForFileName(platform::NowUtc());
    EXPECT_TRUE(std::regex_match(now, std::regex(R"(\d{4}-\d\d-\d\d \d\d-\d\d-\d\d)"))) << now;
}

}  // namespace
