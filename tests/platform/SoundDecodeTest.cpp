#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/OggDecoder.h"
#include "platform/SampleDecoding.h"
#include "platform/SoundPcm.h"
#include "platform/SoundStreamSource.h"
#include "platform/WavReader.h"
#include "support/SoundFixtures.h"

namespace {

using platform::Pcm;

std::vector<uint8_t> WithU16At(std::vector<uint8_t> bytes, size_t offset, uint16_t value) {
    bytes[offset] = static_cast<uint8_t>(value);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
    return bytes;
}

TEST(WavReaderTest, ReadsPcmLayoutsAndSkipsOtherChunks) {
    struct Case {
        const char* name;
        std::vector<uint8_t> file;
        int channels;
        int rate;
        std::vector<int16_t> expected;
    };
    const std::vector<int16_t> stereo{100, -100, 2000, -2000};
    const Case cases[] = {
        {"mono 16-bit", MakeWav(1, 22050, 16, {1, -2, 32767}), 1, 22050, {1, -2, 32767}},
        {"stereo 16-bit", MakeWav(2, 44100, 16, stereo), 2, 44100, stereo},
        {"8-bit is unsigned around 128", MakeWav(1, 8000, 8, {0, 256, -256}), 1, 8000, {0, 256, -256}},
        {"dep chunk before data", MakeWav(1, 44100, 16, {7}, "dep ", {4, 0, 't', 'e', 's', 't'}), 1, 44100, {7}},
        {"odd-sized chunk is padded", MakeWav(1, 44100, 16, {9}, "LIST", {1, 2, 3}), 1, 44100, {9}},
    };
    for (const Case& c : cases) {
        Pcm pcm;
        ASSERT_TRUE(platform::ReadWav(c.file.data(), c.file.size(), pcm)) << c.name;
        EXPECT_EQ(pcm.channels, c.channels) << c.name;
        EXPECT_EQ(pcm.rate, c.rate) << c.name;
        EXPECT_EQ(pcm.samples, c.expected) << c.name;
    }
}

TEST(WavReaderTest, RefusesDamagedOrUnsupportedFiles) {
    const std::vector<uint8_t> good = MakeWav(1, 22050, 16, {1, 2, 3, 4});
    // "fmt " body starts at 20: tag, channels, rate (4), byte rate (4), align, bits.
    std::vector<uint8_t> notRiff = good;
    notRiff[0] = 'X';
    const struct {
        const char* name;
        std::vector<uint8_t> file;
    } cases[] = {
        {"empty", {}},
        {"not RIFF", notRiff},
        {"header only", std::vector<uint8_t>(good.begin(), good.begin() + 12)},
        {"float format", WithU16At(good, 20, 3)},
        {"three channels", WithU16At(good, 22, 3)},
        {"24 bits", WithU16At(good, 34, 24)},
        {"rate 0", WithU16At(WithU16At(good, 24, 0), 26, 0)},
        {"cut inside fmt", std::vector<uint8_t>(good.begin(), good.begin() + 30)},
    };
    for (const auto& c : cases) {
        Pcm pcm;
        EXPECT_FALSE(platform::ReadWav(c.file.data(), c.file.size(), pcm)) << c.name;
    }
}

TEST(WavReaderTest, DataChunkLongerThanTheFileIsCut) {
    std::vector<uint8_t> file = MakeWav(1, 22050, 16, {5, 6, 7, 8});
    file.resize(file.size() - 3);  // the last sample and a half are gone
    Pcm pcm;
    ASSERT_TRUE(platform::ReadWav(file.data(), file.size(), pcm));
    EXPECT_EQ(pcm.samples, (std::vector<int16_t>{5, 6}));
}

TEST(SoundStreamSourceTest, WavWithoutWholeFramesReadsNothing) {
    const struct {
        const char* name;
        std::vector<uint8_t> file;
    } cases[] = {
        {"empty data chunk", MakeWav(1, 22050, 16, {})},
        {"half a frame", MakeWav(2, 22050, 16, {1})},
    };
    for (const auto& c : cases) {
        const auto source = platform::OpenSoundStreamSource(c.file);
        ASSERT_NE(source, nullptr) << c.name;
        int16_t frames[8] = {};
        EXPECT_EQ(source->Read(frames, 4), 0u) << c.name;
        EXPECT_TRUE(source->Seek(0)) << c.name;
        EXPECT_FALSE(source->Seek(1)) << c.name;
        EXPECT_EQ(source->Read(frames, 4), 0u) << c.name;
    }
}

// 8-bit mono at the lowest rate: small in the file, 44 times larger once
// converted to 44.1 kHz and 16 bits.
std::vector<uint8_t> LowRateWav(size_t frames) {
    return MakeWav(1, platform::kMinSoundRate, 8, ConstantSamples(frames, 1, 256));
}

TEST(SampleDecodingTest, SoundsAreConvertedOrRefusedByTheirSizeAtTheOutputRate) {
    // 1000 frames at 1000 Hz are 44,100 frames of 2 bytes at 44.1 kHz.
    constexpr size_t kBound = 88200;
    std::vector<uint8_t> ogg;
    ASSERT_TRUE(platform::ReadWholeFile(OggFixturePath("tone_mono_22050"), ogg));
    const struct {
        const char* name;
        std::vector<uint8_t> file;
        platform::SampleDecodeResult result;
        size_t frames;
    } cases[] = {
        {"short WAV", MakeWav(1, 22050, 16, {1, 2, 3}), platform::SampleDecodeResult::Decoded, 6},
        {"low-rate WAV at the bound", LowRateWav(1000), platform::SampleDecodeResult::Decoded, 44100},
        {"low-rate WAV beyond it", LowRateWav(1001), platform::SampleDecodeResult::TooLarge, 0},
        {"stereo takes twice the room", MakeWav(2, 1000, 8, ConstantSamples(600, 2, 256)),
         platform::SampleDecodeResult::TooLarge, 0},
        {"Ogg within the bound", ogg, platform::SampleDecodeResult::Decoded, 11024},
        {"not a sound", {'R', 'I', 'F', 'F', 0, 0}, platform::SampleDecodeResult::Undecodable, 0},
    };
    for (const auto& c : cases) {
        Pcm pcm;
        ASSERT_EQ(platform::DecodeSample(c.file, 44100, pcm, kBound), c.result) << c.name;
        EXPECT_EQ(pcm.Frames(), c.frames) << c.name;
        if (c.frames > 0) {
            EXPECT_EQ(pcm.rate, 44100) << c.name;
        }
    }
    // An Ogg stream longer than the bound is refused, whatever its own size.
    Pcm pcm;
    EXPECT_EQ(platform::DecodeSample(ogg, 44100, pcm, 20000), platform::SampleDecodeResult::TooLarge);
}

TEST(OggDecoderTest, DecodingStopsAtTheFrameBoundAndSaysSo) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(OggFixturePath("tone_mono_22050"), bytes));
    for (const size_t bound : {size_t{1000}, size_t{5512}, size_t{9000}}) {
        const auto decoder = platform::OggDecoder::Open(bytes);
        ASSERT_NE(decoder, nullptr);
        Pcm pcm;
        platform::DecodeRemaining(*decoder, bound, pcm);
        EXPECT_EQ(pcm.Frames(), std::min<size_t>(bound, 5512)) << bound;
        EXPECT_EQ(pcm.cut, bound < 5512) << bound;
    }
}

