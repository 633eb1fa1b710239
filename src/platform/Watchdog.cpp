#include "platform/Watchdog.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "platform/FrameCapture.h"

namespace platform {

Watchdog::Watchdog(uint32_t limitMs, FrameCapture& capture)
    : capture_(capture), thread_([this, limitMs] { Watch(limitMs); }) {}

Watchdog::~Watchdog() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void Watchdog::Watch(uint32_t limitMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (wake_.wait_for(lock, std::chrono::milliseconds(limitMs), [this] { return stopped_; }))
        return;
    capture_.SaveLastFrame("watchdog");
    std::fprintf(stderr, "watchdog: the run took longer than %u ms and was ended\n", limitMs);
    std::fflush(stderr);
    std::_Exit(2);
}

}  // namespace platform
