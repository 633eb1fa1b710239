#include "platform/VirtualClock.h"

#include <atomic>

#include "platform/RunOptions.h"

namespace platform {

namespace {

std::atomic<uint32_t> virtualNow{0};

}  // namespace

bool VirtualClockEnabled() { return CurrentRunOptions().virtualClock; }

uint32_t VirtualClockNow() { return virtualNow.load(); }

void AdvanceVirtualClock(uint32_t ms) { virtualNow.fetch_add(ms); }

uint32_t AdvanceVirtualClockToNextFrame() {
    const uint64_t now = virtualNow.load();
    const uint64_t frame = now * 60 / 1000 + 1;
    const uint64_t boundary = (frame * 1000 + 59) / 60;
    const uint32_t step = static_cast<uint32_t>(boundary - now);
    virtualNow.fetch_add(step);
    return step;
}

}  // namespace platform
