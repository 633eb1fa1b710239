#include "platform/OggDecoder.h"

#include <tremor/ivorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace platform {

// Tremor reads through callbacks from the bytes held here; the record must
// not move while the Ogg file is open.
struct OggDecoder::Impl {
    std::vector<uint8_t> bytes;
    size_t cursor = 0;
    OggVorbis_File file{};
    bool open = false;

    ~Impl() {
        if (open) {
            ov_clear(&file);
        }
    }

    static size_t ReadBytes(void* target, size_t size, size_t count, void* source) {
        auto* self = static_cast<Impl*>(source);
        if (size == 0) {
            return 0;
        }
        const size_t wanted = std::min(count, (self->bytes.size() - self->cursor) / size);
        std::memcpy(target, self->bytes.data() + self->cursor, wanted * size);
        self->cursor += wanted * size;
        return wanted;
    }

    static int SeekBytes(void* source, ogg_int64_t offset, int whence) {
        auto* self = static_cast<Impl*>(source);
        ogg_int64_t base = 0;
        if (whence == SEEK_CUR) {
            base = static_cast<ogg_int64_t>(self->cursor);
        } else if (whence == SEEK_END) {
            base = static_cast<ogg_int64_t>(self->bytes.size());
        }
        const ogg_int64_t target = base + offset;
        if (target < 0 || target > static_cast<ogg_int64_t>(self->bytes.size())) {
            return -1;
        }
        self->cursor = static_cast<size_t>(target);
        return 0;
    }

    static int CloseBytes(void*) { return 0; }

    static long TellBytes(void* source) { return static_cast<long>(static_cast<Impl*>(source)->cursor); }
};

OggDecoder::OggDecoder(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

OggDecoder::~OggDecoder() = default;

bool LooksLikeOgg(const uint8_t* data, size_t size) {
    return size >= 4 && std::memcmp(data, "OggS", 4) == 0;
}

std::unique_ptr<OggDecoder> OggDecoder::Open(std::vector<uint8_t> bytes) {
    if (!LooksLikeOgg(bytes.data(), bytes.size())) {
        return nullptr;
    }
    auto impl = std::make_unique<Impl>();
    impl->bytes = std::move(bytes);
    const ov_callbacks callbacks{&Impl::ReadBytes, &Impl::SeekBytes, &Impl::CloseBytes, &Impl::TellBytes};
    if (ov_open_callbacks(impl.get(), &impl->file, nullptr, 0, callbacks) != 0) {
        return nullptr;
    }
    impl->open = true;
    const vorbis_info* info = ov_info(&impl->file, -1);
    if (info == nullptr || (info->channels != 1 && info->channels != 2) || info->rate < kMinSoundRate ||
        info->rate > kMaxSoundRate) {
        return nullptr;
    }
    std::unique_ptr<OggDecoder> decoder(new OggDecoder(std::move(impl)));
    decoder->channels_ = info->channels;
    decoder->rate_ = static_cast<int>(info->rate);
    return decoder;
}

size_t OggDecoder::Read(int16_t* frames, size_t frameCount) {
    const size_t frameBytes = static_cast<size_t>(channels_) * 2;
    auto* target = reinterpret_cast<char*>(frames);
    size_t filled = 0;
    const size_t wanted = frameCount * frameBytes;
    while (filled < wanted) {
        int section = 0;
        const int chunk = static_cast<int>(std::min<size_t>(wanted - filled, 65536));
        const long got = ov_read(&impl_->file, target + filled, chunk, &section);
        if (got <= 0) {
            break;
        }
        // A chained stream whose later link changes the layout ends here.
        const vorbis_info* info = ov_info(&impl_->file, section);
        if (info == nullptr || info->channels != channels_) {
            break;
        }
        filled += static_cast<size_t>(got);
    }
    return filled / frameBytes;
}

bool OggDecoder::Seek(uint64_t frame) {
    return ov_pcm_seek(&impl_->file, static_cast<ogg_int64_t>(frame)) == 0;
}

void DecodeRemaining(OggDecoder& decoder, size_t maxFrames, Pcm& pcm) {
    pcm.channels = decoder.Channels();
    pcm.rate = decoder.Rate();
    pcm.samples.clear();
    pcm.cut = false;
    constexpr size_t kPieceFrames = 4096;
    const auto channels = static_cast<size_t>(pcm.channels);
    std::vector<int16_t> piece(kPieceFrames * channels);
    for (;;) {
        const size_t got = decoder.Read(piece.data(), kPieceFrames);
        if (got == 0) {
            return;
        }
        const size_t kept = std::min(got, maxFrames - pcm.Frames());
        pcm.samples.insert(pcm.samples.end(), piece.begin(), piece.begin() + static_cast<ptrdiff_t>(kept * channels));
        if (kept < got || (pcm.Frames() == maxFrames && decoder.Read(piece.data(), 1) > 0)) {
            pcm.cut = true;
            return;
        }
    }
}

}  // namespace platform
