#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Plain file access for the layers above. Paths are UTF-8 on disk.
namespace platform {

// Reads a whole file; false when it cannot be opened or read, or when it is
// not a regular file (a FIFO, a device or a folder is never waited on).
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);

// Files written as one save. Each is first written to a temporary file of
// its own beside the file it replaces and flushed to disk; Commit then
// renames them over their names one after another and flushes their folders,
// so that the files of one save can disagree only between two renames, and a
// power loss keeps the new names. A file saved through a symbolic link is
// saved where the link points, and the link stays. Temporary files are made
// fresh, never through a link. Whatever is not committed is removed.
class FileBatch {
public:
    struct Failure {
        std::string path;  // as staged
        std::string why;   // the system's reason
    };

    FileBatch() = default;
    FileBatch(const FileBatch&) = delete;
    FileBatch& operator=(const FileBatch&) = delete;
    ~FileBatch();

    // Writes the temporary file for `path`; false, with the reason, when that
    // fails, and then nothing of it is committed.
    bool Stage(const std::string& path, const void* data, size_t size, std::string* whyNot = nullptr);
    // Puts every staged file in place, in the order staged. The files that
    // could not be; each of them keeps its previous content.
    std::vector<Failure> Commit();

private:
    struct Staged {
        std::string path;
        std::string target;
        std::string temporary;
    };
    std::vector<Staged> staged_;
};

// One file written as a FileBatch of its own: on any failure the previous
// file stays untouched and the temporary file is removed. `whyNot`, when
// given, receives the system's reason for a failure.
bool WriteFileAtomically(const std::string& path, const void* data, size_t size, std::string* whyNot = nullptr);

// Whether a regular file (or a link to one) stands at the path.
bool FileExists(const std::string& path);

// Which file stands at a path (through links) and how it was last written,
// so that a change made from outside can be seen.
struct FileStamp {
    bool present = false;
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t writtenSeconds = 0;
    int64_t writtenNanoseconds = 0;

    bool operator==(const FileStamp& other) const = default;
};

FileStamp StampOf(const std::string& path);

// Numbered copies kept of one file; a kept copy is never replaced.
constexpr int kMaxKeptCopies = 100;

// Copies a file to the first free name among `path` + "." + `kind` + "-1"
// to "-100". The copy's name, or empty when the file could not be read, the
// copy not written, or every name is taken.
std::string KeepNumberedCopy(const std::string& path, const std::string& kind);

// A copy of a file that could not be used: KeepNumberedCopy as "damaged".
std::string KeepDamagedCopy(const std::string& path);

// Renames the file to the first free name KeepDamagedCopy would copy it to,
// so that its own name is free. The new name, or empty when it could not be
// renamed.
std::string MoveAsideAsDamaged(const std::string& path);

// Adds the bytes at the end of the file, making it when missing.
bool AppendToFile(const std::string& path, const void* data, size_t size);

// Makes the next staged file fail after its temporary file is written and
// before it could be renamed, as a full disk or a crash at that moment
// would; its reason is that of a full disk.
void FailNextAtomicWriteForTesting();

// Makes ReadWholeFile fail for the path, as a file the user may not read
// does; an empty path ends that.
void FailReadingForTesting(const std::string& path);

// Receives each step of a save as it is done: "write <path>" once the
// temporary file for `path` is on disk, "rename <path>", "sync <folder>".
// Null stops it.
void RecordFileStepsForTesting(std::function<void(const std::string& step)> recorder);

}  // namespace platform
