#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

// Ends a run that lasts longer than its limit: saves the last frame as
// "watchdog.png", says so on the standard error stream and exits with
// status 2. Stopped (and joined) when it goes.
namespace platform {

class FrameCapture;

class Watchdog {
public:
    Watchdog(uint32_t limitMs, FrameCapture& capture);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    void Watch(uint32_t limitMs);

    FrameCapture& capture_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopped_ = false;
    std::thread thread_;
};

}  // namespace platform
