#pragma once

#include <cstdint>
#include <string>

// Clocks for the layers above.
namespace platform {

// A millisecond counter that wraps after about 49.7 days, like the tick
// counters the game logic was written against. Compare ticks only through
// the helpers below, never with < or >.
uint32_t TickCountMs();

// Milliseconds from `earlier` to `later`, correct across one wrap.
inline uint32_t TicksElapsed(uint32_t earlier, uint32_t later) {
    return later - earlier;
}

// Whether `now` has reached `deadline`; correct while the two lie less than
// 2^31 ms (about 24.8 days) apart.
inline bool TickReached(uint32_t now, uint32_t deadline) {
    return static_cast<int32_t>(now - deadline) >= 0;
}

// Milliseconds since an arbitrary fixed moment; never wraps.
int64_t MonotonicMs();

// Sleeps for about `ms` milliseconds; 0 only yields the processor.
void SleepMs(uint32_t ms);

// Seconds since 1970-01-01 00:00 UTC, kept in 64 bits.
int64_t UnixSeconds();

struct UtcTime {
    int year = 1970;
    int month = 1;  // 1 to 12
    int day = 1;    // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

UtcTime NowUtc();

// "yyyy-MM-dd HH-mm-ss", fixed digits whatever the locale.
std::string FormatDateTimeForFileName(const UtcTime& time);

}  // namespace platform
