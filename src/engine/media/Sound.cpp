#include "engine/media/Sound.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Paths.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/SectionManager.h"
#include "engine/media/SoundAvailable.h"
#include "engine/media/WavCacheFile.h"
#include "platform/Directories.h"
#include "platform/Files.h"
#include "platform/SampleDecoding.h"
#include "platform/SoundMixer.h"

namespace {

const ClassRegistration registration("Sound", CreateFromProperty<Sound>);

// Text that does not scan as a number gives 0.
float ScanFloat(const std::string& text) {
    float value = 0.0f;
    return std::sscanf(text.c_str(), "%f", &value) == 1 ? value : 0.0f;
}

// Only a loose Ogg file is converted: one inside the archive is played as it
// is, which is no failure.
bool ConversionWanted(const std::string& fileName) {
    SectionManager* sections = SectionManager::Instance();
    return sections != nullptr && sections->OggToWav() && GetFileExtension(fileName) == "ogg" &&
           platform::FileExists(fileName);
}

}  // namespace

Sound::Sound(Property* definition) : Resource(definition) {
    if (const Property* multiplier = Property::Child(definition, "volumemultiplier")) {
        volumeMultiplier_ = ScanFloat(Property::AsString(multiplier));
    }
}

std::string Sound::WavCacheName(const std::string& fileName) {
    // The whole media path names the cache, so sounds of one name in two
    // folders keep apart.
    return GetGameTempFolder() + "/" + EscapeFileName(RemoveFileExtension(fileName), false) + "_new.wav";
}

bool Sound::ConvertToWav(const std::string& cacheName) const {
    std::vector<uint8_t> bytes;
    platform::Pcm pcm;
    if (!platform::ReadWholeFile(FileName(), bytes)) {
        ENGINE_LOG(1, "sound \"%s\" could not be read for its WAV cache", FileName().c_str());
        return false;
    }
    switch (platform::DecodeOggSample(std::move(bytes), platform::SoundMixer::Instance().OutputRate(), pcm)) {
        case platform::SampleDecodeResult::Undecodable:
            ENGINE_LOG(1, "sound \"%s\" is no Ogg Vorbis file it can decode; no WAV cache is made", FileName().c_str());
            return false;
        case platform::SampleDecodeResult::TooLarge:
            ENGINE_LOG(1, "sound \"%s\" is refused: ready to play it would take over %zu MB", FileName().c_str(),
                       platform::kMaxSampleBytes >> 20);
            return false;
        case platform::SampleDecodeResult::Decoded:
            break;
    }
    uint64_t sourceTime = 0;
    if (!platform::LastWriteFileTime(FileName(), sourceTime)) {
        sourceTime = 0;
    }
    const std::vector<uint8_t> file = BuildWavCacheFile(pcm, sourceTime);
    MakeDirectoryChain(GetGameTempFolder());
    if (!platform::WriteFileAtomically(cacheName, file.data(), file.size())) {
        ENGINE_LOG(1, "sound cache \"%s\" could not be written", cacheName.c_str());
        return false;
    }
    return true;
}

void Sound::Load() {
    sample_ = new SoundSample;
    sample_->SetVolumeMultiplier(volumeMultiplier_);
    std::string source = FileName();
    LoadMode mode = GetLoadMode();
    bool error = false;
    if (ConversionWanted(FileName())) {
        const std::string cacheName = WavCacheName(FileName());
        if (platform::FileExists(cacheName) && platform::FileSize(cacheName) == 0) {
            platform::RemoveFile(cacheName);
        }
        if (!platform::FileExists(cacheName) && IsSoundAvailable() &&
            platform::SoundMixer::Instance().HasOutputDevice()) {
            error = !ConvertToWav(cacheName);
        }
        if (!error) {
            source = cacheName;
            mode = LoadMode::File;
        }
    }
    if (sample_->LoadSample(source, SoundSample::kModeFlags, mode) != 0) {
        error = true;
        // A cache that does not play falls back to the sound as declared.
        if (source != FileName() && sample_->LoadSample(FileName(), SoundSample::kModeFlags, GetLoadMode()) == 0) {
            error = false;
        }
    }
    if (IsSoundAvailable() && sample_->Handle() == 0) {
        ENGINE_LOG(1, "sound \"%s\" could not be loaded", FileName().c_str());
    }
    SetHasError(error);
    SetLoaded();
}

void Sound::Unload() {
    sample_.Reset();
    Resource::Unload();
}

std::string Sound::Dump() const {
    const float shown = std::isfinite(volumeMultiplier_) ? std::clamp(volumeMultiplier_, -2.0e9f, 2.0e9f) : 0.0f;
    char line[128];
    std::snprintf(line, sizeof line, "Object: %s; Volume: %d; ", sample_ ? "not 0" : "NULL", static_cast<int>(shown));
    return line + Resource::Dump();
}
