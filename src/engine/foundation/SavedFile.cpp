#include "engine/foundation/SavedFile.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyFile.h"
#include "platform/CodePage.h"
#include "platform/Directories.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"

namespace {

std::atomic<bool>& SaveFailureReported() {
    static std::atomic<bool> reported{false};
    return reported;
}

std::atomic<bool>& ChangeReported() {
    static std::atomic<bool> reported{false};
    return reported;
}

// By name on disk: the file as this run last read or wrote it.
class KnownStamps {
public:
    static KnownStamps& Instance() {
        static KnownStamps stamps;
        return stamps;
    }

    void Note(const std::string& diskName) {
        const platform::FileStamp stamp = platform::StampOf(diskName);
        std::lock_guard<std::mutex> lock(mutex_);
        stamps_[diskName] = stamp;
    }

    // Whether something other than this run put another file there since.
    bool ChangedFromOutside(const std::string& diskName) {
        const platform::FileStamp now = platform::StampOf(diskName);
        std::lock_guard<std::mutex> lock(mutex_);
        const auto known = stamps_.find(diskName);
        return known != stamps_.end() && now.present && now != known->second;
    }

private:
    std::mutex mutex_;
    std::map<std::string, platform::FileStamp> stamps_;
};

// The batch a SaveBatch keeps open on this thread, with what each staged
// file is for the player.
struct OpenSave {
    platform::FileBatch files;
    std::map<std::string, std::string> whatByName;
};

std::unique_ptr<OpenSave>& OpenSaveOfThisThread() {
    thread_local std::unique_ptr<OpenSave> open;
    return open;
}

void ReportFailedWrite(const std::string& what, const std::string& diskName, const std::string& why) {
    ENGINE_LOG(3, "Could not write \"%s\" (%s); the previous file is kept", diskName.c_str(), why.c_str());
    ReportSaveFailure(what, diskName, why);
}

void ReportChangedFile(const std::string& what, const std::string& diskName, const std::string& copy) {
    ENGINE_LOG(2, "\"%s\" was changed by something else since this run read or wrote it; it is kept as \"%s\"",
               diskName.c_str(), copy.c_str());
    if (ChangeReported().exchange(true)) {
        return;
    }
    platform::MessageBox(0,
                         "Something else changed " + what + " since the game last read or saved it.\n\n"
                         "That version is kept as: " + platform::Utf8ToCp1252(copy, '?') +
                             "\n\nYour progress is saved in its place. Later changes found in this run are written "
                             "to the log only.",
                         "Warning", platform::MB_OK | platform::MB_ICONWARNING);
}

// Why the file at `diskName` may not be replaced; empty when it may. A file
// changed from outside is copied aside first.
std::string WhyNotReplaceable(const std::string& what, const std::string& diskName) {
    if (!platform::PathExists(diskName)) {
        return {};
    }
    std::vector<uint8_t> bytes;
    if (!platform::FileExists(diskName)) {
        return "something that is not a file stands in its place, and it is left as it is";
    }
    if (!platform::ReadWholeFile(diskName, bytes)) {
        return "the file there cannot be read, so it is left as it is";
    }
    if (!KnownStamps::Instance().ChangedFromOutside(diskName)) {
        return {};
    }
    const std::string copy = platform::KeepNumberedCopy(diskName, "changed");
    if (copy.empty()) {
        return "something else changed it since the game read it, and no copy of it could be kept, so it is left as "
               "it is";
    }
    ReportChangedFile(what, diskName, copy);
    return {};
}

}  // namespace

SavedFileStatus LoadSavedFile(PropertyFile& file, const std::string& path, const std::string& rootName) {
    const std::string diskName = MakeMediaFileName(file.GetLoadMode(), path);
    if (!platform::PathExists(diskName)) {
        KnownStamps::Instance().Note(diskName);
        return SavedFileStatus::kAbsent;
    }
    std::vector<uint8_t> bytes;
    if (!platform::ReadWholeFile(diskName, bytes)) {
        ENGINE_LOG(2, "\"%s\" could not be read or is not a file; it is left as it is, and nothing is saved over it "
                   "this run",
                   diskName.c_str());
        return SavedFileStatus::kUnreadable;
    }
    KnownStamps::Instance().Note(diskName);
    const bool parsed = file.LoadOne(path);
    const Property* root = Property::Child(&file, rootName);
    if (parsed && (rootName.empty() || (root != nullptr && root->GetKind() == Property::kNode))) {
        return SavedFileStatus::kLoaded;
    }
    ENGINE_LOG(3, "\"%s\" is %s; it is ignored", diskName.c_str(), parsed ? "not one of ours" : "damaged");
    return KeepDamagedCopy(path, file.GetLoadMode()) ? SavedFileStatus::kDamaged : SavedFileStatus::kUnreadable;
}

