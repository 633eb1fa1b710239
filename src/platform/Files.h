#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Plain file access for the layers above. Paths are UTF-8 on disk.
namespace platform {

// Reads a whole file; false when it cannot be opened or read, or when it is
// not a regular file (a FIFO, a device or a folder is never waited on).
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);

// Writes the bytes to a temporary file beside `path`, flushes it to disk and
// renames it over `path`; on any failure the previous file stays untouched
// and the temporary file is removed. `whyNot`, when given, receives the
// system's reason for a failure.
bool WriteFileAtomically(const std::string& path, const void* data, size_t size, std::string* whyNot = nullptr);

// Whether a regular file (or a link to one) stands at the path.
bool FileExists(const std::string& path);

// Damaged copies kept of one file.
constexpr int kMaxDamagedCopies = 5;

// Copies a file that could not be used to the first free name among
// `path` + ".damaged-1" to ".damaged-5"; when all are taken, the oldest copy
// is replaced. The copy's name, or empty when the file could not be read or
// the copy not written.
std::string KeepDamagedCopy(const std::string& path);

// Renames the file to the name KeepDamagedCopy would copy it to, so that its
// own name is free. The new name, or empty when it could not be renamed.
std::string MoveAsideAsDamaged(const std::string& path);

// Adds the bytes at the end of the file, making it when missing.
bool AppendToFile(const std::string& path, const void* data, size_t size);

// Makes the next WriteFileAtomically fail after the temporary file is written
// and before the rename, as a full disk or a crash at that moment would; its
// reason is that of a full disk.
void FailNextAtomicWriteForTesting();

}  // namespace platform
