#include "platform/TimedMutex.h"

#include <chrono>
#include <utility>

namespace platform {

TimedMutex::TimedMutex(std::string name) : name_(std::move(name)) {}

bool TimedMutex::TryLockFor(uint32_t timeoutMs) {
    const std::thread::id caller = std::this_thread::get_id();
    std::unique_lock<std::mutex> lock(state_);
    if (depth_ > 0 && owner_ == caller) {
        ++depth_;
        return true;
    }
    if (!released_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return depth_ == 0; })) {
        return false;
    }
    owner_ = caller;
    depth_ = 1;
    return true;
}

bool TimedMutex::Unlock() {
    {
        std::lock_guard<std::mutex> guard(state_);
        if (depth_ == 0 || owner_ != std::this_thread::get_id()) {
            return false;
        }
        if (--depth_ > 0) {
            return true;
        }
        owner_ = std::thread::id();
    }
    released_.notify_one();
    return true;
}

bool TimedMutex::IsHeldByCaller() const {
    std::lock_guard<std::mutex> guard(state_);
    return depth_ > 0 && owner_ == std::this_thread::get_id();
}

}  // namespace platform
