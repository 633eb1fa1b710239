#include "platform/Files.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace platform {
namespace {

std::atomic<bool> failNextAtomicWrite{false};

struct TestHooks {
    std::mutex mutex;
    std::string unreadablePath;
    std::function<void(const std::string&)> recorder;
};

TestHooks& Hooks() {
    static TestHooks hooks;
    return hooks;
}

void RecordStep(const std::string& step) {
    TestHooks& hooks = Hooks();
    std::function<void(const std::string&)> recorder;
    {
        std::lock_guard<std::mutex> lock(hooks.mutex);
        recorder = hooks.recorder;
    }
    if (recorder) {
        recorder(step);
    }
}

bool ReadingFailsForTesting(const std::string& path) {
    TestHooks& hooks = Hooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    return !hooks.unreadablePath.empty() && hooks.unreadablePath == path;
}

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

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// Where the chain of symbolic links at `path` ends: the path itself when it
// is no link. Empty, with ELOOP, for a chain that does not end.
std::string FinalTarget(const std::string& path) {
    constexpr int kMaxLinkHops = 40;
    std::string current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        char target[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), target, sizeof target);
        if (length < 0 || static_cast<size_t>(length) >= sizeof target) {
            return current;
        }
        const std::string next(target, static_cast<size_t>(length));
        current = next.front() == '/' ? next : FolderOf(current) + "/" + next;
    }
    errno = ELOOP;
    return {};
}

bool SyncFolder(const std::string& folder) {
    FileDescriptor handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return handle.Get() >= 0 && ::fsync(handle.Get()) == 0;
}

// Renames without ever replacing what stands at `to`; EEXIST when something
// does. Where the file system cannot rename that way, a link does the same.
bool RenameWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    return ::link(from.c_str(), to.c_str()) == 0 && ::unlink(from.c_str()) == 0;
}

std::string NumberedCopyName(const std::string& path, const std::string& kind, int number) {
    return path + "." + kind + "-" + std::to_string(number);
}

// Moves `from` to the first free numbered name of `path`; that name, or
// empty when every name is taken or the rename fails.
std::string MoveToFreeNumberedName(const std::string& from, const std::string& path, const std::string& kind) {
    for (int number = 1; number <= kMaxKeptCopies; ++number) {
        const std::string name = NumberedCopyName(path, kind, number);
        struct stat info {};
        if (::lstat(name.c_str(), &info) == 0) {
            continue;
        }
        if (RenameWithoutReplacing(from, name)) {
            return name;
        }
        if (errno != EEXIST) {
            return {};
        }
    }
    return {};
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    if (ReadingFailsForTesting(path)) {
        errno = EACCES;
        return false;
    }
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

FileBatch::~FileBatch() {
    for (const Staged& staged : staged_) {
        ::unlink(staged.temporary.c_str());
    }
}

bool FileBatch::Stage(const std::string& path, const void* data, size_t size, std::string* whyNot) {
    const auto fail = [whyNot](int error, const std::string& temporary) {
        if (!temporary.empty()) {
            ::unlink(temporary.c_str());
        }
        if (whyNot != nullptr) {
            *whyNot = std::strerror(error);
        }
        return false;
    };
    const std::string target = FinalTarget(path);
    if (target.empty()) {
        return fail(errno, {});
    }
    // Staged again, the file's later content is the one put in place.
    staged_.erase(std::remove_if(staged_.begin(), staged_.end(),
                                 [&target](const Staged& staged) { return staged.target == target; }),
                  staged_.end());
    // A stale temporary file, or a link planted at its name, is removed, and
    // the new one made only where nothing stands.
    const std::string temporary = target + ".tmp";
    ::unlink(temporary.c_str());
    int writeError = 0;
    {
        FileDescriptor file(
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
        if (file.Get() < 0) {
            return fail(errno, {});
        }
        if (!WriteAll(file.Get(), static_cast<const uint8_t*>(data), size) || ::fsync(file.Get()) != 0 ||
            !file.Close()) {
            writeError = errno;
        }
    }
    if (failNextAtomicWrite.exchange(false)) {
        return fail(ENOSPC, temporary);
    }
    if (writeError != 0) {
        return fail(writeError, temporary);
    }
    RecordStep("write " + target);
    staged_.push_back({path, target, temporary});
    return true;
}

std::vector<FileBatch::Failure> FileBatch::Commit() {
    std::vector<Failure> failures;
    std::vector<std::string> folders;
    for (const Staged& staged : staged_) {
        if (std::rename(staged.temporary.c_str(), staged.target.c_str()) != 0) {
            failures.push_back({staged.path, std::strerror(errno)});
            ::unlink(staged.temporary.c_str());
            continue;
        }
        RecordStep("rename " + staged.target);
        const std::string folder = FolderOf(staged.target);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(folder);
        }
    }
    staged_.clear();
    // Only a power loss can undo a rename whose folder is not on disk; the
    // files themselves are whole either way, so a failure here is not one.
    for (const std::string& folder : folders) {
        SyncFolder(folder);
        RecordStep("sync " + folder);
    }
    return failures;
}

bool WriteFileAtomically(const std::string& path, const void* data, size_t size, std::string* whyNot) {
    FileBatch batch;
    if (!batch.Stage(path, data, size, whyNot)) {
        return false;
    }
    const std::vector<FileBatch::Failure> failures = batch.Commit();
    if (!failures.empty() && whyNot != nullptr) {
        *whyNot = failures.front().why;
    }
    return failures.empty();
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

FileStamp StampOf(const std::string& path) {
    FileStamp stamp;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        stamp = {true,
                 static_cast<uint64_t>(info.st_dev),
                 static_cast<uint64_t>(info.st_ino),
                 static_cast<int64_t>(info.st_size),
                 static_cast<int64_t>(info.st_mtim.tv_sec),
                 static_cast<int64_t>(info.st_mtim.tv_nsec)};
    }
    return stamp;
}

std::string KeepNumberedCopy(const std::string& path, const std::string& kind) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
        return {};
    }
    // Written whole under a name of its own first, so a copy is never half
    // there, then given the free number.
    const std::string staging = path + "." + kind + ".tmp";
    if (!WriteFileAtomically(staging, bytes.data(), bytes.size())) {
        return {};
    }
    const std::string copy = MoveToFreeNumberedName(staging, path, kind);
    if (copy.empty()) {
        ::unlink(staging.c_str());
    }
    return copy;
}

std::string KeepDamagedCopy(const std::string& path) {
    return KeepNumberedCopy(path, "damaged");
}

std::string MoveAsideAsDamaged(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return {};
    }
    return MoveToFreeNumberedName(path, path, "damaged");
}

bool AppendToFile(const std::string& path, const void* data, size_t size) {
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
    return file.Get() >= 0 && WriteAll(file.Get(), static_cast<const uint8_t*>(data), size) && file.Close();
}

void FailNextAtomicWriteForTesting() {
    failNextAtomicWrite = true;
}

void FailReadingForTesting(const std::string& path) {
    TestHooks& hooks = Hooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    hooks.unreadablePath = path;
}

void RecordFileStepsForTesting(std::function<void(const std::string& step)> recorder) {
    TestHooks& hooks = Hooks();
    std::lock_guard<std::mutex> lock(hooks.mutex);
    hooks.recorder = std::move(recorder);
}

}  // namespace platform
