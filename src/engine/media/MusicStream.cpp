#include "engine/media/MusicStream.h"

#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/Ref.h"
#include "engine/media/SoundAvailable.h"

MusicStream::~MusicStream() {
    if (stream_ != 0 && IsSoundAvailable()) {
        platform::SoundMixer::Instance().StreamClose(stream_);
    }
}

bool MusicStream::LoadSyncPoints(const std::string& fileName) {
    // Sync points lie beside their music, which is always a loose file.
    const Ref<PropertyFile> file(new PropertyFile({fileName}));
    file->SetLoadMode(LoadMode::File);
    if (!file->Load()) {
        return false;
    }
    const PropertyVector& points = Property::VectorOf(Property::Child(file.Get(), "SyncPoints"));
    for (const Ref<Property>& entry : points.Items()) {
        if (entry->GetKind() != Property::kNode) {
            continue;
        }
        if (const Property* value = Property::Child(entry.Get(), "value")) {
            syncPoints_.push_back(Property::AsInt(value));
        }
    }
    return true;
}
