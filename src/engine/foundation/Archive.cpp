#include "engine/foundation/Archive.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include "engine/foundation/Logger.h"
#include "engine/foundation/Paths.h"
#include "engine/foundation/Ref.h"
#include "engine/foundation/Scrambler.h"
#include "platform/Files.h"

namespace {

constexpr uint32_t kReadChunk = 64 * 1024;
constexpr const char* kMediaArchiveName = "media.dat";

// The media archive and the global load mode.
struct MediaSetup {
    Ref<Archive> archive;
    LoadMode mode = LoadMode::File;
};

// The loader thread reads the setup while the main thread may open or
// replace the archive, so it goes through the lock; a reader keeps its own
// reference to the archive it uses.
struct MediaArchive {
    std::mutex lock;
    MediaSetup current;
};

MediaArchive& Media() {
    static MediaArchive media;
    return media;
}

MediaSetup TakeMediaSnapshot() {
    MediaArchive& media = Media();
    const std::lock_guard<std::mutex> guard(media.lock);
    return media.current;
}

void SetMedia(MediaSetup setup) {
    MediaArchive& media = Media();
    {
        const std::lock_guard<std::mutex> guard(media.lock);
        std::swap(media.current, setup);
    }
    // The previous archive closes outside the lock, once its last reader is done.
}

// Names compare with A to Z folded, as the zip library's own lookup without
// regard to case does.
std::string FoldCase(std::string name) {
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return name;
}

// The current member's record and its whole name: the zip library neither
// ends a name that fills its buffer nor finds one by name once cut short, so
// the buffer is made as long as the record says the name is.
bool CurrentMember(unzFile zip, unz_file_info64& info, std::string& name) {
    if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
        return false;
    }
    name.assign(info.size_filename, '\0');
    return unzGetCurrentFileInfo64(zip, &info, name.data(), name.size(), nullptr, 0, nullptr, 0) == UNZ_OK;
}

bool IsScrambled(LoadMode mode) {
    return mode == LoadMode::ScrambledFile || mode == LoadMode::ScrambledArchive;
}

// Default follows the archive's mode when an archive is set up.
LoadMode Effective(LoadMode mode, const MediaSetup& media) {
    if (mode != LoadMode::Default) {
        return mode;
    }
    return media.archive ? media.mode : LoadMode::File;
}

bool LoadLooseFile(const std::string& name, DataBuffer& buffer) {
    std::vector<uint8_t> bytes;
    if (!platform::ReadWholeFile(name, bytes) || bytes.empty()) {
        return false;
    }
    if (bytes.size() >= std::numeric_limits<uint32_t>::max()) {
        ENGINE_LOG(2, "File too large to load: %s", name.c_str());
        return false;
    }
    buffer.Assign(std::move(bytes));
    return true;
}

}  // namespace

Archive::Archive(std::string fileName) : fileName_(std::move(fileName)) {}

Archive::~Archive() {
    Close();
}

void Archive::SetFileName(const std::string& fileName) {
    Close();
    fileName_ = fileName;
    reportedUnreadable_ = false;
}

bool Archive::Open() {
    if (open_) {
        return true;
    }
    zip_ = unzOpen(fileName_.c_str());
    open_ = zip_ != nullptr;
    if (!open_ && !reportedUnreadable_ && platform::FileExists(fileName_)) {
        reportedUnreadable_ = true;
        ENGINE_LOG(3, "Archive %s is not a readable zip file; media files are read from disk instead",
                   fileName_.c_str());
    }
    return open_;
}

void Archive::Close() {
    if (!open_) {
        return;
    }
    if (memberOpen_) {
        memberOpen_ = false;
        unzCloseCurrentFile(zip_);
    }
    unzClose(zip_);
    zip_ = nullptr;
    open_ = false;
    index_.clear();
    indexed_ = false;
}

bool Archive::GoToFirstFile() {
    if (!open_ || unzGoToFirstFile(zip_) != UNZ_OK) {
        return false;
    }
    ReadCurrentInfo();
    return true;
}

bool Archive::GoToNextFile() {
    if (!open_ || unzGoToNextFile(zip_) != UNZ_OK) {
        return false;
    }
    ReadCurrentInfo();
    return true;
}

bool Archive::LocateFile(const std::string& name) {
    if (!Open()) {
        return false;
    }
    if (!indexed_) {
        BuildIndex();
    }
    const auto found = index_.find(FoldCase(NormalizeSlashes(name)));
    if (found == index_.end()) {
        return false;
    }
    const unz64_file_pos place{found->second.directoryOffset, found->second.number};
    if (unzGoToFilePos64(zip_, &place) != UNZ_OK) {
        return false;
    }
    ReadCurrentInfo();
    return true;
}

void Archive::BuildIndex() {
    index_.clear();
    indexed_ = true;
    // The walk leaves the current member where it was.
    unz64_file_pos current{};
    const bool hasCurrent = unzGetFilePos64(zip_, &current) == UNZ_OK;
    for (int status = unzGoToFirstFile(zip_); status == UNZ_OK; status = unzGoToNextFile(zip_)) {
        unz_file_info64 info{};
        std::string name;
        unz64_file_pos place{};
        if (!CurrentMember(zip_, info, name) || unzGetFilePos64(zip_, &place) != UNZ_OK) {
            break;
        }
        index_.try_emplace(FoldCase(std::move(name)), MemberPlace{place.pos_in_zip_directory, place.num_of_file});
    }
    if (hasCurrent) {
        unzGoToFilePos64(zip_, &current);
    }
}

