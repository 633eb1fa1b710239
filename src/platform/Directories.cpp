#include "platform/Directories.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace platform {
namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

}  // namespace

bool PathExists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool MakeDirectory(const std::string& path) {
    return ::mkdir(path.c_str(), 0755) == 0;
}

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

bool RemoveDirectory(const std::string& path) {
    return ::rmdir(path.c_str()) == 0;
}

bool ListDirectory(const std::string& path, std::vector<DirectoryEntry>& entries) {
    entries.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd));
    if (!dir) {
        ::close(fd);
        return false;
    }
    while (const dirent* found = ::readdir(dir.get())) {
        const std::string name = found->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        struct stat info {};
        if (::fstatat(fd, found->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;  // vanished while listing
        }
        entries.push_back({name, S_ISDIR(info.st_mode), S_ISLNK(info.st_mode)});
    }
    return true;
}

int64_t FileSize(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return -1;
    }
    return static_cast<int64_t>(info.st_size);
}

uint64_t UnixToFileTime(int64_t seconds, uint32_t nanoseconds) {
    constexpr int64_t kSecondsFrom1601To1970 = 11644473600LL;
    return static_cast<uint64_t>(seconds + kSecondsFrom1601To1970) * 10000000ULL + nanoseconds / 100;
}

bool LastWriteFileTime(const std::string& path, uint64_t& fileTime) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return false;
    }
    fileTime = UnixToFileTime(info.st_mtim.tv_sec, static_cast<uint32_t>(info.st_mtim.tv_nsec));
    return true;
}

std::string CurrentFolder() {
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
}

bool SetCurrentFolder(const std::string& path) {
    return ::chdir(path.c_str()) == 0;
}

std::string ProgramPath() {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof buffer) {
        return {};
    }
    return std::string(buffer, static_cast<size_t>(length));
}

}  // namespace platform
