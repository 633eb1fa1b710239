#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

#include "engine/foundation/DataBuffer.h"
#include "engine/foundation/Object.h"

// Where a media file is read from. Default follows the media archive: the
// global load mode when an archive is set up, else loose files. The scrambled
// modes read the name with ".!" appended and descramble the bytes.
enum class LoadMode : int32_t {
    Default = 0,
    File = 1,
    Archive = 2,
    ScrambledFile = 3,
    ScrambledArchive = 4,
};

// The record of the archive's current member.
struct ArchiveMemberInfo {
    uint32_t version = 0;
    uint32_t versionNeeded = 0;
    uint32_t flag = 0;
    uint32_t compressionMethod = 0;
    uint32_t dosDate = 0;
    uint32_t crc = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    uint32_t internalAttributes = 0;
    uint32_t externalAttributes = 0;
    std::string name;
    std::string extraField;
    std::string comment;
};

// A read-only zip file with one current member. The zip file is opened on the
// first lookup and stays open; a read error closes it and the next lookup
// opens it again. The first lookup after opening walks the member directory
// once and keeps each name's place, so later lookups do not scan it. The
// step-by-step operations are for one thread at a time; ReadMember runs a
// whole lookup under the archive's own lock, so both threads may call it.
class Archive : public Object {
    ENGINE_CLASS(Archive, Object)

public:
    enum class ReadResult { Loaded, Missing, ReadError, Unavailable };

    explicit Archive(std::string fileName = "");
    ~Archive() override;
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    void SetFileName(const std::string& fileName);
    std::string GetFileName() const { return fileName_; }

    // False when the zip file cannot be opened (missing or not a zip).
    bool Open();
    void Close();

    bool GoToFirstFile();
    bool GoToNextFile();
    // Member names compare without regard to case.
    bool LocateFile(const std::string& name);
    bool OpenFile(const std::string& name);
    bool OpenCurrentFile();
    void CloseCurrentFile();
    const ArchiveMemberInfo& GetMemberInfo() const { return member_; }

    // The count of bytes read, or a negative error (which closes the archive).
    int Read(void* buffer, uint32_t count);
    // Reads the whole current member; false when a read fails or ends early,
    // and then the buffer is emptied.
    bool ReadAll(DataBuffer& buffer);
    bool IsEndOfFile() const;
    bool IsOpen() const { return open_; }
    bool IsFileOpen() const { return memberOpen_; }

    // Locates, opens, reads and closes one member under the archive's lock.
    // Unavailable: the zip file cannot be opened.
    ReadResult ReadMember(const std::string& name, DataBuffer& buffer);

private:
    // Where a member's record sits in the zip directory.
    struct MemberPlace {
        uint64_t directoryOffset = 0;
        uint64_t number = 0;
    };

    void ReadCurrentInfo();
    void BuildIndex();

    std::mutex lock_;
    void* zip_ = nullptr;
    std::string fileName_;
    bool open_ = false;
    bool memberOpen_ = false;
    bool reportedUnreadable_ = false;
    ArchiveMemberInfo member_;
    // Member names folded to lower case; the first of equal names wins.
    std::unordered_map<std::string, MemberPlace> index_;
    bool indexed_ = false;
};

// Sets up the media archive: "media.dat" in the current folder when present
// (the load mode then becomes Archive), else an archive of `fileName`, opened
// on first use. The global load mode becomes `mode`, or ScrambledArchive for
// Default. A "media.dat" that is not a readable zip is reported and ignored.
void OpenMediaArchive(LoadMode mode, const std::string& fileName);
// Releases the media archive (the last step of shutdown).
void CloseMediaArchive();
// The current media archive, or null; valid until the archive is opened
// again or closed. Opening and closing are safe while other threads load.
Archive* GetMediaArchive();
LoadMode GetGlobalLoadMode();

// The on-disk or in-archive name for `path`: ".!" appended in the scrambled
// modes. Default takes the global load mode when an archive is set up.
std::string MakeMediaFileName(LoadMode mode, const std::string& path);

// Fills `buffer` with the file's bytes. Returns false when the buffer now
// holds the file and true when nothing was loaded (missing, empty or
// unreadable). Archive modes never look on disk for a member the archive
// lacks; when the archive itself cannot be read they read loose files.
bool LoadFile(const std::string& path, DataBuffer& buffer, LoadMode mode);
