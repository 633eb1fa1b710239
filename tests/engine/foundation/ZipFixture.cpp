#include "ZipFixture.h"

#include <minizip/zip.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

#include "engine/foundation/Scrambler.h"

bool WriteZip(const std::string& path, const std::vector<ZipMember>& members) {
    zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    if (zip == nullptr) {
        return false;
    }
    bool ok = true;
    for (const ZipMember& member : members) {
        zip_fileinfo info{};
        const int method = member.deflated ? Z_DEFLATED : 0;
        ok = ok &&
             zipOpenNewFileInZip(zip, member.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method,
                                 Z_DEFAULT_COMPRESSION) == ZIP_OK &&
             zipWriteInFileInZip(zip, member.bytes.data(), static_cast<unsigned>(member.bytes.size())) == ZIP_OK &&
             zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

void WriteTestFile(const std::string& path, const std::string& bytes) {
    const std::filesystem::path target(path);
    if (target.has_parent_path()) {
        std::filesystem::create_directories(target.parent_path());
    }
    std::ofstream(target, std::ios::binary) << bytes;
}

std::string Scrambled(std::string bytes) {
    DescrambleBuffer(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size());
    return bytes;
}
