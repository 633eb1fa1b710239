#pragma once

#include <cstdint>
#include <string>

#include "engine/foundation/Ref.h"
#include "engine/foundation/Resource.h"
#include "engine/media/MusicStream.h"

// A music resource: a loose file played as a stream, with its sync points.
// Streams are never read from the archive.
class Stream : public Resource {
    ENGINE_CLASS(Stream, Resource)

public:
    // Keys "syncpointsfile", "volumemultiplier" (default 1) and "panning" (128).
    explicit Stream(Property* definition);

    void Load() override;
    Object* GetData() override { return stream_.Get(); }
    void Unload() override;
    std::string Dump() const override;

private:
    Ref<MusicStream> stream_;
    std::string syncPointsFile_;
    float volumeMultiplier_ = 1.0f;
    uint8_t panning_ = 128;
};
