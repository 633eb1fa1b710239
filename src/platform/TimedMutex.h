#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace platform {

// A lock that its holder may take again (each take needs its own unlock),
// whose waits can time out. The name only identifies it in reports.
class TimedMutex {
public:
    explicit TimedMutex(std::string name);
    TimedMutex(const TimedMutex&) = delete;
    TimedMutex& operator=(const TimedMutex&) = delete;

    // True once the caller holds the lock; false when `timeoutMs` passed first.
    bool TryLockFor(uint32_t timeoutMs);
    // Gives up one take. False, and nothing changes, when the caller does not
    // hold the lock.
    bool Unlock();
    bool IsHeldByCaller() const;
    const std::string& Name() const { return name_; }

private:
    const std::string name_;
    mutable std::mutex state_;
    std::condition_variable released_;
    std::thread::id owner_;
    uint32_t depth_ = 0;
};

}  // namespace platform
