#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/foundation/Service.h"
#include "engine/media/MusicStream.h"
#include "platform/SoundMixer.h"

// The service that owns the sound output: it sets the output up (or leaves
// the game silent), keeps the effects and music volumes and plays music, one
// current stream and, during a crossfade, a next one, with per-stream fades
// advanced once a frame.
class SoundManager : public Service {
    ENGINE_CLASS(SoundManager, Service)

public:
    // Sets the output up, then makes the one manager whatever the outcome.
    static SoundManager* Create(int mixRate, int unused, int maxChannels,
                                platform::AudioOutput output = platform::AudioOutputFromEnvironment());
    static SoundManager* Get();
    // Releases the manager, which ends all sound output.
    static void Shutdown();

    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;
    ~SoundManager() override;

    // Music fades; `elapsedMs` is the frame's time.
    void Update(uint32_t elapsedMs) override;

    // Starts the stream as the current music; true when it plays. A paused
    // current stream resumes at its saved position.
    bool PlayStream(MusicStream* stream, uint32_t openMode);
    // Switches the music: the current stream fades out while the new one,
    // after `delayMs`, starts again from its beginning and fades in to
    // `targetLevel`. Nothing happens when the same file already plays or
    // is already fading in; when it plays fading out or faded out, it
    // fades back in to `targetLevel`.
    void CrossfadeTo(MusicStream* stream, int32_t fadeOutMs, float targetLevel, int32_t fadeInMs, int32_t delayMs,
                     uint32_t openMode);
    // Stops the current music keeping its position, after a fade when
    // `fadeMs` is not 0; true when it stopped now.
    bool PauseMusic(int32_t fadeMs);
    bool StopStream(MusicStream* stream);
    void CloseStreams();
    void FinishCrossfade();
    void SetFade(MusicStream* stream, float fromLevel, float toLevel, int32_t durationMs);
    void ApplyStreamVolume(MusicStream* stream, uint8_t volumeByte);
    void SetMuted(bool muted);

    bool IsMuted() const { return muted_; }
    uint8_t GetEffectsVolume() const { return effectsVolume_; }
    // Stores the volume and, unless muted, hands it to the output.
    void SetEffectsVolume(uint8_t volume);
    uint8_t GetMusicVolume() const { return musicVolume_; }
    void SetMusicVolume(uint8_t volume) { musicVolume_ = volume; }
    MusicStream* GetCurrentStream() const { return current_.Get(); }
    MusicStream* GetNextStream() const { return next_.Get(); }
    bool IsCrossfading() const { return crossfading_; }
    bool IsPaused() const { return paused_; }
    bool IsPausePending() const { return pausePending_; }
    int32_t GetStartDelay() const { return startDelay_; }

private:
    SoundManager() = default;

    static bool InitSound(int mixRate, int maxChannels, platform::AudioOutput output);
    void AdvanceFade(MusicStream& stream, uint32_t elapsedMs);

    bool muted_ = false;
    uint8_t effectsVolume_ = 255;
    uint8_t musicVolume_ = 255;
    // Counted, unlike the streams' owners might expect: a section unloaded
    // while its music plays must not leave the manager holding a freed stream.
    Ref<MusicStream> current_;
    Ref<MusicStream> next_;
    bool crossfading_ = false;
    int32_t startDelay_ = 0;
    bool pausePending_ = false;
    bool paused_ = false;
};
