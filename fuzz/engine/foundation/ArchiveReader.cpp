// Feeds arbitrary bytes to the archive reader as a zip file: every member is
// walked and read, and a member is looked up by name. Nothing may crash.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/foundation/Archive.h"

namespace {

constexpr int kMaxMembers = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path =
        (std::filesystem::temp_directory_path() / "wordrail-fuzz-archive.zip").string();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    Archive archive(path);
    if (!archive.Open()) {
        return 0;
    }
    DataBuffer buffer;
    bool more = archive.GoToFirstFile();
    for (int i = 0; more && i < kMaxMembers; ++i) {
        if (archive.OpenCurrentFile()) {
            archive.ReadAll(buffer);
            archive.CloseCurrentFile();
        }
        more = archive.IsOpen() && archive.GoToNextFile();
    }
    archive.ReadMember("Media/Properties\\resources.xml", buffer);
    return 0;
}
