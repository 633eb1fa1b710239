#include "platform/RegistryStore.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <mutex>
#include <optional>
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

// What a parse accepts: no line of ours comes near these, and a file beyond
// them (damaged, or not ours) must not take the start-up with it.
constexpr size_t kMaxLineBytes = 16384;
constexpr size_t kMaxEntries = 4096;

// Values in the order they were first written, found by their lower-case name.
struct RegistryKey {
    std::string path;
    std::vector<RegistryValue> values;
    std::map<std::string, size_t> index;
};

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), LowerAscii);
    return lower;
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

// The whole store in memory, keys found by their lower-case path. A parse is
// lenient: lines it cannot read are skipped and counted, so a damaged file
// loses only those lines.
class RegistryDocument {
public:
    // The number of lines dropped: unreadable, too long, or beyond the entry bound.
    size_t Parse(std::string_view content) {
        size_t dropped = 0;
        size_t entries = 0;
        RegistryKey* current = nullptr;
        if (content.substr(0, kHeader.size()) != kHeader) {
            ++dropped;
        }
        const size_t lastEnd = content.rfind('\n');
        if (lastEnd + 1 != content.size()) {
            // Cut short inside its last line, which is not trusted.
            content = content.substr(0, lastEnd == std::string_view::npos ? 0 : lastEnd + 1);
            ++dropped;
        }
        while (!content.empty()) {
            const size_t end = content.find('\n');
            std::string_view line = content.substr(0, end);
            content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            if (line.empty() || line.front() == ';') {
                continue;
            }
            if (line.size() > kMaxLineBytes || entries == kMaxEntries) {
                ++dropped;
                continue;
            }
            ++entries;
            if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
                current = &FindOrAddKey(std::string(line.substr(1, line.size() - 2)));
                continue;
            }
            RegistryValue value;
            if (current != nullptr && ParseValueLine(line, value)) {
                SetValue(*current, value);
            } else {
                ++dropped;
            }
        }
        return dropped;
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

    const RegistryKey* FindKey(const std::string& path) const {
        const auto found = index_.find(Lower(path));
        return found == index_.end() ? nullptr : &keys_[found->second];
    }

    static const RegistryValue* FindValue(const RegistryKey& key, const std::string& name) {
        const auto found = key.index.find(Lower(name));
        return found == key.index.end() ? nullptr : &key.values[found->second];
    }

    // A key exists once it or a key below it holds a value.
    bool KeyExists(const std::string& path) const {
        const std::string prefix = Lower(path) + "\\";
        const auto below = index_.lower_bound(prefix);
        return FindKey(path) != nullptr ||
               (below != index_.end() && below->first.compare(0, prefix.size(), prefix) == 0);
    }

    RegistryKey& FindOrAddKey(const std::string& path) {
        const auto [found, added] = index_.emplace(Lower(path), keys_.size());
        if (added) {
            keys_.push_back({path, {}, {}});
        }
        return keys_[found->second];
    }

    // The first spelling of a name stays.
    static void SetValue(RegistryKey& key, const RegistryValue& value) {
        const auto [found, added] = key.index.emplace(Lower(value.name), key.values.size());
        if (added) {
            key.values.push_back(value);
            return;
        }
        RegistryValue& stored = key.values[found->second];
        const std::string keptName = stored.name;
        stored = value;
        stored.name = keptName;
    }

    static void RemoveValue(RegistryKey& key, const std::string& name) {
        const auto found = key.index.find(Lower(name));
        if (found == key.index.end()) {
            return;
        }
        const size_t position = found->second;
        key.values.erase(key.values.begin() + static_cast<std::ptrdiff_t>(position));
        key.index.erase(found);
        for (auto& entry : key.index) {
            if (entry.second > position) {
                --entry.second;
            }
        }
    }

private:
    std::vector<RegistryKey> keys_;
    std::map<std::string, size_t> index_;
};

bool SameValue(const RegistryValue& a, const RegistryValue& b) {
    return a.type == b.type && (a.type == RegistryType::Dword ? a.dword == b.dword : a.text == b.text);
}

void MakeFolderChain(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        ::mkdir(path.substr(0, slash).c_str(), 0755);
    }
    ::mkdir(path.c_str(), 0755);
}

// The store of the process: its file is parsed once and kept in memory; it
// is read again only when another file stands at its path (another config
// folder, or the file replaced from outside).
class Store {
public:
    static Store& Instance() {
        static Store store;
        return store;
    }

    std::mutex& Mutex() { return mutex_; }

