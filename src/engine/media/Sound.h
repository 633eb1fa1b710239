#pragma once

#include <string>

#include "engine/foundation/Ref.h"
#include "engine/foundation/Resource.h"
#include "engine/media/SoundSample.h"

// A sound effect resource. When the resource definitions ask for it, an Ogg
// Vorbis sound is converted once into a WAV file in the game's temp folder
// and played from there.
class Sound : public Resource {
    ENGINE_CLASS(Sound, Resource)

public:
    // Key "volumemultiplier" (default 255).
    explicit Sound(Property* definition);

    void Load() override;
    // The sample, with or without a loaded sound, once loaded.
    Object* GetData() override { return sample_.Get(); }
    void Unload() override;
    std::string Dump() const override;

    // The cache file of an Ogg sound: its escaped media path with "_new.wav".
    static std::string WavCacheName(const std::string& fileName);

private:
    // Decodes the Ogg file from disk and writes the cache file; false (with
    // a log line) when either fails.
    bool ConvertToWav(const std::string& cacheName) const;

    Ref<SoundSample> sample_;
    float volumeMultiplier_ = 255.0f;
};
