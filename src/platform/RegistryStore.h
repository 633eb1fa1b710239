#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The per-user registry: keys named by '\'-separated paths holding typed
// values (a 32-bit number or a byte string). Key paths and value names
// compare without regard to ASCII case; values keep the order in which they
// were first written. Everything lives in one text file below the XDG config
// folder, read once and kept in memory; every write that changes a value
// rewrites the file atomically, so it is always either before or after a
// write. A file that cannot be read is never written over: the store then
// works in memory only. Safe to use from any thread.
namespace platform {

enum class RegistryType { Dword, String };

struct RegistryValue {
    std::string name;
    RegistryType type = RegistryType::Dword;
    uint32_t dword = 0;
    std::string text;
};

// The value `name` of the key; false when the key or the value is missing.
bool RegistryRead(const std::string& keyPath, const std::string& name, RegistryValue& value);

// Stores the value, making the key as needed; false when the store cannot
// be written (it then keeps its previous contents) or the key path holds a
// control character or ']'.
bool RegistryWrite(const std::string& keyPath, const RegistryValue& value);

// The values directly under the key, in order; false when the key does not
// exist (a key exists once it or a key below it holds a value).
bool RegistryListValues(const std::string& keyPath, std::vector<RegistryValue>& values);

// Where the store lives; empty when there is no per-user config folder.
std::string RegistryFilePath();

enum class RegistryFileState {
    Absent,      // no file yet: the store begins empty
    Read,        // read whole
    Damaged,     // read, but some lines could not be (see droppedLines)
    Unreadable,  // there, but not readable (a folder, an I/O error)
};

// How the store's file was read, for the log.
struct RegistryLoadReport {
    std::string path;
    RegistryFileState state = RegistryFileState::Absent;
    // Lines skipped: unreadable, over the line length, or beyond the number
    // of entries a file may hold.
    size_t droppedLines = 0;
    // Where a damaged file was copied before anything replaces it; empty
    // when no copy could be made.
    std::string keptCopy;
    // Whether writes reach the file: not when it could not be read, nor when
    // a damaged file could not be copied aside.
    bool writable = true;
};

// Reads the file first if that has not happened yet.
RegistryLoadReport RegistryLoadState();

}  // namespace platform
