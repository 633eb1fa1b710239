#include "engine/foundation/BoundedWait.h"

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
        if (platform::VirtualClockEnabled()) {
            // The loader's work takes no virtual time: polling while it runs
            // would make the clock depend on the machine's speed.
            if (SectionManager* sections = SectionManager::Instance()) sections->FinishLoadWork();
        }
        if (done()) {
            return true;
        }
        if (platform::TicksElapsed(start, platform::TickCountMs()) >= limitMs) {
            return false;
        }
        platform::SleepMs(kPollMs);
    }
}
