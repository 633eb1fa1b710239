#include "engine/media/Stream.h"

#include <cstdio>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Paths.h"
#include "engine/foundation/Property.h"
#include "platform/Files.h"

namespace {

const ClassRegistration registration("Stream", CreateFromProperty<Stream>);

float ScanFloat(const std::string& text) {
    float value = 0.0f;
    return std::sscanf(text.c_str(), "%f", &value) == 1 ? value : 0.0f;
}

bool ExistsOnDisk(const std::string& fileName) {
    return !fileName.empty() && platform::FileExists(GetCurrentFolder() + "/" + fileName);
}

}  // namespace

Stream::Stream(Property* definition) : Resource(definition) {
    if (const Property* syncPoints = Property::Child(definition, "syncpointsfile")) {
        syncPointsFile_ = Property::AsString(syncPoints);
    }
    if (const Property* multiplier = Property::Child(definition, "volumemultiplier")) {
        volumeMultiplier_ = ScanFloat(Property::AsString(multiplier));
    }
    if (const Property* panning = Property::Child(definition, "panning")) {
        panning_ = static_cast<uint8_t>(Property::AsInt(panning) & 0xFF);
    }
}

void Stream::Load() {
    stream_ = new MusicStream;
    if (ExistsOnDisk(FileName())) {
        stream_->SetFileName(FileName());
        stream_->SetVolumeMultiplier(volumeMultiplier_);
        stream_->SetPan(panning_);
        const std::string syncPoints = NormalizeMediaPath(syncPointsFile_);
        if (ExistsOnDisk(syncPoints)) {
            stream_->SetSyncPointsFileName(syncPoints);
            if (!stream_->LoadSyncPoints(syncPoints)) {
                ENGINE_LOG(1, "sync points \"%s\" could not be read", syncPoints.c_str());
                SetHasError(true);
            }
        }
    }
    SetLoaded();
}

void Stream::Unload() {
    stream_.Reset();
    Resource::Unload();
}

std::string Stream::Dump() const {
    return std::string("Object: ") + (stream_ ? "not 0" : "NULL") + "; FileName: " + FileName() +
           "; SyncPointsFileName: " + syncPointsFile_ + Resource::Dump();
}
