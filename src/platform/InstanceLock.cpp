#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace platform {

std::unique_ptr<InstanceLock> InstanceLock::Acquire(const std::string& folder,
                                                    const std::string& name,
                                                    bool& alreadyRunning) {
    alreadyRunning = false;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::string path = folder + "/" + name + ".lock";
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor < 0) return nullptr;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        alreadyRunning = errno == EWOULDBLOCK;
        ::close(descriptor);
        return nullptr;
    }
    return std::unique_ptr<InstanceLock>(new InstanceLock(descriptor));
}

InstanceLock::~InstanceLock() { ::close(descriptor_); }

}  // namespace platform
