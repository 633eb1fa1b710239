#include "engine/foundation/RegistryValues.h"

#include <algorithm>

#include "engine/foundation/Defines.h"
#include "platform/RegistryStore.h"

RegistryPath SplitRegistryPath(const std::string& path) {
    std::string normal = path;
    std::replace(normal.begin(), normal.end(), '/', '\\');
    if (!normal.empty() && normal.back() == '\\') {
        normal.pop_back();
    }
    const size_t separator = normal.rfind('\\');
    if (separator == std::string::npos || separator == 0) {
        return {std::string(), normal};
    }
    return {normal.substr(0, separator), normal.substr(separator + 1)};
}

std::string MakeGameRegistryPath() {
    return "Software\\Quelt\\Games\\" + GetGameId();
}

std::string MakeEngineRegistryPath(const std::string& valueName) {
    return MakeGameRegistryPath() + "\\qlt\\" + valueName;
}

RegistryEntry::RegistryEntry(const std::string& path, bool forceWrite)
    : path_(SplitRegistryPath(path)), forceWrite_(forceWrite) {}

RegistryDword::RegistryDword(const std::string& path, bool forceWrite, uint32_t defaultValue)
    : RegistryEntry(path, forceWrite), value_(defaultValue), default_(defaultValue) {}

uint32_t RegistryDword::Read() {
    platform::RegistryValue stored;
    if (platform::RegistryRead(path_.keyPath, path_.valueName, stored) &&
        stored.type == platform::RegistryType::Dword) {
        present_ = true;
        value_ = stored.dword;
    } else {
        value_ = default_;
    }
    return value_;
}

bool RegistryDword::Write() {
    platform::RegistryValue stored;
    stored.name = path_.valueName;
    stored.type = platform::RegistryType::Dword;
    stored.dword = value_;
    if (!platform::RegistryWrite(path_.keyPath, stored)) {
        return false;
    }
    present_ = true;
    return true;
}

RegistryString::RegistryString(const std::string& path, bool forceWrite, const std::string& defaultText)
    : RegistryEntry(path, forceWrite), text_(defaultText), default_(defaultText) {}

const std::string& RegistryString::Read() {
    platform::RegistryValue stored;
    if (platform::RegistryRead(path_.keyPath, path_.valueName, stored) &&
        stored.type == platform::RegistryType::String) {
        present_ = true;
        text_ = stored.text;
    } else {
        text_ = default_;
    }
    return text_;
}

bool RegistryString::Write() {
    platform::RegistryValue stored;
    stored.name = path_.valueName;
    stored.type = platform::RegistryType::String;
    stored.text = text_;
    if (!platform::RegistryWrite(path_.keyPath, stored)) {
        return false;
    }
    present_ = true;
    return true;
}
