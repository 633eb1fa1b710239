#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/AudioDevice.h"
#include "platform/PeakLimiter.h"
#include "platform/SoundPcm.h"

namespace platform {

class SoundStreamSource;

// WORDRAIL_AUDIO ("sdl", "null" or "off") when set; else the null output
// under WORDRAIL_BACKEND=headless and the device otherwise.
AudioOutput AudioOutputFromEnvironment();

// Mode bits of samples and streams.
constexpr uint32_t kSoundLoopOff = 0x1;
constexpr uint32_t kSoundLoopNormal = 0x2;

// Sample and stream handles; 0 is none.
using SoundSampleId = uint32_t;
using SoundStreamId = uint32_t;

// Why a sample did not load.
enum class SampleLoadFailure { None, Unreadable, Undecodable, TooLarge, Closed };

// What a channel does, as tests and diagnostics see it.
struct SoundChannelState {
    bool playing = false;
    bool paused = false;
    int volume = 0;
    bool absoluteVolume = false;
    int pan = 128;
    SoundSampleId sample = 0;
    SoundStreamId stream = 0;
};

// The sample-and-stream sound library of the program: loaded samples played
// on numbered channels with volume and pan, and music streams decoded while
// they play, all mixed in one output callback. Samples are converted to the
// output rate when loaded, so their lengths in frames give true times.
// Channel numbers stay valid only while their sound plays: a call on the
// number of a sound that ended or was stopped does nothing and answers false.
// Samples may be loaded from any thread; everything else is called from the
// main thread.
class SoundMixer {
public:
    static constexpr float kVersion = 3.75f;

    // The one mixer of the process.
    static SoundMixer& Instance();

    SoundMixer();
    SoundMixer(const SoundMixer&) = delete;
    SoundMixer& operator=(const SoundMixer&) = delete;
    ~SoundMixer();

    float Version() const { return kVersion; }
    int NumDrivers(AudioOutput output) const;

    // Opens the output with `maxChannels` channels (1 to 255); false when
    // there is no output, and the mixer stays closed.
    bool Init(int mixRate, int maxChannels, AudioOutput output);
    // Ends all output and frees every sample and stream.
    void Close();
    bool IsOpen() const;
    // Whether a real or null output is open; the Ogg-to-WAV conversion needs it.
    bool HasOutputDevice() const;
    int OutputRate() const;
    void SetSfxMasterVolume(int volume);

    // 0 when the sample does not load, and then the reason in `failure` when given.
    SoundSampleId SampleLoadFile(const std::string& path, uint32_t mode, SampleLoadFailure* failure = nullptr);
    SoundSampleId SampleLoadMemory(const uint8_t* data, size_t size, uint32_t mode,
                                   SampleLoadFailure* failure = nullptr);
    bool SampleSetMode(SoundSampleId sample, uint32_t loopMode);
    // Length in frames at the output rate.
    uint32_t SampleLength(SoundSampleId sample) const;
    // Stops every channel that plays the sample.
    void SampleFree(SoundSampleId sample);

    // A free channel playing the sample at full volume, centre; started paused
    // when asked. -1 when no channel is free or the sample is unknown.
    int32_t PlaySound(SoundSampleId sample, bool paused);
    bool SetVolume(int32_t channel, int volume);
    // Volume that ignores the effects master volume (music).
    bool SetVolumeAbsolute(int32_t channel, int volume);
    bool SetPan(int32_t channel, int pan);
    bool SetPaused(int32_t channel, bool paused);
    bool StopSound(int32_t channel);

    // Opens a loose Ogg Vorbis or WAV file; the loop bit of `mode` makes it
    // start again at its end. 0 when the file is missing or unreadable.
    SoundStreamId StreamOpen(const std::string& path, uint32_t mode);
    bool StreamAddSyncPoint(SoundStreamId stream, uint32_t position, const std::string& name);
    // Plays from the stream's position on a free channel; -1 when none is free.
    int32_t StreamPlay(SoundStreamId stream);
    // Positions count frames of the stream's own rate.
    bool StreamSetPosition(SoundStreamId stream, uint32_t position);
    uint32_t StreamGetPosition(SoundStreamId stream) const;
    // Stopping keeps the position; closing frees the stream.
    bool StreamStop(SoundStreamId stream);
    bool StreamClose(SoundStreamId stream);

    // Mixes the next frames (interleaved stereo) of every playing channel;
    // a loud sum is limited, never clipped.
    void Mix(int16_t* frames, size_t frameCount);

    // For tests and diagnostics: a channel's state, a stream's sync points,
    // and, on the null output, the calls made since the last take and a way
    // to run the mix by hand.
    SoundChannelState ChannelState(int32_t channel) const;
    std::vector<uint32_t> StreamSyncPoints(SoundStreamId stream) const;
    std::vector<std::string> TakeJournal();
    // A run that never takes the journal keeps only its latest calls, between
    // half this many and this many, so the journal cannot grow without bound.
    static constexpr size_t kJournalLimit = 4096;
    std::vector<int16_t> MixNullOutput(size_t frameCount);

private:
    struct Sample;
    struct Stream;
    struct Channel;

    SoundSampleId LoadSample(std::vector<uint8_t> bytes, const char* origin, uint32_t mode,
                             SampleLoadFailure* failure);
    SoundSampleId RefuseSample(const char* origin, uint32_t mode, SampleLoadFailure why, SampleLoadFailure* failure);
    Channel* LiveChannel(int32_t handle);
    const Channel* LiveChannel(int32_t handle) const;
    // Under the lock, applies `change` to the live channel; false when there is none.
    template <typename Change>
    bool ChangeChannel(int32_t handle, Change change);
    int32_t TakeChannel();
    void FreeChannel(Channel& channel);
    void StopStreamChannel(Stream& stream);
    Stream* FindStream(SoundStreamId id);
    void MixChannel(Channel& channel, int32_t* mix, size_t frameCount);
    void Record(const std::string& line);

    mutable std::mutex mutex_;
    std::unique_ptr<AudioDevice> device_;
    bool open_ = false;
    AudioOutput output_ = AudioOutput::Off;
    int outputRate_ = 44100;
    int sfxMasterVolume_ = 255;
    std::vector<Channel> channels_;
    std::map<SoundSampleId, Sample> samples_;
    std::map<SoundStreamId, std::unique_ptr<Stream>> streams_;
    uint32_t nextId_ = 1;
    std::vector<std::string> journal_;
    // The voices are summed a block at a time into fixed memory, so mixing
    // allocates nothing on the output thread.
    static constexpr size_t kMixBlockFrames = 1024;
    std::array<int32_t, 2 * kMixBlockFrames> mixBlock_{};
    PeakLimiter limiter_{44100};
};

}  // namespace platform
