#include "engine/foundation/Folders.h"

#include <mutex>
#include <optional>
#include <vector>

#include "engine/foundation/Defines.h"
#include "platform/Directories.h"
#include "platform/UserFolders.h"

namespace {

struct FolderCache {
    std::mutex mutex;
    std::optional<std::string> program;
    std::optional<std::string> shared;
    std::optional<std::string> game;
    std::optional<std::string> temp;
};

FolderCache& Cache() {
    static FolderCache cache;
    return cache;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/') {
        return folder + name;
    }
    return folder + "/" + name;
}

std::string ComputeProgramFolder() {
    const std::string path = platform::ProgramPath();
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string ProgramFolderLocked() {
    FolderCache& cache = Cache();
    if (!cache.program) {
        cache.program = ComputeProgramFolder();
    }
    return *cache.program;
}

std::string SharedDataFolderLocked() {
    FolderCache& cache = Cache();
    if (!cache.shared) {
        const std::string dataHome = platform::DataHomeFolder();
        if (dataHome.empty()) {
            cache.shared = ProgramFolderLocked();
        } else {
            cache.shared = JoinPath(dataHome, "Quelt/Games");
            MakeDirectoryChain(*cache.shared);
        }
    }
    return *cache.shared;
}

// Before the game's constants are loaded the name is empty; the folder is
// then not cached, so that the game's files never settle in the shared
// folder for the rest of the run.
std::string GameDataFolderLocked() {
    FolderCache& cache = Cache();
    if (cache.game) {
        return *cache.game;
    }
    const std::string shared = SharedDataFolderLocked();
    if (platform::DataHomeFolder().empty()) {
        return *(cache.game = shared);
    }
    const std::string name = GetGameName();
    const std::string folder = JoinPath(shared, name);
    platform::MakeDirectory(folder);
    if (!name.empty()) {
        cache.game = folder;
    }
    return folder;
}

}  // namespace

std::string GetProgramFolder() {
    std::lock_guard<std::mutex> lock(Cache().mutex);
    return ProgramFolderLocked();
}

std::string GetCurrentFolder() {
    return platform::CurrentFolder();
}

std::string GetSharedDataFolder() {
    std::lock_guard<std::mutex> lock(Cache().mutex);
    return SharedDataFolderLocked();
}

std::string GetGameDataFolder() {
    std::lock_guard<std::mutex> lock(Cache().mutex);
    return GameDataFolderLocked();
}

std::string GetGameTempFolder() {
    std::lock_guard<std::mutex> lock(Cache().mutex);
    FolderCache& cache = Cache();
    if (cache.temp) {
        return *cache.temp;
    }
    const std::string folder = JoinPath(GameDataFolderLocked(), "_temp");
    platform::MakeDirectory(folder);
    if (cache.game) {
        cache.temp = folder;
    }
    return folder;
}

void MakeDirectoryChain(const std::string& path) {
    if (path.empty() || platform::PathExists(path)) {
        return;
    }
    const size_t separator = path.find_last_of("\\/");
    if (separator != std::string::npos && separator > 0) {
        MakeDirectoryChain(path.substr(0, separator));
    }
    platform::MakeDirectory(path);
}

bool DeleteFolderTree(const std::string& path) {
    if (path.size() < 2) {
        return false;
    }
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    const size_t slash = folder.rfind('/');
    const std::string lastPart = slash == std::string::npos ? folder : folder.substr(slash + 1);
    if (folder == "/" || lastPart == "." || lastPart == "..") {
        return false;
    }
    std::vector<platform::DirectoryEntry> entries;
    if (!platform::ListDirectory(folder, entries)) {
        return false;
    }
    bool allDeleted = true;
    for (const platform::DirectoryEntry& entry : entries) {
        const std::string child = folder + "/" + entry.name;
        const bool deleted = entry.isDirectory ? DeleteFolderTree(child) : platform::RemoveFile(child);
        allDeleted = deleted && allDeleted;
    }
    return platform::RemoveDirectory(folder) && allDeleted;
}

uint32_t GetFileSize(const std::string& path) {
    const int64_t size = platform::FileSize(path);
    return size < 0 ? 0 : static_cast<uint32_t>(size);
}

bool GrantEveryoneAccess(const std::string&) {
    return true;
}

void ForgetFoldersForTesting() {
    FolderCache& cache = Cache();
    std::lock_guard<std::mutex> lock(cache.mutex);
    cache.program.reset();
    cache.shared.reset();
    cache.game.reset();
    cache.temp.reset();
}
