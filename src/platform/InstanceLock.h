#pragma once

#include <memory>
#include <string>

// Keeps a second copy of the program from running on the same data: an
// exclusive lock on a file in that folder, held until the lock object goes
// (the system drops it when the process ends, even after a crash).
namespace platform {

class InstanceLock {
public:
    // The lock on `folder`/`name`.lock (the folder is made when missing).
    // Null with `alreadyRunning` set when another process holds it; null
    // without it when the file cannot be opened or locked at all, with
    // `problem` (when given) naming the file and the reason.
    static std::unique_ptr<InstanceLock> Acquire(const std::string& folder, const std::string& name,
                                                 bool& alreadyRunning, std::string* problem = nullptr);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

private:
    explicit InstanceLock(int descriptor) : descriptor_(descriptor) {}
    int descriptor_;
};

}  // namespace platform
