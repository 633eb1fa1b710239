#include "engine/foundation/SavedFile.h"

#include <cstdint>
#include <vector>

#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyFile.h"
#include "platform/Files.h"

SavedFileStatus LoadSavedFile(PropertyFile& file, const std::string& path, const std::string& rootName) {
    const std::string diskName = MakeMediaFileName(file.GetLoadMode(), path);
    if (!platform::FileExists(diskName)) {
        return SavedFileStatus::kAbsent;
    }
    const bool parsed = file.LoadOne(path);
    const Property* root = Property::Child(&file, rootName);
    if (parsed && (rootName.empty() || (root != nullptr && root->GetKind() == Property::kNode))) {
        return SavedFileStatus::kLoaded;
    }
    ENGINE_LOG(3, "\"%s\" is %s; it is ignored and kept as \"%s.damaged\"", diskName.c_str(),
               parsed ? "not one of ours" : "damaged", diskName.c_str());
    KeepDamagedCopy(path, file.GetLoadMode());
    return SavedFileStatus::kDamaged;
}

void KeepDamagedCopy(const std::string& path, LoadMode loadMode) {
    const std::string diskName = MakeMediaFileName(loadMode, path);
    std::vector<uint8_t> bytes;
    if (!platform::ReadWholeFile(diskName, bytes) ||
        !platform::WriteFileAtomically(diskName + ".damaged", bytes.data(), bytes.size())) {
        ENGINE_LOG(3, "Could not keep a copy of \"%s\"", diskName.c_str());
    }
}

void SaveSavedFile(const PropertyFile& file) {
    if (!file.Save()) {
        ENGINE_LOG(3, "Could not write \"%s\"; the previous file is kept",
                   MakeMediaFileName(file.GetLoadMode(), file.GetOutputFileName()).c_str());
    }
}
