#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace platform {

namespace {

// The folder on a line of its own: a long path would make a box too wide.
std::string Problem(const std::string& folder, const char* what, const std::string& reason) {
    return std::string("The game's data folder ") + what + ": " + reason + ".\nFolder: \"" + folder + "\"";
}

}  // namespace

InstanceLock::Attempt InstanceLock::Acquire(const std::string& folder) {
    Attempt attempt;
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        // A folder that cannot be made holds no data for another copy to spoil.
        if (made) {
            attempt.outcome = Outcome::ReadOnly;
            attempt.problem = Problem(folder, "cannot be made", made.message());
        } else {
            attempt.problem = Problem(folder, "could not be opened", std::strerror(errno));
        }
        return attempt;
    }
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        const int reason = errno;
        ::close(descriptor);
        if (reason == EWOULDBLOCK) {
            attempt.outcome = Outcome::AlreadyRunning;
        } else {
            attempt.problem = Problem(folder, "could not be locked", std::strerror(reason));
        }
        return attempt;
    }
    attempt.lock.reset(new InstanceLock(descriptor));
    if (::access(folder.c_str(), W_OK) != 0) {
        attempt.outcome = Outcome::ReadOnly;
        attempt.problem = Problem(folder, "cannot be written", std::strerror(errno));
        return attempt;
    }
    attempt.outcome = Outcome::Locked;
    return attempt;
}

InstanceLock::~InstanceLock() { ::close(descriptor_); }

}  // namespace platform
