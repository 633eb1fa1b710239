#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/Object.h"
#include "platform/SoundMixer.h"

// One piece of streamed music: its file, its sync points, and the fade state
// that the sound manager drives. The stream is opened when it plays.
class MusicStream : public Object {
    ENGINE_CLASS(MusicStream, Object)

public:
    explicit MusicStream(platform::SoundStreamId stream = 0) : stream_(stream) {}
    MusicStream(const MusicStream&) = delete;
    MusicStream& operator=(const MusicStream&) = delete;
    ~MusicStream() override;

    // Reads the vector "SyncPoints" of the loose XML file and appends the integer
    // "value" of each of its nodes, in file order; false when the file could
    // not be read.
    bool LoadSyncPoints(const std::string& fileName);

    platform::SoundStreamId GetStream() const { return stream_; }
    void SetStream(platform::SoundStreamId stream) { stream_ = stream; }
    int32_t GetChannel() const { return channel_; }
    void SetChannel(int32_t channel) { channel_ = channel; }
    float GetVolumeMultiplier() const { return volumeMultiplier_; }
    void SetVolumeMultiplier(float multiplier) { volumeMultiplier_ = multiplier; }
    uint8_t GetVolume() const { return volume_; }
    void SetVolume(uint8_t volume) { volume_ = volume; }
    uint8_t GetPan() const { return pan_; }
    void SetPan(uint8_t pan) { pan_ = pan; }
    float GetFadeTarget() const { return fadeTarget_; }
    float GetFadeLevel() const { return fadeLevel_; }
    float GetFadeSpeed() const { return fadeSpeed_; }
    void SetFade(float level, float target, float speed) {
        fadeLevel_ = level;
        fadeTarget_ = target;
        fadeSpeed_ = speed;
    }
    void SetFadeLevel(float level) { fadeLevel_ = level; }
    uint32_t GetSavedPosition() const { return savedPosition_; }
    void SetSavedPosition(uint32_t position) { savedPosition_ = position; }
    const std::string& GetFileName() const { return fileName_; }
    void SetFileName(std::string fileName) { fileName_ = std::move(fileName); }
    const std::string& GetSyncPointsFileName() const { return syncPointsFileName_; }
    void SetSyncPointsFileName(std::string fileName) { syncPointsFileName_ = std::move(fileName); }
    const std::vector<int32_t>& GetSyncPoints() const { return syncPoints_; }

private:
    platform::SoundStreamId stream_;
    int32_t channel_ = 0;
    float volumeMultiplier_ = 1.0f;
    uint8_t volume_ = 128;
    uint8_t pan_ = 128;
    float fadeTarget_ = 1.0f;
    float fadeLevel_ = 1.0f;
    float fadeSpeed_ = 0.0f;
    uint32_t savedPosition_ = 0;
    std::string fileName_;
    std::string syncPointsFileName_;
    std::vector<int32_t> syncPoints_;
};
