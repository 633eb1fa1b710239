#include "mediagen/MediaTree.h"

#include <zip.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

Bytes ReadIfPresent(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return in ? Bytes(std::istreambuf_iterator<char>(in), {}) : Bytes();
}

void WriteFile(const fs::path& path, const Bytes& bytes) {
    fs::create_directories(path.parent_path());
    fs::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            throw std::runtime_error("cannot write " + temporary.string());
        }
    }
    fs::rename(temporary, path);
}

}  // namespace

void MediaTree::Add(const std::string& path, Bytes bytes) {
    if (!files_.emplace(path, std::move(bytes)).second) {
        throw std::logic_error("generated twice: " + path);
    }
}

void MediaTree::Add(const std::string& path, const std::string& text) { Add(path, Bytes(text.begin(), text.end())); }

void MediaTree::MarkLooseOnly(const std::string& path) { looseOnly_.insert(path); }

const Bytes& MediaTree::Get(const std::string& path) const {
    auto it = files_.find(path);
    if (it == files_.end()) {
        throw std::logic_error("not generated: " + path);
    }
    return it->second;
}

void MediaTree::WriteLoose(const std::string& root) const {
    for (const auto& [path, bytes] : files_) {
        const fs::path target = fs::path(root) / path;
        if (!fs::exists(target) || ReadIfPresent(target) != bytes) {
            WriteFile(target, bytes);
        }
    }
    const fs::path mediaRoot = fs::path(root) / "media";
    if (!fs::exists(mediaRoot)) {
        return;
    }
    std::vector<fs::path> stale;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(mediaRoot)) {
        if (entry.is_regular_file() && !Has(fs::relative(entry.path(), root).generic_string())) {
            stale.push_back(entry.path());
        }
    }
    for (const fs::path& path : stale) {
        fs::remove(path);
    }
}

void MediaTree::WriteArchive(const std::string& archivePath) const {
    const std::string temporary = archivePath + ".tmp";
    zipFile zip = zipOpen(temporary.c_str(), APPEND_STATUS_CREATE);
    if (zip == nullptr) {
        throw std::runtime_error("cannot create " + temporary);
    }
    bool ok = true;
    for (const auto& [path, bytes] : files_) {  // a std::map: names in byte order
        if (IsLooseOnly(path)) {
            continue;
        }
        zip_fileinfo info{};
        info.tmz_date.tm_mday = 1;  // 1980-01-01 00:00, the earliest zip time
        info.tmz_date.tm_year = 1980;
        ok = ok && zipOpenNewFileInZip(zip, path.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                       Z_BEST_COMPRESSION) == ZIP_OK;
        ok = ok && zipWriteInFileInZip(zip, bytes.data(), static_cast<unsigned>(bytes.size())) == ZIP_OK;
        ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
    }
    ok = zipClose(zip, nullptr) == ZIP_OK && ok;
    if (!ok) {
        fs::remove(temporary);
        throw std::runtime_error("cannot write " + archivePath);
    }
    fs::rename(temporary, archivePath);
}
