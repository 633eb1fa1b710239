#pragma once

#include <memory>
#include <string>

// Keeps a second copy of the program from running on the same data: an
// exclusive lock on the data folder itself, held until the lock object goes
// (the system drops it when the process ends, even after a crash). A lock
// on the folder cannot be lost to a file removed or replaced beside the
// data, and it holds on a folder that cannot be written.
namespace platform {

class InstanceLock {
public:
    enum class Outcome {
        Locked,           // this copy may run and save
        ReadOnly,         // the folder cannot be written or made: this copy may run, nothing can be saved
        AlreadyRunning,   // another process holds the lock
        Failed,           // no telling whether another copy runs: this one may not
    };

    struct Attempt {
        Outcome outcome = Outcome::Failed;
        std::unique_ptr<InstanceLock> lock;   // held for Locked, and for ReadOnly when the folder exists
        std::string problem;                  // ReadOnly, Failed: the folder and the reason
    };

    // The lock on `folder` (made when missing).
    static Attempt Acquire(const std::string& folder);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

private:
    explicit InstanceLock(int descriptor) : descriptor_(descriptor) {}
    int descriptor_;
};

}  // namespace platform