    // Under the mutex.
    RegistryDocument& Document() {
        const std::string path = RegistryFilePath();
        if (!loaded_ || path != report_.path || StampOf(path) != identity_) {
            Load(path);
        }
        return document_;
    }

    const RegistryLoadReport& Report() {
        Document();
        return report_;
    }

    // After Document.
    bool Writable() const { return report_.writable; }

    // Writes the document as it now stands; false leaves the file as it was.
    bool Save() {
        if (report_.path.empty()) {
            return false;
        }
        MakeFolderChain(report_.path.substr(0, report_.path.rfind('/')));
        const std::string content = document_.Serialize();
        if (!WriteFileAtomically(report_.path, content.data(), content.size())) {
            return false;
        }
        identity_ = StampOf(report_.path);
        return true;
    }

private:
    void Load(const std::string& path) {
        loaded_ = true;
        document_ = RegistryDocument();
        report_ = RegistryLoadReport();
        report_.path = path;
        identity_ = StampOf(path);
        std::vector<uint8_t> bytes;
        if (path.empty()) {
            report_.writable = false;
        } else if (!identity_.present && !PathExistsHere(path)) {
            report_.state = RegistryFileState::Absent;
        } else if (!ReadWholeFile(path, bytes)) {
            report_.state = RegistryFileState::Unreadable;
            report_.writable = false;
        } else {
            report_.droppedLines =
                document_.Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
            report_.state = report_.droppedLines > 0 ? RegistryFileState::Damaged : RegistryFileState::Read;
            if (report_.state == RegistryFileState::Damaged) {
                report_.keptCopy = KeepDamagedCopy(path);
                report_.writable = !report_.keptCopy.empty();
            }
        }
    }

    static bool PathExistsHere(const std::string& path) {
        struct stat info {};
        return ::lstat(path.c_str(), &info) == 0;
    }

    std::mutex mutex_;
    bool loaded_ = false;
    RegistryDocument document_;
    RegistryLoadReport report_;
    // Which file was read, so that a store file replaced from outside is read again.
    FileStamp identity_;
};

}  // namespace

std::string RegistryFilePath() {
    const std::string config = ConfigHomeFolder();
    return config.empty() ? config : config + "/Quelt/registry.txt";
}

bool RegistryRead(const std::string& keyPath, const std::string& name, RegistryValue& value) {
    Store& store = Store::Instance();
    std::lock_guard<std::mutex> lock(store.Mutex());
    const RegistryKey* key = store.Document().FindKey(keyPath);
    const RegistryValue* found = key != nullptr ? RegistryDocument::FindValue(*key, name) : nullptr;
    if (found == nullptr) {
        return false;
    }
    value = *found;
    return true;
}

bool RegistryWrite(const std::string& keyPath, const RegistryValue& value) {
    if (!IsValidKeyPath(keyPath)) {
        return false;
    }
    Store& store = Store::Instance();
    std::lock_guard<std::mutex> lock(store.Mutex());
    RegistryDocument& document = store.Document();
    if (!store.Writable()) {
        return false;
    }
    const RegistryKey* existing = document.FindKey(keyPath);
    const RegistryValue* old = existing != nullptr ? RegistryDocument::FindValue(*existing, value.name) : nullptr;
    if (old != nullptr && SameValue(*old, value)) {
        return true;
    }
    const std::optional<RegistryValue> previous = old != nullptr ? std::optional<RegistryValue>(*old) : std::nullopt;
    RegistryKey& key = document.FindOrAddKey(keyPath);
    RegistryDocument::SetValue(key, value);
    if (store.Save()) {
        return true;
    }
    // The file keeps its previous contents, and so does the store.
    if (previous) {
        RegistryDocument::SetValue(key, *previous);
    } else {
        RegistryDocument::RemoveValue(key, value.name);
    }
    return false;
}

bool RegistryListValues(const std::string& keyPath, std::vector<RegistryValue>& values) {
    Store& store = Store::Instance();
    std::lock_guard<std::mutex> lock(store.Mutex());
    const RegistryDocument& document = store.Document();
    values.clear();
    if (!document.KeyExists(keyPath)) {
        return false;
    }
    if (const RegistryKey* key = document.FindKey(keyPath)) {
        values = key->values;
    }
    return true;
}

RegistryLoadReport RegistryLoadState() {
    Store& store = Store::Instance();
    std::lock_guard<std::mutex> lock(store.Mutex());
    return store.Report();
}

}  // namespace platform
