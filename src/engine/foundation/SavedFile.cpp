#include "engine/foundation/SavedFile.h"

#include <cstdint>
#include <vector>

#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyFile.h"
#include "platform/Directories.h"
#include "platform/Files.h"

SavedFileStatus LoadSavedFile(PropertyFile& file, const std::string& path, const std::string& rootName) {
    const std::string diskName = MakeMediaFileName(file.GetLoadMode(), path);
    if (!platform::PathExists(diskName)) {
        return SavedFileStatus::kAbsent;
    }
    std::vector<uint8_t> bytes;
    if (!platform::ReadWholeFile(diskName, bytes)) {
        ENGINE_LOG(2, "\"%s\" could not be read; it is left as it is, and nothing is saved over it this run",
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

void SaveSavedFile(const PropertyFile& file) {
    if (!file.Save()) {
        ENGINE_LOG(3, "Could not write \"%s\"; the previous file is kept",
                   MakeMediaFileName(file.GetLoadMode(), file.GetOutputFileName()).c_str());
    }
}
