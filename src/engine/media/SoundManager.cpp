#include "engine/media/SoundManager.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/media/SoundAvailable.h"

namespace {

Ref<SoundManager> soundManager;

platform::SoundMixer& Mixer() {
    return platform::SoundMixer::Instance();
}

bool IsOpen(const MusicStream* stream) {
    return stream != nullptr && stream->GetStream() != 0;
}

}  // namespace

SoundManager* SoundManager::Create(int mixRate, int, int maxChannels, platform::AudioOutput output) {
    // A manager made before goes first: releasing it ends the output.
    soundManager.Reset();
    InitSound(mixRate, maxChannels, output);
    soundManager = new SoundManager();
    return soundManager.Get();
}

SoundManager* SoundManager::Get() {
    return soundManager.Get();
}

void SoundManager::Shutdown() {
    soundManager.Reset();
}

bool SoundManager::InitSound(int mixRate, int maxChannels, platform::AudioOutput output) {
    platform::SoundMixer& mixer = Mixer();
    if (mixer.Version() < 3.75f) {
        return false;
    }
    // Without a driver the output cannot open either, so Init decides.
    mixer.NumDrivers(output);
    if (!mixer.Init(mixRate, maxChannels, output)) {
        SetSoundAvailable(false);
        return false;
    }
    SetSoundAvailable(true);
    return true;
}

SoundManager::~SoundManager() {
    SetSoundAvailable(false);
    current_.Reset();
    next_.Reset();
    Mixer().Close();
}

void SoundManager::SetEffectsVolume(uint8_t volume) {
    effectsVolume_ = volume;
    if (IsSoundAvailable() && !muted_) {
        Mixer().SetSfxMasterVolume(volume);
    }
}

void SoundManager::AdvanceFade(MusicStream& stream, uint32_t elapsedMs) {
    const float level = stream.GetFadeLevel();
    const float target = stream.GetFadeTarget();
    const float step = static_cast<float>(elapsedMs) * stream.GetFadeSpeed();
    if (level < target) {
        stream.SetFadeLevel(std::min(level + step, target));
    } else if (level > target) {
        stream.SetFadeLevel(std::max(level - step, target));
    }
    ApplyStreamVolume(&stream, stream.GetVolume());
}

void SoundManager::Update(uint32_t elapsedMs) {
    if (!IsSoundAvailable()) {
        return;
    }
    if (current_) {
        AdvanceFade(*current_, elapsedMs);
        if (next_) {
            if (crossfading_ && startDelay_ != 0) {
                // The delay is counted in 64 bits so a long frame cannot wrap it.
                const int64_t left = int64_t{startDelay_} - int64_t{elapsedMs};
                if (left <= 0) {
                    Mixer().StreamSetPosition(next_->GetStream(), 0);
                    startDelay_ = 0;
                } else {
                    startDelay_ = static_cast<int32_t>(left);
                }
            } else {
                AdvanceFade(*next_, elapsedMs);
            }
        }
    }
    if (current_ && current_->GetFadeLevel() == current_->GetFadeTarget()) {
        if (pausePending_) {
            pausePending_ = false;
            PauseMusic(0);
        }
        if (next_ && next_->GetFadeLevel() == next_->GetFadeTarget() && crossfading_) {
            FinishCrossfade();
            crossfading_ = false;
        }
    }
}

bool SoundManager::PlayStream(MusicStream* stream, uint32_t openMode) {
    if (!IsSoundAvailable() || stream == nullptr) {
        return false;
    }
    // A paused current stream goes on to be resumed; a playing one is left be.
    if (stream == current_.Get() && !paused_) {
        return true;
    }
    paused_ = false;
    pausePending_ = false;
    platform::SoundMixer& mixer = Mixer();
    if (stream != current_.Get()) {
        if (crossfading_ || IsOpen(stream)) {
            StopStream(stream);
        }
        if (!crossfading_) {
            StopStream(current_.Get());
            current_ = stream;
        }
        stream->SetStream(mixer.StreamOpen(stream->GetFileName(), openMode));
        for (const int32_t point : stream->GetSyncPoints()) {
            mixer.StreamAddSyncPoint(stream->GetStream(), static_cast<uint32_t>(point), "");
        }
        if (!IsOpen(stream)) {
            return false;
        }
    }
    int32_t channel = -1;
    if (IsOpen(stream)) {
        if (stream->GetSavedPosition() != 0) {
            mixer.StreamSetPosition(stream->GetStream(), stream->GetSavedPosition());
            stream->SetSavedPosition(0);
        }
        channel = mixer.StreamPlay(stream->GetStream());
        stream->SetChannel(channel);
        ApplyStreamVolume(stream, stream->GetVolume());
    }
    return channel >= 0;
}