TEST(SoundPcmTest, ResampleDoublesFramesAndInterpolates) {
    Pcm pcm{1, 22050, {0, 100, 200}};
    const Pcm doubled = platform::ResamplePcm(pcm, 44100);
    EXPECT_EQ(doubled.rate, 44100);
    EXPECT_EQ(doubled.samples, (std::vector<int16_t>{0, 50, 100, 150, 200, 200}));
    const Pcm halved = platform::ResamplePcm(Pcm{2, 44100, {1, 2, 3, 4, 5, 6, 7, 8}}, 22050);
    EXPECT_EQ(halved.samples, (std::vector<int16_t>{1, 2, 5, 6}));
}

TEST(OggDecoderTest, DecodesTheWholeTone) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(OggFixturePath("tone_mono_22050"), bytes));
    Pcm pcm;
    ASSERT_EQ(platform::DecodeOggSample(bytes, 44100, pcm), platform::SampleDecodeResult::Decoded);
    EXPECT_EQ(pcm.channels, 1);
    EXPECT_EQ(pcm.rate, 22050);
    EXPECT_EQ(pcm.Frames(), 5512u);
    int16_t peak = 0;
    for (const int16_t sample : pcm.samples) {
        peak = std::max<int16_t>(peak, sample);
    }
    EXPECT_GT(peak, 10000);  // a sine at half of full scale
    EXPECT_LT(peak, 20000);
}

TEST(OggDecoderTest, SeeksAndReadsStereo) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(OggFixturePath("tone_stereo_44100"), bytes));
    auto decoder = platform::OggDecoder::Open(bytes);
    ASSERT_NE(decoder, nullptr);
    EXPECT_EQ(decoder->Channels(), 2);
    std::vector<int16_t> all(22050 * 2);
    ASSERT_EQ(decoder->Read(all.data(), 22050), 22050u);
    EXPECT_EQ(decoder->Read(all.data(), 10), 0u);
    ASSERT_TRUE(decoder->Seek(1000));
    int16_t frame[2];
    ASSERT_EQ(decoder->Read(frame, 1), 1u);
    EXPECT_NEAR(frame[0], all[2000], 2);
    EXPECT_NEAR(frame[1], all[2001], 2);
}

TEST(OggDecoderTest, DamagedStreamsFailOrEndEarlyWithoutHarm) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(OggFixturePath("tone_mono_22050"), bytes));
    Pcm pcm;
    EXPECT_EQ(platform::DecodeOggSample({'O', 'g', 'g', 'S', 0, 0, 0}, 44100, pcm), platform::SampleDecodeResult::Undecodable);
    EXPECT_EQ(platform::DecodeOggSample(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 40), 44100, pcm),
              platform::SampleDecodeResult::Undecodable);
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(bytes.size() / 2));
    if (platform::DecodeOggSample(cut, 44100, pcm) == platform::SampleDecodeResult::Decoded) {
        EXPECT_LT(pcm.Frames(), 5512u);
    }
    std::vector<uint8_t> scrambled = bytes;
    for (size_t i = 200; i < scrambled.size(); i += 7) {
        scrambled[i] ^= 0x5A;
    }
    platform::DecodeOggSample(scrambled, 44100, pcm);  // any result, no crash
}

}  // namespace
