#include "scenes/BoundedWait.h"

#include "engine/foundation/SectionManager.h"
#include "platform/Time.h"

namespace {

constexpr uint32_t kPollMs = 10;

}  // namespace

bool WaitForLoading(const std::function<bool()>& done, uint32_t limitMs) {
    // Real time: under the virtual clock of scripted runs the sleeps below
    // pass at once, while the loader still needs real time.
    const int64_t start = platform::MonotonicMs();
    for (;;) {
        SectionManager::WakeLoader();
        if (done()) {
            return true;
        }
        if (platform::MonotonicMs() - start >= static_cast<int64_t>(limitMs)) {
            return false;
        }
        platform::SleepMs(kPollMs);
    }
}
