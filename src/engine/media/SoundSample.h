#pragma once

#include <cstdint>
#include <string>

#include "engine/foundation/Archive.h"
#include "engine/foundation/Object.h"
#include "platform/SoundMixer.h"

// One loaded sound effect, played on a free channel with a volume and a pan.
class SoundSample : public Object {
    ENGINE_CLASS(SoundSample, Object)

public:
    // Sample mode bits the sound resource passes: 16 bits, mono, signed.
    static constexpr uint32_t kModeFlags = 0x130;
    static constexpr uint32_t kLoadMemory = 0x8000;

    SoundSample() = default;
    SoundSample(const SoundSample&) = delete;
    SoundSample& operator=(const SoundSample&) = delete;
    ~SoundSample() override;

    platform::SoundSampleId Handle() const { return sample_; }
    float VolumeMultiplier() const { return volumeMultiplier_; }
    void SetVolumeMultiplier(float multiplier) { volumeMultiplier_ = multiplier; }

    // Loads the file into this sample: a loose file is read by the sound
    // library, any other load mode through LoadFile and then from memory.
    // 0 on success, -1 on failure; 0 without loading while sound is off.
    int LoadSample(const std::string& path, uint32_t modeFlags, LoadMode loadMode);

    // Plays on a free channel at volume x multiplier (rounded, 0 to 255) and
    // the pan (0 left, 128 centre, 255 right); the channel or -1.
    int32_t PlaySample(int volume, int pan, bool loop) const;

    // Length in milliseconds; 0 while sound is off.
    uint32_t GetSampleLengthMs() const;

private:
    void Free();

    platform::SoundSampleId sample_ = 0;
    float volumeMultiplier_ = 1.0f;
};
