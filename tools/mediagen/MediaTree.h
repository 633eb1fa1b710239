#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// Every generated file, by media path, held in memory until it is written as
// loose files and packed into the archive. Paths are lower case with "/".
class MediaTree {
public:
    // Adding a path twice is a fault of the manifest: it throws.
    void Add(const std::string& path, Bytes bytes);
    void Add(const std::string& path, const std::string& text);
    // Files the program always reads from disk; they stay out of the archive.
    void MarkLooseOnly(const std::string& path);

    bool Has(const std::string& path) const { return files_.count(path) != 0; }
    const Bytes& Get(const std::string& path) const;
    const std::map<std::string, Bytes>& Files() const { return files_; }
    bool IsLooseOnly(const std::string& path) const { return looseOnly_.count(path) != 0; }

    // Writes each file under `root` (only when its bytes differ, so file
    // times move only with content) and removes files under root/media that
    // are no longer generated.
    void WriteLoose(const std::string& root) const;
    // The zip archive: names sorted, fixed time stamps, deflated.
    void WriteArchive(const std::string& archivePath) const;

private:
    std::map<std::string, Bytes> files_;
    std::set<std::string> looseOnly_;
};
