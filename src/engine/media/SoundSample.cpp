#include "engine/media/SoundSample.h"

#include <algorithm>
#include <cmath>

#include "engine/foundation/DataBuffer.h"
#include "engine/foundation/Logger.h"
#include "engine/media/SoundAvailable.h"

namespace {

// Rounds and clamps through a wide type, so that no value from data is ever
// narrowed out of range.
int VolumeByte(int volume, float multiplier) {
    const double scaled = std::round(static_cast<double>(volume) * static_cast<double>(multiplier));
    if (!(scaled > 0.0)) {
        return 0;
    }
    return scaled >= 255.0 ? 255 : static_cast<int>(scaled);
}

}  // namespace

SoundSample::~SoundSample() {
    Free();
}

void SoundSample::Free() {
    if (sample_ != 0 && IsSoundAvailable()) {
        platform::SoundMixer::Instance().SampleFree(sample_);
    }
    sample_ = 0;
}

int SoundSample::LoadSample(const std::string& path, uint32_t modeFlags, LoadMode loadMode) {
    if (!IsSoundAvailable()) {
        return 0;
    }
    Free();
    if (loadMode == LoadMode::Default) {
        loadMode = GetMediaArchive() != nullptr ? GetGlobalLoadMode() : LoadMode::File;
    }
    platform::SoundMixer& mixer = platform::SoundMixer::Instance();
    platform::SampleLoadFailure failure = platform::SampleLoadFailure::None;
    if (loadMode == LoadMode::File) {
        sample_ = mixer.SampleLoadFile(path, modeFlags, &failure);
    } else {
        DataBuffer buffer;
        if (!LoadFile(path, buffer, loadMode)) {
            sample_ = mixer.SampleLoadMemory(buffer.Bytes(), buffer.Count(), modeFlags | kLoadMemory, &failure);
        }
    }
    if (failure == platform::SampleLoadFailure::TooLarge) {
        ENGINE_LOG(1, "sound \"%s\" is refused: ready to play it would take over %zu MB", path.c_str(),
                   platform::kMaxSampleBytes >> 20);
    }
    return sample_ != 0 ? 0 : -1;
}

int32_t SoundSample::PlaySample(int volume, int pan, bool loop) const {
    if (!IsSoundAvailable()) {
        return -1;
    }
    const int v = VolumeByte(volume, volumeMultiplier_);
    pan = std::clamp(pan, 0, 255);
    if (sample_ == 0) {
        return -1;
    }
    platform::SoundMixer& mixer = platform::SoundMixer::Instance();
    mixer.SampleSetMode(sample_, loop ? platform::kSoundLoopNormal : platform::kSoundLoopOff);
    if (v == 255 && pan == 128) {
        return mixer.PlaySound(sample_, false);
    }
    const int32_t channel = mixer.PlaySound(sample_, true);
    if (channel != -1) {
        mixer.SetVolume(channel, v);
        mixer.SetPan(channel, pan);
        mixer.SetPaused(channel, false);
    }
    return channel;
}

uint32_t SoundSample::GetSampleLengthMs() const {
    if (!IsSoundAvailable()) {
        return 0;
    }
    const platform::SoundMixer& mixer = platform::SoundMixer::Instance();
    const uint32_t rate = static_cast<uint32_t>(mixer.OutputRate());
    return static_cast<uint32_t>(static_cast<uint64_t>(mixer.SampleLength(sample_)) * 1000u / rate);
}
