#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace platform {

// A thread that starts at once, can suspend itself until another thread
// resumes it, and is joined at the latest when the object goes away.
class Thread {
public:
    explicit Thread(std::function<void(Thread& self)> body);
    ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Ends the next SuspendSelf, or the current one. A resume that arrives
    // before the thread suspends is kept, so no wake-up is ever lost; several
    // resumes before one suspend count as one.
    void Resume();
    // Waits until Resume is called; only the thread itself calls this.
    void SuspendSelf();
    // Waits for the thread to end; does nothing once joined or when called
    // from the thread itself.
    void Join();

private:
    std::mutex permitLock_;
    std::condition_variable permitGiven_;
    bool permit_ = false;
    // Last, so that the members above exist before the body runs.
    std::thread thread_;
};

}  // namespace platform
