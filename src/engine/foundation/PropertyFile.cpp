#include "engine/foundation/PropertyFile.h"

#include "engine/foundation/DataBuffer.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyXml.h"
#include "engine/foundation/Ref.h"
#include "engine/foundation/Scrambler.h"
#include "platform/Files.h"

namespace {

// Default follows the media archive when one is set up, else loose files.
LoadMode ResolveLoadMode(LoadMode mode) {
    if (mode != LoadMode::Default) {
        return mode;
    }
    return GetMediaArchive() != nullptr ? GetGlobalLoadMode() : LoadMode::File;
}

bool IsScrambled(LoadMode mode) {
    return mode == LoadMode::ScrambledFile || mode == LoadMode::ScrambledArchive;
}

}  // namespace

PropertyFile::PropertyFile(std::vector<std::string> fileNames)
    : PropertyNode("", "root"), fileNames_(std::move(fileNames)) {}

bool PropertyFile::Load() {
    bool allLoaded = true;
    for (const std::string& fileName : fileNames_) {
        allLoaded = LoadOne(fileName) && allLoaded;
    }
    return allLoaded;
}

bool PropertyFile::LoadOne(const std::string& fileName) {
    Ref<DataBuffer> buffer(new DataBuffer());
    if (LoadFile(fileName, *buffer, loadMode_)) {
        ENGINE_LOG(2, "Property file %s could not be read", fileName.c_str());
        return false;
    }
    return LoadFromMemory(buffer->Text(), buffer->Count(), fileName);
}

bool PropertyFile::CanLoad(const std::string& fileName) const {
    Ref<DataBuffer> buffer(new DataBuffer());
    if (LoadFile(fileName, *buffer, loadMode_)) {
        return false;
    }
    Ref<PropertyNode> scratch(new PropertyNode("", "root"));
    return ReadPropertyXml(buffer->Text(), buffer->Count(), condenseWhiteSpace_, *scratch, fileName);
}

bool PropertyFile::LoadFromMemory(const char* bytes, size_t size, const std::string& sourceName) {
    // Parsed aside first, so a document that fails adds nothing at all.
    Ref<PropertyNode> parsed(new PropertyNode("", "root"));
    if (!ReadPropertyXml(bytes, size, condenseWhiteSpace_, *parsed, sourceName)) {
        return false;
    }
    for (const Ref<Property>& property : parsed->IndexOrder()) {
        Add(property.Get());
    }
    return true;
}

bool PropertyFile::Save(std::string* whyNot) const {
    platform::FileBatch batch;
    if (!Stage(batch, whyNot)) {
        return false;
    }
    const std::vector<platform::FileBatch::Failure> failures = batch.Commit();
    if (!failures.empty()) {
        ENGINE_LOG(3, "Property file %s could not be put in place (%s); the previous file is kept",
                   failures.front().path.c_str(), failures.front().why.c_str());
        if (whyNot != nullptr) {
            *whyNot = failures.front().why;
        }
        return false;
    }
    GrantEveryoneAccess(StoredFileName());
    return true;
}

bool PropertyFile::Stage(platform::FileBatch& batch, std::string* whyNot) const {
    if (outputFileName_.empty()) {
        ENGINE_LOG(3, "Property file has no output file name");
        if (whyNot != nullptr) {
            *whyNot = "it has no file name";
        }
        return false;
    }
    const std::string path = StoredFileName();
    std::string bytes = WritePropertyXml(*this);
    if (IsScrambled(ResolveLoadMode(loadMode_))) {
        DescrambleBuffer(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size());
    }
    std::string reason;
    if (!batch.Stage(path, bytes.data(), bytes.size(), &reason)) {
        ENGINE_LOG(3, "Property file %s could not be written (%s); the previous file is kept", path.c_str(),
                   reason.c_str());
        if (whyNot != nullptr) {
            *whyNot = reason;
        }
        return false;
    }
    return true;
}

std::string PropertyFile::StoredFileName() const {
    return MakeMediaFileName(ResolveLoadMode(loadMode_), outputFileName_);
}
