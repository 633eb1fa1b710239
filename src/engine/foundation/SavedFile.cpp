#include "engine/foundation/SavedFile.h"

#include <atomic>
#include <cstdint>
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

}  // namespace

SavedFileStatus LoadSavedFile(PropertyFile& file, const std::string& path, const std::string& rootName) {
    const std::string diskName = MakeMediaFileName(file.GetLoadMode(), path);
    if (!platform::PathExists(diskName)) {
        return SavedFileStatus::kAbsent;
    }
    std::vector<uint8_t> bytes;
    if (!platform::ReadWholeFile(diskName, bytes)) {
        ENGINE_LOG(2, "\"%s\" could not be read or is not a file; it is left as it is, and nothing is saved over it "
                   "this run",
                   diskName.c_str());
        return SavedFileStatus::kUnreadable;
    }
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
    const std::string diskName = MakeMediaFileName(file.GetLoadMode(), file.GetOutputFileName());
    std::string why;
    if (platform::PathExists(diskName) && !platform::FileExists(diskName)) {
        why = "something that is not a file stands in its place, and it is left as it is";
    } else if (file.Save(&why)) {
        return true;
    }
    ENGINE_LOG(3, "Could not write \"%s\" (%s); the previous file is kept", diskName.c_str(), why.c_str());
    ReportSaveFailure(what, diskName, why);
    return false;
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
}