bool Archive::OpenFile(const std::string& name) {
    return LocateFile(name) && OpenCurrentFile();
}

bool Archive::OpenCurrentFile() {
    if (!open_) {
        return false;
    }
    if (unzOpenCurrentFile(zip_) != UNZ_OK) {
        Close();
        return false;
    }
    memberOpen_ = true;
    return true;
}

void Archive::CloseCurrentFile() {
    if (!memberOpen_) {
        return;
    }
    memberOpen_ = false;
    if (unzCloseCurrentFile(zip_) != UNZ_OK) {
        Close();
    }
}

int Archive::Read(void* buffer, uint32_t count) {
    if (!memberOpen_) {
        return UNZ_PARAMERROR;
    }
    const int result = unzReadCurrentFile(zip_, buffer, count);
    if (result < 0) {
        Close();
    }
    return result;
}

bool Archive::ReadAll(DataBuffer& buffer) {
    // The size in the member record comes from the file, so the buffer grows
    // with what is really read rather than trusting it up front.
    const uint32_t expected = member_.uncompressedSize;
    std::vector<uint8_t> bytes;
    bytes.reserve(std::min(expected, 16 * kReadChunk));
    while (bytes.size() < expected) {
        const size_t offset = bytes.size();
        const uint32_t want = std::min<uint32_t>(kReadChunk, expected - static_cast<uint32_t>(offset));
        bytes.resize(offset + want);
        const int got = Read(bytes.data() + offset, want);
        if (got <= 0) {
            buffer.Clear();
            return false;
        }
        bytes.resize(offset + static_cast<size_t>(got));
    }
    buffer.Assign(std::move(bytes));
    return true;
}

bool Archive::IsEndOfFile() const {
    return memberOpen_ && unzeof(zip_) == 1;
}

Archive::ReadResult Archive::ReadMember(const std::string& name, DataBuffer& buffer) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!Open()) {
        return ReadResult::Unavailable;
    }
    if (!LocateFile(name)) {
        return ReadResult::Missing;
    }
    if (!OpenCurrentFile()) {
        return ReadResult::ReadError;
    }
    const bool read = ReadAll(buffer);
    // Closing checks the member's checksum once all of it has been read.
    const bool intact = memberOpen_ && unzCloseCurrentFile(zip_) == UNZ_OK;
    memberOpen_ = false;
    if (read && intact) {
        return ReadResult::Loaded;
    }
    Close();
    buffer.Clear();
    return ReadResult::ReadError;
}

void Archive::ReadCurrentInfo() {
    unz_file_info64 info{};
    std::string name;
    if (!CurrentMember(zip_, info, name)) {
        info = unz_file_info64{};
        name.clear();
    }
    member_.version = static_cast<uint32_t>(info.version);
    member_.versionNeeded = static_cast<uint32_t>(info.version_needed);
    member_.flag = static_cast<uint32_t>(info.flag);
    member_.compressionMethod = static_cast<uint32_t>(info.compression_method);
    member_.dosDate = static_cast<uint32_t>(info.dosDate);
    member_.crc = static_cast<uint32_t>(info.crc);
    member_.compressedSize = static_cast<uint32_t>(info.compressed_size);
    member_.uncompressedSize = static_cast<uint32_t>(info.uncompressed_size);
    member_.internalAttributes = static_cast<uint32_t>(info.internal_fa);
    member_.externalAttributes = static_cast<uint32_t>(info.external_fa);
    member_.name = std::move(name);
    member_.extraField.clear();
    member_.comment.clear();
}

void OpenMediaArchive(LoadMode mode, const std::string& fileName) {
    std::string name = fileName;
    if (platform::FileExists(kMediaArchiveName)) {
        Ref<Archive> probe(new Archive(kMediaArchiveName));
        if (probe->Open()) {
            name = kMediaArchiveName;
            mode = LoadMode::Archive;
        }
    }
    SetMedia(MediaSetup{new Archive(name), mode == LoadMode::Default ? LoadMode::ScrambledArchive : mode});
}

void CloseMediaArchive() {
    SetMedia(MediaSetup{});
}

Archive* GetMediaArchive() {
    return TakeMediaSnapshot().archive.Get();
}

LoadMode GetGlobalLoadMode() {
    return TakeMediaSnapshot().mode;
}

std::string MakeMediaFileName(LoadMode mode, const std::string& path) {
    return IsScrambled(Effective(mode, TakeMediaSnapshot())) ? path + ".!" : path;
}

bool LoadFile(const std::string& path, DataBuffer& buffer, LoadMode mode) {
    const MediaSetup media = TakeMediaSnapshot();
    mode = Effective(mode, media);
    const std::string name = IsScrambled(mode) ? NormalizeSlashes(path) + ".!" : NormalizeSlashes(path);
    bool loaded = false;
    if (mode == LoadMode::Archive || mode == LoadMode::ScrambledArchive) {
        const Archive::ReadResult result =
            media.archive ? media.archive->ReadMember(name, buffer) : Archive::ReadResult::Unavailable;
        if (result == Archive::ReadResult::ReadError) {
            ENGINE_LOG(3, "Archive member %s could not be read", name.c_str());
        }
        loaded = result == Archive::ReadResult::Loaded;
    } else {
        loaded = LoadLooseFile(name, buffer);
    }
    if (loaded && IsScrambled(mode)) {
        DescrambleBuffer(buffer.Bytes(), buffer.Count());
    }
    return !loaded;
}
