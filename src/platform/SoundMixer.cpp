#include "platform/SoundMixer.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/Files.h"
#include "platform/OggDecoder.h"
#include "platform/RunOptions.h"
#include "platform/SampleDecoding.h"
#include "platform/SoundStreamSource.h"

namespace platform {
namespace {

constexpr int kMaxChannels = 255;
constexpr uint32_t kGenerationMask = 0x7FFFFF;

int ClampByte(int value) {
    return std::clamp(value, 0, 255);
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Format(const char* format, ...) {
    char line[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    return line;
}

}  // namespace

AudioOutput AudioOutputFromEnvironment() {
    const RunOptions& options = CurrentRunOptions();
    if (options.audio == "null") {
        return AudioOutput::Null;
    }
    if (options.audio == "off") {
        return AudioOutput::Off;
    }
    return options.audio.empty() && options.headless ? AudioOutput::Null : AudioOutput::Device;
}

struct SoundMixer::Sample {
    std::shared_ptr<const Pcm> pcm;
    bool loop = false;
};

// A playing stream turns its own frames into output frames by linear
// interpolation, keeping the source frame now heard as its position.
struct SoundMixer::Stream {
    static constexpr size_t kPieceFrames = 1024;

    std::unique_ptr<SoundStreamSource> source;
    bool loop = false;
    std::vector<uint32_t> syncPoints;
    int32_t channel = -1;

    std::vector<int16_t> piece;
    size_t pieceFrames = 0;
    size_t pieceIndex = 0;
    uint64_t nextSourceFrame = 0;
    bool primed = false;
    bool ended = false;
    int16_t current[2] = {0, 0};
    int16_t following[2] = {0, 0};
    bool haveFollowing = false;
    uint64_t currentFrame = 0;
    double fraction = 0.0;
    double step = 1.0;

    void Restart(uint64_t frame) {
        pieceFrames = pieceIndex = 0;
        nextSourceFrame = frame;
        primed = ended = false;
        fraction = 0.0;
    }

    bool Pull(int16_t frame[2]) {
        if (pieceIndex == pieceFrames && !Refill()) {
            return false;
        }
        const size_t channels = static_cast<size_t>(source->Channels());
        const int16_t* at = piece.data() + pieceIndex * channels;
        frame[0] = at[0];
        frame[1] = channels == 2 ? at[1] : at[0];
        ++pieceIndex;
        ++nextSourceFrame;
        return true;
    }

    bool Refill() {
        pieceIndex = 0;
        pieceFrames = source->Read(piece.data(), kPieceFrames);
        if (pieceFrames == 0 && loop && nextSourceFrame > 0 && source->Seek(0)) {
            nextSourceFrame = 0;
            pieceFrames = source->Read(piece.data(), kPieceFrames);
        }
        return pieceFrames > 0;
    }

    // The next output frame; false once a stream without looping has ended.
    bool Next(int16_t out[2]) {
        if (ended) {
            return false;
        }
        if (!primed) {
            currentFrame = nextSourceFrame;
            if (!Pull(current)) {
                ended = true;
                return false;
            }
            haveFollowing = Pull(following);
            primed = true;
        }
        for (int c = 0; c < 2; ++c) {
            out[c] = static_cast<int16_t>(current[c] + (following[c] - current[c]) * fraction);
        }
        fraction += step;
        while (fraction >= 1.0) {
            fraction -= 1.0;
            if (!haveFollowing) {
                ended = true;
                break;
            }
            std::copy(following, following + 2, current);
            currentFrame = nextSourceFrame - 1;
            haveFollowing = Pull(following);
            if (!haveFollowing) {
                std::copy(current, current + 2, following);
            }
        }
        return true;
    }

    uint64_t Position() const { return primed ? currentFrame : nextSourceFrame; }
};

struct SoundMixer::Channel {
    bool busy = false;
    uint32_t generation = 0;
    std::shared_ptr<const Pcm> pcm;
    SoundSampleId sample = 0;
    SoundStreamId stream = 0;
    size_t position = 0;
    bool loop = false;
    int volume = 255;
    bool absolute = false;
    int pan = 128;
    bool paused = false;
};

SoundMixer& SoundMixer::Instance() {
    // Never destroyed: sounds and the sound manager may still be released by
    // other static objects while the program exits.
    static SoundMixer* const mixer = new SoundMixer;
    return *mixer;
}

SoundMixer::SoundMixer() = default;

SoundMixer::~SoundMixer() {
    Close();
}

int SoundMixer::NumDrivers(AudioOutput output) const {
    return CountAudioDevices(output);
}

bool SoundMixer::Init(int mixRate, int maxChannels, AudioOutput output) {
    Close();
    const int rate = std::clamp(mixRate, kMinSoundRate, kMaxSoundRate);
    std::unique_ptr<AudioDevice> device =
        OpenAudioDevice(output, rate, [this](int16_t* frames, size_t count) { Mix(frames, count); });
    if (!device) {
        return false;
    }
    std::lock_guard lock(mutex_);
    open_ = true;
    output_ = output;
    outputRate_ = rate;
    sfxMasterVolume_ = 255;
    limiter_ = PeakLimiter(rate);
    channels_.assign(static_cast<size_t>(std::clamp(maxChannels, 1, kMaxChannels)), Channel{});
    journal_.clear();
    device_ = std::move(device);
    return true;
}

void SoundMixer::Close() {
    // The device goes first, outside the lock: closing it waits for a
    // callback that may be mixing under the lock.
    std::unique_ptr<AudioDevice> device;
    {
        std::lock_guard lock(mutex_);
        device = std::move(device_);
    }
    device.reset();
    std::lock_guard lock(mutex_);
    open_ = false;
    output_ = AudioOutput::Off;
    channels_.clear();
    samples_.clear();
    streams_.clear();
}

bool SoundMixer::IsOpen() const {
    std::lock_guard lock(mutex_);
    return open_;
}

bool SoundMixer::HasOutputDevice() const {
    return IsOpen();
}

int SoundMixer::OutputRate() const {
    std::lock_guard lock(mutex_);
    return outputRate_;
}

void SoundMixer::SetSfxMasterVolume(int volume) {
    std::lock_guard lock(mutex_);
    sfxMasterVolume_ = ClampByte(volume);
    Record(Format("SetSfxMasterVolume %d", sfxMasterVolume_));
}

SoundSampleId SoundMixer::SampleLoadFile(const std::string& path, uint32_t mode, SampleLoadFailure* failure) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
        return RefuseSample("file", mode, SampleLoadFailure::Unreadable, failure);
    }
    return LoadSample(std::move(bytes), "file", mode, failure);
}

SoundSampleId SoundMixer::SampleLoadMemory(const uint8_t* data, size_t size, uint32_t mode,
                                           SampleLoadFailure* failure) {
    if (data == nullptr) {
        return RefuseSample("memory", mode, SampleLoadFailure::Unreadable, failure);
    }
    return LoadSample(std::vector<uint8_t>(data, data + size), "memory", mode, failure);
}

SoundSampleId SoundMixer::LoadSample(std::vector<uint8_t> bytes, const char* origin, uint32_t mode,
                                     SampleLoadFailure* failure) {
    // Decoding and converting happen before the lock, on the caller's thread.
    Pcm pcm;
    switch (DecodeSample(std::move(bytes), OutputRate(), pcm)) {
        case SampleDecodeResult::Undecodable:
            return RefuseSample(origin, mode, SampleLoadFailure::Undecodable, failure);
        case SampleDecodeResult::TooLarge:
            return RefuseSample(origin, mode, SampleLoadFailure::TooLarge, failure);
        case SampleDecodeResult::Decoded:
            break;
    }
    auto converted = std::make_shared<const Pcm>(std::move(pcm));
    std::lock_guard lock(mutex_);
    if (!open_) {
        if (failure != nullptr) {
            *failure = SampleLoadFailure::Closed;
        }
        return 0;
    }
    const SoundSampleId id = nextId_++;
    samples_[id] = Sample{std::move(converted), (mode & kSoundLoopNormal) != 0};
    Record(Format("SampleLoad %s mode=0x%X sample=%u", origin, mode, id));
    return id;
}

SoundSampleId SoundMixer::RefuseSample(const char* origin, uint32_t mode, SampleLoadFailure why,
                                       SampleLoadFailure* failure) {
    if (failure != nullptr) {
        *failure = why;
    }
    std::lock_guard lock(mutex_);
    Record(Format("SampleLoad %s mode=0x%X failed", origin, mode));
    return 0;
}

bool SoundMixer::SampleSetMode(SoundSampleId sample, uint32_t loopMode) {
    std::lock_guard lock(mutex_);
    const auto found = samples_.find(sample);
    if (found == samples_.end()) {
        return false;
    }
    found->second.loop = loopMode == kSoundLoopNormal;
    Record(Format("SampleSetMode sample=%u mode=%u", sample, loopMode));
    return true;
}

uint32_t SoundMixer::SampleLength(SoundSampleId sample) const {
    std::lock_guard lock(mutex_);
    const auto found = samples_.find(sample);
    return found == samples_.end() ? 0 : static_cast<uint32_t>(found->second.pcm->Frames());
}

void SoundMixer::SampleFree(SoundSampleId sample) {
    std::lock_guard lock(mutex_);
    if (samples_.erase(sample) == 0) {
        return;
    }
    for (Channel& channel : channels_) {
        if (channel.busy && channel.sample == sample) {
            FreeChannel(channel);
        }
    }
    Record(Format("SampleFree sample=%u", sample));
}

int32_t SoundMixer::TakeChannel() {
    for (size_t slot = 0; slot < channels_.size(); ++slot) {
        Channel& channel = channels_[slot];
        if (!channel.busy) {
            const uint32_t generation = (channel.generation + 1) & kGenerationMask;
            channel = Channel{};
            channel.busy = true;
            channel.generation = generation;
            return static_cast<int32_t>(slot | generation << 8);
        }
    }
    return -1;
}

void SoundMixer::FreeChannel(Channel& channel) {
    if (channel.stream != 0) {
        const auto found = streams_.find(channel.stream);
        if (found != streams_.end()) {
            found->second->channel = -1;
        }
    }
    const uint32_t generation = channel.generation;
    channel = Channel{};
    channel.generation = generation;
}

SoundMixer::Channel* SoundMixer::LiveChannel(int32_t handle) {
    return const_cast<Channel*>(std::as_const(*this).LiveChannel(handle));
}

const SoundMixer::Channel* SoundMixer::LiveChannel(int32_t handle) const {
    if (handle < 0) {
        return nullptr;
    }
    const size_t slot = static_cast<uint32_t>(handle) & 0xFF;
    const uint32_t generation = static_cast<uint32_t>(handle) >> 8;
    if (slot >= channels_.size() || !channels_[slot].busy || channels_[slot].generation != generation) {
        return nullptr;
    }
    return &channels_[slot];
}

template <typename Change>
bool SoundMixer::ChangeChannel(int32_t handle, Change change) {
    std::lock_guard lock(mutex_);
    Channel* channel = LiveChannel(handle);
    if (channel == nullptr) {
        return false;
    }
    change(*channel);
    return true;
}

int32_t SoundMixer::PlaySound(SoundSampleId sample, bool paused) {
    std::lock_guard lock(mutex_);
    const auto found = samples_.find(sample);
    if (found == samples_.end()) {
        return -1;
    }
    const int32_t handle = TakeChannel();
    if (Channel* channel = LiveChannel(handle)) {
        channel->pcm = found->second.pcm;
        channel->sample = sample;
        channel->loop = found->second.loop;
        channel->paused = paused;
    }
    Record(Format("%s sample=%u channel=%d", paused ? "PlaySoundPaused" : "PlaySound", sample, handle));
    return handle;
}

bool SoundMixer::SetVolume(int32_t handle, int volume) {
    return ChangeChannel(handle, [&](Channel& channel) {
        channel.volume = ClampByte(volume);
        Record(Format("SetVolume channel=%d volume=%d", handle, channel.volume));
    });
}

bool SoundMixer::SetVolumeAbsolute(int32_t handle, int volume) {
    return ChangeChannel(handle, [&](Channel& channel) {
        channel.volume = ClampByte(volume);
        channel.absolute = true;
        Record(Format("SetVolumeAbsolute channel=%d volume=%d", handle, channel.volume));
    });
}

bool SoundMixer::SetPan(int32_t handle, int pan) {
    return ChangeChannel(handle, [&](Channel& channel) {
        channel.pan = ClampByte(pan);
        Record(Format("SetPan channel=%d pan=%d", handle, channel.pan));
    });
}

bool SoundMixer::SetPaused(int32_t handle, bool paused) {
    return ChangeChannel(handle, [&](Channel& channel) {
        channel.paused = paused;
        Record(Format("SetPaused channel=%d paused=%d", handle, paused ? 1 : 0));
    });
}

bool SoundMixer::StopSound(int32_t handle) {
    return ChangeChannel(handle, [&](Channel& channel) {
        FreeChannel(channel);
        Record(Format("StopSound channel=%d", handle));
    });
}

SoundStreamId SoundMixer::StreamOpen(const std::string& path, uint32_t mode) {
    std::vector<uint8_t> bytes;
    std::unique_ptr<SoundStreamSource> source;
    if (ReadWholeFile(path, bytes)) {
        source = OpenSoundStreamSource(std::move(bytes));
    }
    std::lock_guard lock(mutex_);
    if (!open_ || !source) {
        Record(Format("StreamOpen mode=%u failed", mode));
        return 0;
    }
    auto stream = std::make_unique<Stream>();
    stream->step = static_cast<double>(source->Rate()) / outputRate_;
    // Sized here, so that refilling it on the output thread never allocates.
    stream->piece.resize(Stream::kPieceFrames * static_cast<size_t>(source->Channels()));
    stream->source = std::move(source);
    stream->loop = (mode & kSoundLoopNormal) != 0;
    const SoundStreamId id = nextId_++;
    streams_[id] = std::move(stream);
    Record(Format("StreamOpen mode=%u stream=%u", mode, id));
    return id;
}

SoundMixer::Stream* SoundMixer::FindStream(SoundStreamId id) {
    const auto found = streams_.find(id);
    return found == streams_.end() ? nullptr : found->second.get();
}

bool SoundMixer::StreamAddSyncPoint(SoundStreamId id, uint32_t position, const std::string&) {
    std::lock_guard lock(mutex_);
    Stream* stream = FindStream(id);
    if (stream == nullptr) {
        return false;
    }
    stream->syncPoints.insert(std::upper_bound(stream->syncPoints.begin(), stream->syncPoints.end(), position),
                              position);
    Record(Format("StreamAddSyncPoint stream=%u position=%u", id, position));
    return true;
}

void SoundMixer::StopStreamChannel(Stream& stream) {
    if (Channel* channel = LiveChannel(stream.channel)) {
        FreeChannel(*channel);
    }
    stream.channel = -1;
}

int32_t SoundMixer::StreamPlay(SoundStreamId id) {
    std::lock_guard lock(mutex_);
    Stream* stream = FindStream(id);
    if (stream == nullptr) {
        return -1;
    }
    StopStreamChannel(*stream);
    const int32_t handle = TakeChannel();
    if (Channel* channel = LiveChannel(handle)) {
        channel->stream = id;
        stream->channel = handle;
    }
    Record(Format("StreamPlay stream=%u channel=%d", id, handle));
    return handle;
}

bool SoundMixer::StreamSetPosition(SoundStreamId id, uint32_t position) {
    std::lock_guard lock(mutex_);
    Stream* stream = FindStream(id);
    if (stream == nullptr || !stream->source->Seek(position)) {
        return false;
    }
    stream->Restart(position);
    Record(Format("StreamSetPosition stream=%u position=%u", id, position));
    return true;
}

uint32_t SoundMixer::StreamGetPosition(SoundStreamId id) const {
    std::lock_guard lock(mutex_);
    const auto found = streams_.find(id);
    return found == streams_.end() ? 0 : static_cast<uint32_t>(found->second->Position());
}

bool SoundMixer::StreamStop(SoundStreamId id) {
    std::lock_guard lock(mutex_);
    Stream* stream = FindStream(id);
    if (stream == nullptr) {
        return false;
    }
    StopStreamChannel(*stream);
    Record(Format("StreamStop stream=%u", id));
    return true;
}

bool SoundMixer::StreamClose(SoundStreamId id) {
    std::lock_guard lock(mutex_);
    Stream* stream = FindStream(id);
    if (stream == nullptr) {
        return false;
    }
    StopStreamChannel(*stream);
    streams_.erase(id);
    Record(Format("StreamClose stream=%u", id));
    return true;
}

void SoundMixer::MixChannel(Channel& channel, int32_t* mix, size_t frameCount) {
    // Pan is a balance: the centre keeps both sides at full loudness.
    const float gain = channel.volume / 255.0f * (channel.absolute ? 1.0f : sfxMasterVolume_ / 255.0f);
    const float left = gain * (channel.pan <= 128 ? 1.0f : (255 - channel.pan) / 127.0f);
    const float right = gain * (channel.pan >= 128 ? 1.0f : channel.pan / 128.0f);
    Stream* stream = channel.stream != 0 ? FindStream(channel.stream) : nullptr;
    for (size_t i = 0; i < frameCount; ++i) {
        int16_t frame[2];
        if (stream != nullptr) {
            if (!stream->Next(frame)) {
                FreeChannel(channel);
                return;
            }
        } else {
            const Pcm& pcm = *channel.pcm;
            if (channel.position >= pcm.Frames()) {
                if (!channel.loop || pcm.Frames() == 0) {
                    FreeChannel(channel);
                    return;
                }
                channel.position = 0;
            }
            const int16_t* at = pcm.samples.data() + channel.position * static_cast<size_t>(pcm.channels);
            frame[0] = at[0];
            frame[1] = pcm.channels == 2 ? at[1] : at[0];
            ++channel.position;
        }
        mix[2 * i] += static_cast<int32_t>(frame[0] * left);
        mix[2 * i + 1] += static_cast<int32_t>(frame[1] * right);
    }
}

void SoundMixer::Mix(int16_t* frames, size_t frameCount) {
    std::lock_guard lock(mutex_);
    for (size_t done = 0; done < frameCount; done += kMixBlockFrames) {
        const size_t block = std::min(kMixBlockFrames, frameCount - done);
        std::fill_n(mixBlock_.begin(), 2 * block, 0);
        for (Channel& channel : channels_) {
            if (channel.busy && !channel.paused) {
                MixChannel(channel, mixBlock_.data(), block);
            }
        }
        limiter_.Process(mixBlock_.data(), frames + 2 * done, block);
    }
}

SoundChannelState SoundMixer::ChannelState(int32_t handle) const {
    std::lock_guard lock(mutex_);
    const Channel* channel = LiveChannel(handle);
    if (channel == nullptr) {
        return {};
    }
    return {true, channel->paused, channel->volume, channel->absolute, channel->pan, channel->sample, channel->stream};
}

std::vector<uint32_t> SoundMixer::StreamSyncPoints(SoundStreamId id) const {
    std::lock_guard lock(mutex_);
    const auto found = streams_.find(id);
    return found == streams_.end() ? std::vector<uint32_t>{} : found->second->syncPoints;
}

std::vector<std::string> SoundMixer::TakeJournal() {
    std::lock_guard lock(mutex_);
    return std::exchange(journal_, {});
}

std::vector<int16_t> SoundMixer::MixNullOutput(size_t frameCount) {
    std::vector<int16_t> frames(frameCount * 2);
    {
        std::lock_guard lock(mutex_);
        if (output_ != AudioOutput::Null) {
            return frames;
        }
    }
    Mix(frames.data(), frameCount);
    return frames;
}

void SoundMixer::Record(const std::string& line) {
    if (output_ != AudioOutput::Null) {
        return;
    }
    if (journal_.size() >= kJournalLimit) {
        journal_.erase(journal_.begin(), journal_.begin() + kJournalLimit / 2);
    }
    journal_.push_back(line);
}

}  // namespace platform
