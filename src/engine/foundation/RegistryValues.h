#pragma once

#include <cstdint>
#include <string>

// One value of the per-user registry store, named by a single path such as
// "Software\Quelt\Games\<id>\qlt\totalplayingtime". Reads fall back to a
// default; writes make the key and tell whether they were stored.

struct RegistryPath {
    std::string keyPath;
    std::string valueName;
};

// '/' counts as '\'; a final '\' is dropped; the path splits at its last '\'.
// Without a '\' after the first character the key path is empty and the
// whole path names the value.
RegistryPath SplitRegistryPath(const std::string& path);

// "Software\Quelt\Games\" and the game's id.
std::string MakeGameRegistryPath();

// The path of one of the engine's own values, kept in the game key's
// subkey "qlt".
std::string MakeEngineRegistryPath(const std::string& valueName);

// What every registry value record has, whatever its type.
class RegistryEntry {
public:
    const std::string& KeyPath() const { return path_.keyPath; }
    const std::string& ValueName() const { return path_.valueName; }
    // Whether a read found the value or a write stored it.
    bool IsPresent() const { return present_; }
    // Whether callers write the value even when it did not change.
    bool ForceWrite() const { return forceWrite_; }

protected:
    RegistryEntry(const std::string& path, bool forceWrite);

    RegistryPath path_;
    bool present_ = false;
    bool forceWrite_;
};

class RegistryDword : public RegistryEntry {
public:
    RegistryDword(const std::string& path, bool forceWrite, uint32_t defaultValue);

    // The stored value, or the default when the key or value is missing.
    uint32_t Read();
    // Stores the current value; false when the store could not be written.
    bool Write();

    uint32_t Value() const { return value_; }
    void SetValue(uint32_t value) { value_ = value; }
    uint32_t DefaultValue() const { return default_; }

private:
    uint32_t value_;
    uint32_t default_;
};

class RegistryString : public RegistryEntry {
public:
    RegistryString(const std::string& path, bool forceWrite, const std::string& defaultText);

    // The stored text, or the default when the key or value is missing.
    const std::string& Read();
    // Stores the current text; false when the store could not be written.
    bool Write();

    const std::string& Value() const { return text_; }
    void SetValue(const std::string& text) { text_ = text; }
    const std::string& DefaultValue() const { return default_; }

private:
    std::string text_;
    std::string default_;
};