void SoundManager::CrossfadeTo(MusicStream* stream, int32_t fadeOutMs, float targetLevel, int32_t fadeInMs,
                               int32_t delayMs, uint32_t openMode) {
    if (!IsSoundAvailable() || stream == nullptr) {
        return;
    }
    if (current_ && current_->GetFileName() == stream->GetFileName()) {
        // The same music goes on. When it is fading out or has faded out (a
        // level's end leaves it at 0), it comes back, and a stream that was
        // to replace it is dropped.
        if (current_->GetFadeTarget() <= 0.0f && !paused_ && !pausePending_) {
            if (crossfading_) {
                StopStream(next_.Get());
                next_.Reset();
                crossfading_ = false;
                startDelay_ = 0;
            }
            SetFade(current_.Get(), current_->GetFadeLevel(), targetLevel, fadeInMs);
        }
        return;
    }
    // The music already fading in goes on fading in: taking it again as the
    // next stream would close it when this fade ends.
    if (crossfading_ && next_ && next_->GetFileName() == stream->GetFileName()) {
        return;
    }
    // A running crossfade ends before the new stream takes the next place,
    // so the stream fading in then is not dropped while it still plays.
    if (crossfading_) {
        FinishCrossfade();
    }
    next_ = stream;
    startDelay_ = delayMs;
    crossfading_ = true;
    if (current_) {
        SetFade(current_.Get(), current_->GetFadeLevel(), 0.0f, fadeOutMs);
    }
    stream->SetFade(0.0f, targetLevel, std::fabs(targetLevel) / static_cast<float>(std::max(fadeInMs, 1)));
    PlayStream(stream, openMode);
}

bool SoundManager::PauseMusic(int32_t fadeMs) {
    if (!IsSoundAvailable() || !current_ || paused_ || pausePending_) {
        return false;
    }
    if (fadeMs != 0) {
        pausePending_ = true;
        SetFade(current_.Get(), current_->GetFadeLevel(), 0.0f, fadeMs);
        if (crossfading_ && next_) {
            SetFade(next_.Get(), next_->GetFadeLevel(), 0.0f, fadeMs);
            startDelay_ = 0;
        }
        return false;
    }
    if (!IsOpen(current_.Get())) {
        return false;
    }
    platform::SoundMixer& mixer = Mixer();
    if (crossfading_) {
        mixer.StreamStop(current_->GetStream());
        FinishCrossfade();
        crossfading_ = false;
    }
    current_->SetSavedPosition(mixer.StreamGetPosition(current_->GetStream()));
    const bool stopped = mixer.StreamStop(current_->GetStream());
    pausePending_ = false;
    if (stopped) {
        paused_ = true;
    }
    return stopped;
}

bool SoundManager::StopStream(MusicStream* stream) {
    if (stream == nullptr) {
        return false;
    }
    platform::SoundMixer& mixer = Mixer();
    const bool stopped = mixer.StreamStop(stream->GetStream());
    if (!stopped || !mixer.StreamClose(stream->GetStream())) {
        return false;
    }
    stream->SetStream(0);
    stream->SetChannel(-1);
    return true;
}

void SoundManager::CloseStreams() {
    StopStream(current_.Get());
    StopStream(next_.Get());
}

void SoundManager::FinishCrossfade() {
    StopStream(current_.Get());
    std::swap(current_, next_);
}

void SoundManager::SetFade(MusicStream* stream, float fromLevel, float toLevel, int32_t durationMs) {
    const int32_t duration = std::max(durationMs, 1);
    stream->SetFade(fromLevel, toLevel, std::fabs(toLevel - fromLevel) / static_cast<float>(duration));
}

void SoundManager::ApplyStreamVolume(MusicStream* stream, uint8_t volumeByte) {
    stream->SetVolume(volumeByte);
    if (muted_ || !IsOpen(stream)) {
        return;
    }
    const double volume = std::round(volumeByte * static_cast<double>(stream->GetVolumeMultiplier()) *
                                     musicVolume_ * (1.0 / 255.0) * stream->GetFadeLevel());
    // A multiplier from data may be anything; the channel takes 0 to 255.
    const int channelVolume = volume > 0.0 ? static_cast<int>(std::min(volume, 255.0)) : 0;
    Mixer().SetVolumeAbsolute(stream->GetChannel(), channelVolume);
}

void SoundManager::SetMuted(bool muted) {
    muted_ = muted;
    if (!IsSoundAvailable()) {
        return;
    }
    platform::SoundMixer& mixer = Mixer();
    if (muted) {
        mixer.SetSfxMasterVolume(0);
        for (MusicStream* stream : {current_.Get(), next_.Get()}) {
            if (IsOpen(stream)) {
                mixer.SetVolumeAbsolute(stream->GetChannel(), 0);
            }
        }
        return;
    }
    mixer.SetSfxMasterVolume(effectsVolume_);
    for (MusicStream* stream : {current_.Get(), next_.Get()}) {
        if (stream != nullptr) {
            ApplyStreamVolume(stream, stream->GetVolume());
        }
    }
}
