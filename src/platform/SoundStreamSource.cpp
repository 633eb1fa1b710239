#include "platform/SoundStreamSource.h"

#include <algorithm>
#include <cstring>

#include "platform/OggDecoder.h"
#include "platform/WavReader.h"

namespace platform {
namespace {

class PcmSource final : public SoundStreamSource {
public:
    explicit PcmSource(Pcm pcm) : pcm_(std::move(pcm)) {}

    int Channels() const override { return pcm_.channels; }
    int Rate() const override { return pcm_.rate; }

    size_t Read(int16_t* frames, size_t frameCount) override {
        const size_t count = std::min(frameCount, pcm_.Frames() - position_);
        if (count == 0) {
            return 0;  // an empty sound holds no samples to copy from
        }
        const size_t channels = static_cast<size_t>(pcm_.channels);
        std::memcpy(frames, pcm_.samples.data() + position_ * channels, count * channels * sizeof(int16_t));
        position_ += count;
        return count;
    }

    bool Seek(uint64_t frame) override {
        if (frame > pcm_.Frames()) {
            return false;
        }
        position_ = static_cast<size_t>(frame);
        return true;
    }

private:
    Pcm pcm_;
    size_t position_ = 0;
};

class OggSource final : public SoundStreamSource {
public:
    explicit OggSource(std::unique_ptr<OggDecoder> decoder) : decoder_(std::move(decoder)) {}

    int Channels() const override { return decoder_->Channels(); }
    int Rate() const override { return decoder_->Rate(); }
    size_t Read(int16_t* frames, size_t frameCount) override { return decoder_->Read(frames, frameCount); }
    bool Seek(uint64_t frame) override { return decoder_->Seek(frame); }

private:
    std::unique_ptr<OggDecoder> decoder_;
};

}  // namespace

std::unique_ptr<SoundStreamSource> OpenSoundStreamSource(std::vector<uint8_t> bytes) {
    if (LooksLikeOgg(bytes.data(), bytes.size())) {
        std::unique_ptr<OggDecoder> decoder = OggDecoder::Open(std::move(bytes));
        return decoder ? std::make_unique<OggSource>(std::move(decoder)) : nullptr;
    }
    Pcm pcm;
    if (!ReadWav(bytes.data(), bytes.size(), pcm)) {
        return nullptr;
    }
    return std::make_unique<PcmSource>(std::move(pcm));
}

}  // namespace platform
