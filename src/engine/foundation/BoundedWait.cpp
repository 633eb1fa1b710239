#include "engine/foundation/BoundedWait.h"

#include <chrono>
#include <thread>

#include "engine/foundation/SectionManager.h"
#include "platform/Time.h"
#include "platform/VirtualClock.h"

namespace {

constexpr uint32_t kPollMs = 10;

}  // namespace

bool WaitForLoading(const std::function<bool()>& done, uint32_t limitMs) {
    const uint32_t start = platform::TickCountMs();
    for (;;) {
        SectionManager::WakeLoader();
        if (done()) {
            return true;
        }
        if (platform::TicksElapsed(start, platform::TickCountMs()) >= limitMs) {
            return false;
        }
        platform::SleepMs(kPollMs);
        if (platform::VirtualClockEnabled()) {
            // The virtual sleep passes at once, but the loader needs real
            // time: without this a scripted run would hit the limit before
            // any picture is read.
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
}
