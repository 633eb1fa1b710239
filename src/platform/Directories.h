#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Folder operations for the layers above. Paths use '/' and are UTF-8 on
// disk. Nothing here follows a symbolic link unless it says so.
namespace platform {

struct DirectoryEntry {
    std::string name;
    bool isDirectory = false;  // a real folder, not a link to one
    bool isSymlink = false;
};

// Whether anything (file, folder, link) stands at the path.
bool PathExists(const std::string& path);

// Whether the path names a folder, following links.
bool IsDirectory(const std::string& path);

// Makes one folder; false when it exists already or cannot be made.
bool MakeDirectory(const std::string& path);

// Removes a file or a link (never its target).
bool RemoveFile(const std::string& path);

// Removes an empty folder.
bool RemoveDirectory(const std::string& path);

// Lists a folder without "." and ".."; false when the path is not a folder
// or is a link to one.
bool ListDirectory(const std::string& path, std::vector<DirectoryEntry>& entries);

// Size in bytes; -1 when the file cannot be examined.
int64_t FileSize(const std::string& path);

// Last write time in 100-nanosecond steps since 1601-01-01 UTC.
bool LastWriteFileTime(const std::string& path, uint64_t& fileTime);

// Converts seconds and nanoseconds since 1970 to 100-nanosecond steps since 1601.
uint64_t UnixToFileTime(int64_t seconds, uint32_t nanoseconds);

std::string CurrentFolder();
bool SetCurrentFolder(const std::string& path);

// Full path of the running program; empty when it cannot be had.
std::string ProgramPath();

}  // namespace platform
