#include "platform/Thread.h"

#include <utility>

namespace platform {

Thread::Thread(std::function<void(Thread& self)> body)
    : thread_([this, body = std::move(body)] { body(*this); }) {}

Thread::~Thread() {
    Join();
}

void Thread::Resume() {
    {
        std::lock_guard<std::mutex> guard(permitLock_);
        permit_ = true;
    }
    permitGiven_.notify_one();
}

void Thread::SuspendSelf() {
    std::unique_lock<std::mutex> lock(permitLock_);
    permitGiven_.wait(lock, [this] { return permit_; });
    permit_ = false;
}

void Thread::Join() {
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) {
        thread_.join();
    }
}

}  // namespace platform
