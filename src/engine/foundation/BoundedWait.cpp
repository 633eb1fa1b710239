#include "engine/foundation/BoundedWait.h"

#include "engine/foundation/SectionManager.h"
#include "platform/Time.h"

namespace {

constexpr uint32_t kPollMs = 10;

}  // namespace

bool WaitForLoading(const std::function<bool()>& done, uint32_t limitMs) {
    const uint32_t start = platform::TickCountMs();
    for (;;) {
        SectionManager::WakeLoader();
        // Polling while the loader runs would make the virtual clock depend
        // on the machine's speed.
        SectionManager::SettleOnVirtualClock();
        if (done()) {
            return true;
        }
        if (platform::TicksElapsed(start, platform::TickCountMs()) >= limitMs) {
            return false;
        }
        platform::SleepMs(kPollMs);
    }
}
