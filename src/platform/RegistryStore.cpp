#include "platform/RegistryStore.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <string_view>

#include "platform/Files.h"
#include "platform/UserFolders.h"

namespace platform {
namespace {

// The file format, one item per line:
//   ; comment
//   [Key\Path]
//   "name"=dword:0000001f
//   "name"="text with \\, \" and \xhh escapes"
constexpr std::string_view kHeader = "; registry store v1\n";

struct RegistryKey {
    std::string path;
    std::vector<RegistryValue> values;
};

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

bool IsValidKeyPath(const std::string& path) {
    return std::none_of(path.begin(), path.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F || c == ']';
    });
}

std::string Quote(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = LowerAscii(c);
    return (c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
}

// Reads a quoted text at the start of `line`; advances `line` past it.
bool Unquote(std::string_view& line, std::string& text) {
    if (line.empty() || line.front() != '"') {
        return false;
    }
    text.clear();
    size_t i = 1;
    while (i < line.size() && line[i] != '"') {
        if (line[i] != '\\') {
            text += line[i++];
            continue;
        }
        if (i + 1 >= line.size()) {
            return false;
        }
        if (line[i + 1] != 'x') {
            text += line[i + 1];
            i += 2;
            continue;
        }
        if (i + 3 >= line.size() || HexDigit(line[i + 2]) < 0 || HexDigit(line[i + 3]) < 0) {
            return false;
        }
        text += static_cast<char>(HexDigit(line[i + 2]) * 16 + HexDigit(line[i + 3]));
        i += 4;
    }
    if (i >= line.size()) {
        return false;
    }
    line.remove_prefix(i + 1);
    return true;
}

bool ParseValueLine(std::string_view line, RegistryValue& value) {
    if (!Unquote(line, value.name) || line.empty() || line.front() != '=') {
        return false;
    }
    line.remove_prefix(1);
    constexpr std::string_view kDword = "dword:";
    if (line.substr(0, kDword.size()) == kDword) {
        line.remove_prefix(kDword.size());
        if (line.empty() || line.size() > 8) {
            return false;
        }
        uint32_t number = 0;
        for (char c : line) {
            const int digit = HexDigit(c);
            if (digit < 0) {
                return false;
            }
            number = number * 16 + static_cast<uint32_t>(digit);
        }
        value.type = RegistryType::Dword;
        value.dword = number;
        return true;
    }
    value.type = RegistryType::String;
    return Unquote(line, value.text) && line.empty();
}

// The whole store in memory, parsed leniently: lines it cannot read are
// skipped, so a damaged file loses only those lines.
class RegistryDocument {
public:
    void Parse(std::string_view content) {
        RegistryKey* current = nullptr;
        while (!content.empty()) {
            const size_t end = content.find('\n');
            std::string_view line = content.substr(0, end);
            content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
                current = &FindOrAddKey(std::string(line.substr(1, line.size() - 2)));
                continue;
            }
            RegistryValue value;
            if (current != nullptr && ParseValueLine(line, value)) {
                SetValue(*current, value);
            }
        }
    }

    std::string Serialize() const {
        std::string content(kHeader);
        for (const RegistryKey& key : keys_) {
            content += "[" + key.path + "]\n";
            for (const RegistryValue& value : key.values) {
                content += Quote(value.name) + "=";
                if (value.type == RegistryType::Dword) {
                    char number[16];
                    std::snprintf(number, sizeof number, "dword:%08x", value.dword);
                    content += number;
                } else {
                    content += Quote(value.text);
                }
                content += "\n";
            }
        }
        return content;
    }

    const RegistryKey* FindKey(const std::string& path) const { return FindIn(keys_, path); }

    bool KeyExists(const std::string& path) const {
        const std::string prefix = path + "\\";
        return FindKey(path) != nullptr || std::any_of(keys_.begin(), keys_.end(), [&](const RegistryKey& key) {
                   return EqualNoCase(std::string_view(key.path).substr(0, prefix.size()), prefix);
               });
    }

    RegistryKey& FindOrAddKey(const std::string& path) {
        if (RegistryKey* found = FindIn(keys_, path)) {
            return *found;
        }
        keys_.push_back({path, {}});
        return keys_.back();
    }

    static void SetValue(RegistryKey& key, const RegistryValue& value) {
        const auto found = std::find_if(key.values.begin(), key.values.end(),
                                        [&](const RegistryValue& v) { return EqualNoCase(v.name, value.name); });
        if (found == key.values.end()) {
            key.values.push_back(value);
        } else {
            const std::string keptName = found->name;
            *found = value;
            found->name = keptName;
        }
    }

private:
    template <typename Keys>
    static auto FindIn(Keys& keys, const std::string& path) -> decltype(&keys.front()) {
        const auto found = std::find_if(keys.begin(), keys.end(),
                                        [&](const RegistryKey& key) { return EqualNoCase(key.path, path); });
        return found == keys.end() ? nullptr : &*found;
    }

    std::vector<RegistryKey> keys_;
};

std::mutex& StoreMutex() {
    static std::mutex mutex;
    return mutex;
}

RegistryDocument LoadDocument() {
    RegistryDocument document;
    std::vector<uint8_t> bytes;
    const std::string path = RegistryFilePath();
    if (!path.empty() && ReadWholeFile(path, bytes)) {
        document.Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    return document;
}

void MakeFolderChain(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        ::mkdir(path.substr(0, slash).c_str(), 0755);
    }
    ::mkdir(path.c_str(), 0755);
}

}  // namespace

std::string RegistryFilePath() {
    const std::string config = ConfigHomeFolder();
    return config.empty() ? config : config + "/Quelt/registry.txt";
}

bool RegistryRead(const std::string& keyPath, const std::string& name, RegistryValue& value) {
    std::lock_guard<std::mutex> lock(StoreMutex());
    const RegistryDocument document = LoadDocument();
    const RegistryKey* key = document.FindKey(keyPath);
    if (key == nullptr) {
        return false;
    }
    const auto found = std::find_if(key->values.begin(), key->values.end(),
                                    [&](const RegistryValue& v) { return EqualNoCase(v.name, name); });
    if (found == key->values.end()) {
        return false;
    }
    value = *found;
    return true;
}

bool RegistryWrite(const std::string& keyPath, const RegistryValue& value) {
    const std::string path = RegistryFilePath();
    if (path.empty() || !IsValidKeyPath(keyPath)) {
        return false;
    }
    std::lock_guard<std::mutex> lock(StoreMutex());
    RegistryDocument document = LoadDocument();
    RegistryDocument::SetValue(document.FindOrAddKey(keyPath), value);
    MakeFolderChain(path.substr(0, path.rfind('/')));
    const std::string content = document.Serialize();
    return WriteFileAtomically(path, content.data(), content.size());
}

bool RegistryListValues(const std::string& keyPath, std::vector<RegistryValue>& values) {
    std::lock_guard<std::mutex> lock(StoreMutex());
    const RegistryDocument document = LoadDocument();
    values.clear();
    if (!document.KeyExists(keyPath)) {
        return false;
    }
    if (const RegistryKey* key = document.FindKey(keyPath)) {
        values = key->values;
    }
    return true;
}

}  // namespace platform