bool KeepDamagedCopy(const std::string& path, LoadMode loadMode) {
    const std::string diskName = MakeMediaFileName(loadMode, path);
    const std::string copy = platform::KeepDamagedCopy(diskName);
    if (copy.empty()) {
        ENGINE_LOG(2, "No copy of \"%s\" could be kept; it is left as it is, and nothing is saved over it this run",
                   diskName.c_str());
        return false;
    }
    ENGINE_LOG(3, "\"%s\" is kept as \"%s\"", diskName.c_str(), copy.c_str());
    return true;
}

void SetAsideDamaged(const std::string& path, LoadMode loadMode) {
    const std::string diskName = MakeMediaFileName(loadMode, path);
    if (!platform::PathExists(diskName)) {
        return;
    }
    const std::string aside = platform::MoveAsideAsDamaged(diskName);
    if (aside.empty()) {
        ENGINE_LOG(2, "\"%s\" could not be set aside; it is left as it is", diskName.c_str());
        return;
    }
    ENGINE_LOG(2, "\"%s\" is set aside as \"%s\"", diskName.c_str(), aside.c_str());
}

bool SaveSavedFile(const PropertyFile& file, const std::string& what) {
    const std::string diskName = file.StoredFileName();
    std::string why = WhyNotReplaceable(what, diskName);
    if (!why.empty()) {
        ReportFailedWrite(what, diskName, why);
        return false;
    }
    if (OpenSave* open = OpenSaveOfThisThread().get()) {
        if (!file.Stage(open->files, &why)) {
            ReportFailedWrite(what, diskName, why);
            return false;
        }
        open->whatByName[diskName] = what;
        return true;
    }
    if (!file.Save(&why)) {
        ReportFailedWrite(what, diskName, why);
        return false;
    }
    KnownStamps::Instance().Note(diskName);
    return true;
}

SaveBatch::SaveBatch() : opened_(!OpenSaveOfThisThread()) {
    if (opened_) {
        OpenSaveOfThisThread() = std::make_unique<OpenSave>();
    }
}

SaveBatch::~SaveBatch() {
    if (!opened_) {
        return;
    }
    const std::unique_ptr<OpenSave> open = std::move(OpenSaveOfThisThread());
    const std::vector<platform::FileBatch::Failure> failures = open->files.Commit();
    for (const platform::FileBatch::Failure& failure : failures) {
        ReportFailedWrite(open->whatByName[failure.path], failure.path, failure.why);
        open->whatByName.erase(failure.path);
    }
    for (const auto& [diskName, what] : open->whatByName) {
        KnownStamps::Instance().Note(diskName);
    }
}

void ReportSaveFailure(const std::string& what, const std::string& path, const std::string& why) {
    if (SaveFailureReported().exchange(true)) {
        return;
    }
    // The message box takes Windows-1252 text; the path is UTF-8 on disk.
    platform::MessageBox(0,
                         "Your progress could not be saved: " + what + " could not be written.\n\nFile: " +
                             platform::Utf8ToCp1252(path, '?') + "\nReason: " + platform::Utf8ToCp1252(why, '?') +
                             ".\n\nThe file as it was last saved is kept. Later failures of this run are written "
                             "to the log only.",
                         "Error", platform::MB_OK | platform::MB_ICONERROR);
}

void ReportKeptUnreadable(const std::string& what, const std::string& path, LoadMode loadMode) {
    ReportSaveFailure(what, MakeMediaFileName(loadMode, path),
                      "it could not be read at start-up, so it is left as it is and not saved over this run");
}

void ForgetReportedSaveFailureForTesting() {
    SaveFailureReported() = false;
    ChangeReported() = false;
}
