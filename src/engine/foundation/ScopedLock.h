#pragma once

#include "platform/TimedMutex.h"

// Holds a lock for a scope. Every 10 s spent waiting is logged and the wait
// goes on: going ahead without the lock would let two threads change the
// same tables at once.
class ScopedLock {
public:
    explicit ScopedLock(platform::TimedMutex& mutex);
    ~ScopedLock();
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    platform::TimedMutex& mutex_;
};
