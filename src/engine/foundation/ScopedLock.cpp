#include "engine/foundation/ScopedLock.h"

#include "engine/foundation/Logger.h"

namespace {

constexpr uint32_t kReportAfterMs = 10000;

}  // namespace

ScopedLock::ScopedLock(platform::TimedMutex& mutex) : mutex_(mutex) {
    while (!mutex_.TryLockFor(kReportAfterMs)) {
        ENGINE_LOG(3, "Still waiting for the lock %s after %u ms", mutex_.Name().c_str(),
                   static_cast<unsigned>(kReportAfterMs));
    }
}

ScopedLock::~ScopedLock() {
    mutex_.Unlock();
}
