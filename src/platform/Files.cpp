#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace platform {
namespace {

std::atomic<bool> failNextAtomicWrite{false};

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { Close(); }

    int Get() const { return fd_; }
    bool Close() {
        if (fd_ < 0) {
            return true;
        }
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        return closed;
    }

private:
    int fd_;
};

bool WriteAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    // Opened without waiting, as a FIFO would make an open wait for a writer;
    // the flag does nothing to reading a regular file.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    bytes.clear();
    uint8_t chunk[65536];
    for (;;) {
        const ssize_t got = ::read(file.Get(), chunk, sizeof chunk);
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            return true;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
}

bool WriteFileAtomically(const std::string& path, const void* data, size_t size, std::string* whyNot) {
    const std::string temporary = path + ".tmp";
    const auto fail = [&](int error) {
        ::unlink(temporary.c_str());
        if (whyNot != nullptr) {
            *whyNot = std::strerror(error);
        }
        return false;
    };
    int writeError = 0;
    {
        FileDescriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        if (file.Get() < 0) {
            return fail(errno);
        }
        if (!WriteAll(file.Get(), static_cast<const uint8_t*>(data), size) || ::fsync(file.Get()) != 0 ||
            !file.Close()) {
            writeError = errno;
        }
    }
    if (failNextAtomicWrite.exchange(false)) {
        return fail(ENOSPC);
    }
    if (writeError != 0) {
        return fail(writeError);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        return fail(errno);
    }
    return true;
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

namespace {

std::string DamagedCopyName(const std::string& path, int number) {
    return path + ".damaged-" + std::to_string(number);
}

// The first free copy name, or else the one written longest ago.
std::string NextDamagedCopyName(const std::string& path) {
    std::string oldest;
    struct timespec oldestTime {};
    for (int number = 1; number <= kMaxDamagedCopies; ++number) {
        const std::string name = DamagedCopyName(path, number);
        struct stat info {};
        if (::lstat(name.c_str(), &info) != 0) {
            return name;
        }
        const struct timespec written = info.st_mtim;
        if (oldest.empty() || written.tv_sec < oldestTime.tv_sec ||
            (written.tv_sec == oldestTime.tv_sec && written.tv_nsec < oldestTime.tv_nsec)) {
            oldest = name;
            oldestTime = written;
        }
    }
    return oldest;
}

}  // namespace

std::string KeepDamagedCopy(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
        return {};
    }
    const std::string copy = NextDamagedCopyName(path);
    return WriteFileAtomically(copy, bytes.data(), bytes.size()) ? copy : std::string();
}

std::string MoveAsideAsDamaged(const std::string& path) {
    const std::string aside = NextDamagedCopyName(path);
    return std::rename(path.c_str(), aside.c_str()) == 0 ? aside : std::string();
}

bool AppendToFile(const std::string& path, const void* data, size_t size) {
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
    return file.Get() >= 0 && WriteAll(file.Get(), static_cast<const uint8_t*>(data), size) && file.Close();
}

void FailNextAtomicWriteForTesting() {
    failNextAtomicWrite = true;
}

}  // namespace platform
