#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace platform {

std::unique_ptr<InstanceLock> InstanceLock::Acquire(const std::string& folder, const std::string& name,
                                                    bool& alreadyRunning, std::string* problem) {
    alreadyRunning = false;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::string path = folder + "/" + name + ".lock";
    const auto refuse = [&path, problem](const char* step) {
        if (problem != nullptr) {
            *problem = "The lock file \"" + path + "\" could not be " + step + ": " + std::strerror(errno) + ".";
        }
        return nullptr;
    };
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor < 0) return refuse("opened");
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        alreadyRunning = errno == EWOULDBLOCK;
        const int reason = errno;
        ::close(descriptor);
        errno = reason;
        return alreadyRunning ? nullptr : refuse("locked");
    }
    return std::unique_ptr<InstanceLock>(new InstanceLock(descriptor));
}

InstanceLock::~InstanceLock() { ::close(descriptor_); }

}  // namespace platform
