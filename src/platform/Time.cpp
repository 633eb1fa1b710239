#include "platform/Time.h"

#include "platform/VirtualClock.h"

#include <sched.h>
#include <time.h>

#include <cerrno>
#include <cstdio>

namespace platform {
namespace {

int64_t ClockMs(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

}  // namespace

uint32_t TickCountMs() {
    if (VirtualClockEnabled()) return VirtualClockNow();
    return static_cast<uint32_t>(ClockMs(CLOCK_MONOTONIC));
}

int64_t MonotonicMs() {
    return ClockMs(CLOCK_MONOTONIC);
}

void SleepMs(uint32_t ms) {
    if (VirtualClockEnabled()) {
        // Virtual time passes at once; a real yield lets other threads run.
        AdvanceVirtualClock(ms);
        sched_yield();
        return;
    }
    if (ms == 0) {
        sched_yield();
        return;
    }
    timespec remaining{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

int64_t UnixSeconds() {
    return static_cast<int64_t>(::time(nullptr));
}

UtcTime NowUtc() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm parts{};
    gmtime_r(&now.tv_sec, &parts);
    UtcTime result;
    result.year = parts.tm_year + 1900;
    result.month = parts.tm_mon + 1;
    result.day = parts.tm_mday;
    result.hour = parts.tm_hour;
    result.minute = parts.tm_min;
    result.second = parts.tm_sec;
    result.millisecond = static_cast<int>(now.tv_nsec / 1000000);
    return result;
}

std::string FormatDateTimeForFileName(const UtcTime& time) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d-%02d-%02d", time.year, time.month, time.day,
                  time.hour, time.minute, time.second);
    return text;
}

}  // namespace platform
