#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

#include "platform/PeakLimiter.h"
#include "platform/RunOptions.h"
#include "platform/SoundMixer.h"
#include "support/SoundFixtures.h"
#include "support/TempFolder.h"

namespace {

using platform::AudioOutput;
using platform::SoundMixer;
using testing::ElementsAre;

class SoundMixerTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(mixer.Init(44100, 4, AudioOutput::Null)); }

    platform::SoundSampleId LoadWav(int channels, int rate, const std::vector<int16_t>& samples,
                                    uint32_t mode = 0) {
        const std::vector<uint8_t> wav = MakeWav(channels, rate, 16, samples);
        return mixer.SampleLoadMemory(wav.data(), wav.size(), mode);
    }

    // Left and right of the first mixed frame.
    std::pair<int, int> FirstFrame() {
        const std::vector<int16_t> mix = mixer.MixNullOutput(1);
        return {mix[0], mix[1]};
    }

    SoundMixer mixer;
};

TEST_F(SoundMixerTest, OutputsAndDrivers) {
    SoundMixer other;
    EXPECT_FALSE(other.Init(44100, 32, AudioOutput::Off));
    EXPECT_FALSE(other.IsOpen());
    EXPECT_FALSE(other.HasOutputDevice());
    EXPECT_EQ(other.NumDrivers(AudioOutput::Off), 0);
    EXPECT_EQ(other.NumDrivers(AudioOutput::Null), 1);
    EXPECT_GE(other.Version(), 3.75f);
    EXPECT_TRUE(mixer.HasOutputDevice());
    EXPECT_EQ(mixer.OutputRate(), 44100);
    // A closed mixer loads nothing.
    const std::vector<uint8_t> wav = MakeWav(1, 44100, 16, {1});
    EXPECT_EQ(other.SampleLoadMemory(wav.data(), wav.size(), 0), 0u);
}

TEST_F(SoundMixerTest, SamplesAreConvertedToTheOutputRate) {
    const auto sample = LoadWav(1, 22050, ConstantSamples(22050, 1, 1000), 0x8130);
    ASSERT_NE(sample, 0u);
    EXPECT_EQ(mixer.SampleLength(sample), 44100u);
    EXPECT_THAT(mixer.TakeJournal(), ElementsAre("SampleLoad memory mode=0x8130 sample=" + std::to_string(sample)));
    platform::SampleLoadFailure failure = platform::SampleLoadFailure::None;
    const std::vector<uint8_t> junk{'R', 'I', 'F', 'F', 1, 2, 3};
    EXPECT_EQ(mixer.SampleLoadMemory(junk.data(), junk.size(), 0x8130, &failure), 0u);
    EXPECT_EQ(failure, platform::SampleLoadFailure::Undecodable);
    EXPECT_EQ(mixer.SampleLoadFile("/nonexistent/sound.wav", 0x130, &failure), 0u);
    EXPECT_EQ(failure, platform::SampleLoadFailure::Unreadable);
    // 800 s at 1000 Hz: 0.8 MB in the file, 70 MB at the output rate.
    const std::vector<uint8_t> huge = MakeWav(1, 1000, 8, ConstantSamples(800000, 1, 0));
    EXPECT_EQ(mixer.SampleLoadMemory(huge.data(), huge.size(), 0x8130, &failure), 0u);
    EXPECT_EQ(failure, platform::SampleLoadFailure::TooLarge);
}

TEST_F(SoundMixerTest, VolumeMasterAndPanLaw) {
    const auto sample = LoadWav(1, 44100, ConstantSamples(100, 1, 10000));
    struct Case {
        int volume;
        int pan;
        int left;
        int right;
    };
    const Case cases[] = {
        {255, 128, 10000, 10000}, {255, 0, 10000, 0}, {255, 255, 0, 10000},
        {255, 64, 10000, 5000},   {0, 128, 0, 0},     {51, 128, 2000, 2000},
    };
    for (const Case& c : cases) {
        const int32_t channel = mixer.PlaySound(sample, true);
        ASSERT_GE(channel, 0);
        mixer.SetVolume(channel, c.volume);
        mixer.SetPan(channel, c.pan);
        mixer.SetPaused(channel, false);
        const auto [left, right] = FirstFrame();
        EXPECT_NEAR(left, c.left, 1) << c.volume << "/" << c.pan;
        EXPECT_NEAR(right, c.right, 1) << c.volume << "/" << c.pan;
        mixer.StopSound(channel);
    }
}

TEST_F(SoundMixerTest, MasterVolumeScalesEffectsButNotAbsoluteChannels) {
    const auto sample = LoadWav(1, 44100, ConstantSamples(100, 1, 10000));
    const int32_t effect = mixer.PlaySound(sample, false);
    mixer.SetSfxMasterVolume(0);
    EXPECT_EQ(FirstFrame().first, 0);
    const int32_t music = mixer.PlaySound(sample, false);
    mixer.SetVolumeAbsolute(music, 255);
    EXPECT_EQ(FirstFrame().first, 10000);
    EXPECT_TRUE(mixer.ChannelState(music).absoluteVolume);
    EXPECT_FALSE(mixer.ChannelState(effect).absoluteVolume);
}

TEST_F(SoundMixerTest, PausedStartIsSilent) {
    const auto sample = LoadWav(1, 44100, ConstantSamples(100, 1, 10000));
    const int32_t first = mixer.PlaySound(sample, true);
    EXPECT_EQ(FirstFrame().first, 0);
    EXPECT_TRUE(mixer.ChannelState(first).paused);
    mixer.SetPaused(first, false);
    EXPECT_EQ(FirstFrame().first, 10000);
}

TEST_F(SoundMixerTest, EndedAndStoppedChannelNumbersAreStale) {
    const auto shortSound = LoadWav(1, 44100, ConstantSamples(10, 1, 100));
    const auto longSound = LoadWav(1, 44100, ConstantSamples(1000, 1, 100));
    const int32_t ended = mixer.PlaySound(shortSound, false);
    mixer.MixNullOutput(20);
    EXPECT_FALSE(mixer.ChannelState(ended).playing);
    // The slot is taken again under a new number; the old number touches nothing.
    const int32_t fresh = mixer.PlaySound(longSound, false);
    EXPECT_NE(fresh, ended);
    EXPECT_FALSE(mixer.StopSound(ended));
    EXPECT_FALSE(mixer.SetVolume(ended, 0));
    EXPECT_FALSE(mixer.SetPan(ended, 0));
    EXPECT_FALSE(mixer.SetPaused(ended, true));
    EXPECT_FALSE(mixer.SetVolume(-1, 0));
    const platform::SoundChannelState state = mixer.ChannelState(fresh);
    EXPECT_TRUE(state.playing);
    EXPECT_EQ(state.volume, 255);
    EXPECT_EQ(state.pan, 128);
    EXPECT_EQ(state.sample, longSound);
    EXPECT_TRUE(mixer.StopSound(fresh));
    EXPECT_FALSE(mixer.StopSound(fresh));
}

TEST_F(SoundMixerTest, LoopingFullChannelsAndFreeingSamples) {
    const auto sample = LoadWav(1, 44100, ConstantSamples(10, 1, 100));
    ASSERT_TRUE(mixer.SampleSetMode(sample, platform::kSoundLoopNormal));
    std::vector<int32_t> channels;
    for (int i = 0; i < 4; ++i) {
        channels.push_back(mixer.PlaySound(sample, false));
        EXPECT_GE(channels.back(), 0);
    }
    EXPECT_EQ(mixer.PlaySound(sample, false), -1);
    mixer.MixNullOutput(100);
    EXPECT_TRUE(mixer.ChannelState(channels[0]).playing);
    mixer.SampleFree(sample);
    EXPECT_FALSE(mixer.ChannelState(channels[0]).playing);
    EXPECT_EQ(mixer.PlaySound(sample, false), -1);
    EXPECT_EQ(FirstFrame().first, 0);
}

TEST_F(SoundMixerTest, AJournalNeverTakenKeepsOnlyTheLatestCalls) {
    mixer.TakeJournal();
    for (int volume = 0; volume < static_cast<int>(SoundMixer::kJournalLimit) * 3; ++volume) {
        mixer.SetSfxMasterVolume(volume % 256);
    }
    const std::vector<std::string> journal = mixer.TakeJournal();
    EXPECT_LE(journal.size(), SoundMixer::kJournalLimit);
    EXPECT_GE(journal.size(), SoundMixer::kJournalLimit / 2);
    EXPECT_EQ(journal.back(), "SetSfxMasterVolume " + std::to_string((SoundMixer::kJournalLimit * 3 - 1) % 256));
}

// The sum of many voices meets the limiter in place of the 16-bit edge.
class LoudMixTest : public SoundMixerTest {
protected:
    void SetUp() override { ASSERT_TRUE(mixer.Init(44100, 32, AudioOutput::Null)); }

    // A sine of `amplitude` lasting `frames`.
    platform::SoundSampleId LoadSine(size_t frames, double amplitude, double hertz = 441.0) {
        std::vector<int16_t> samples(frames);
        for (size_t i = 0; i < frames; ++i) {
            samples[i] = static_cast<int16_t>(std::lround(amplitude * std::sin(2 * std::numbers::pi * hertz * i / 44100.0)));
        }
        return LoadWav(1, 44100, samples);
    }

    void Play(platform::SoundSampleId sample, int count, int volume = 255, int pan = 128) {
        for (int i = 0; i < count; ++i) {
            const int32_t channel = mixer.PlaySound(sample, true);
            ASSERT_GE(channel, 0);
            mixer.SetVolume(channel, volume);
            mixer.SetPan(channel, pan);
            mixer.SetPaused(channel, false);
        }
    }

    static int Peak(const std::vector<int16_t>& mix) {
        int peak = 0;
        for (const int16_t sample : mix) {
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        }
        return peak;
    }
};

TEST_F(LoudMixTest, ManyLoudVoicesNeverReachFullScale) {
    struct Case {
        const char* what;
        std::vector<int16_t> samples;
    };
    std::vector<int16_t> alternating(4410);
    for (size_t i = 0; i < alternating.size(); ++i) {
        alternating[i] = i % 2 == 0 ? 32767 : -32768;
    }
    const Case cases[] = {{"highest", ConstantSamples(4410, 1, 32767)},
                          {"lowest", ConstantSamples(4410, 1, -32768)},
                          {"full-scale steps at every frame", alternating}};
    for (const Case& c : cases) {
        const auto sample = LoadWav(1, 44100, c.samples);
        Play(sample, 32);
        const std::vector<int16_t> mix = mixer.MixNullOutput(4410);
        EXPECT_LT(Peak(mix), 32767) << c.what;
        EXPECT_GT(Peak(mix), 30000) << c.what;
        mixer.SampleFree(sample);
    }
    // Sines out of step with each other, at every effects master volume.
    for (int master : {255, 200, 128}) {
        mixer.SetSfxMasterVolume(master);
        for (int voice = 0; voice < 32; ++voice) {
            Play(LoadSine(4000, 32767, 300.0 + 37.0 * voice), 1);
        }
        const std::vector<int16_t> mix = mixer.MixNullOutput(4410);
        EXPECT_LT(Peak(mix), 32767) << master;
        EXPECT_GT(Peak(mix), 30000) << master;
    }
}

TEST_F(LoudMixTest, AVoiceBelowTheThresholdPassesUnchangedEvenAfterALoudPassage) {
    const auto quiet = LoadSine(4410, platform::PeakLimiter::kThreshold - 1);
    const auto loud = LoadSine(4410, 30000);
    auto passesUnchanged = [&] {
        Play(quiet, 1);
        const std::vector<int16_t> mix = mixer.MixNullOutput(4410);
        for (size_t i = 0; i < 4410; ++i) {
            if (mix[2 * i] != static_cast<int16_t>(std::lround((platform::PeakLimiter::kThreshold - 1) *
                                                                std::sin(2 * std::numbers::pi * 441.0 * i / 44100.0)))) {
                return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(passesUnchanged());
    // Right after eight loud voices the gain is still down; half a second
    // later it is back at 1.
    Play(loud, 8);
    mixer.MixNullOutput(4410);
    EXPECT_FALSE(passesUnchanged());
    mixer.MixNullOutput(22050);
    EXPECT_TRUE(passesUnchanged());
}

TEST_F(LoudMixTest, LimitedMixesKeepTheirRelativeLevels) {
    // More voices sound louder, however many there are.
    const auto sample = LoadWav(1, 44100, ConstantSamples(4410, 1, 12000));
    int previous = 0;
    for (int voices = 1; voices <= 16; ++voices) {
        Play(sample, voices);
        const int level = mixer.MixNullOutput(4410)[2 * 4409];
        EXPECT_GT(level, previous) << voices;
        EXPECT_LT(level, 32767) << voices;
        previous = level;
    }
    mixer.MixNullOutput(4410);
    // One gain for both sides: a limited left keeps the right in proportion.
    Play(sample, 4, 255, 0);
    Play(sample, 1, 128, 255);
    const std::vector<int16_t> mix = mixer.MixNullOutput(4410);
    const double left = mix[2 * 4409];
    const double right = mix[2 * 4409 + 1];
    EXPECT_LT(left, 4 * 12000);
    EXPECT_NEAR(right / left, (12000 * 128 / 255.0) / (4 * 12000), 0.001);
}

class SoundStreamTest : public SoundMixerTest {
protected:
    std::string WriteRampWav(int rate, size_t frames) {
        const std::string path = folder.Path() + "/music.wav";
        WriteBytes(path, MakeWav(1, rate, 16, RampSamples(frames, 0)));
        return path;
    }

    TempFolder folder;
};

TEST_F(SoundStreamTest, PositionRoundTripsThroughStopAndPlay) {
    const auto stream = mixer.StreamOpen(WriteRampWav(44100, 5000), 0x132);
    ASSERT_NE(stream, 0u);
    const int32_t channel = mixer.StreamPlay(stream);
    ASSERT_GE(channel, 0);
    const std::vector<int16_t> mix = mixer.MixNullOutput(300);
    EXPECT_EQ(mix[0], 0);
    EXPECT_EQ(mix[2 * 299], 299);
    EXPECT_EQ(mixer.StreamGetPosition(stream), 300u);
    ASSERT_TRUE(mixer.StreamStop(stream));
    EXPECT_FALSE(mixer.ChannelState(channel).playing);
    EXPECT_EQ(mixer.StreamGetPosition(stream), 300u);
    ASSERT_TRUE(mixer.StreamSetPosition(stream, 1000));
    mixer.StreamPlay(stream);
    EXPECT_EQ(FirstFrame().first, 1000);
    EXPECT_EQ(mixer.StreamGetPosition(stream), 1001u);
    EXPECT_TRUE(mixer.StreamClose(stream));
    EXPECT_FALSE(mixer.StreamClose(stream));
    EXPECT_EQ(mixer.StreamPlay(stream), -1);
}

TEST_F(SoundStreamTest, LoopingStreamWrapsAndOneShotStreamEnds) {
    const std::string path = WriteRampWav(44100, 100);
    const auto looping = mixer.StreamOpen(path, platform::kSoundLoopNormal);
    const int32_t loopChannel = mixer.StreamPlay(looping);
    const std::vector<int16_t> mix = mixer.MixNullOutput(150);
    EXPECT_EQ(mix[2 * 99], 99);
    EXPECT_EQ(mix[2 * 100], 0);
    EXPECT_EQ(mixer.StreamGetPosition(looping), 50u);
    mixer.StreamStop(looping);
    EXPECT_FALSE(mixer.ChannelState(loopChannel).playing);

    const auto once = mixer.StreamOpen(path, 0);
    const int32_t channel = mixer.StreamPlay(once);
    mixer.MixNullOutput(150);
    EXPECT_FALSE(mixer.ChannelState(channel).playing);
}

TEST_F(SoundStreamTest, OggStreamPlaysAtItsOwnRateAndKeepsSyncPoints) {
    const auto stream = mixer.StreamOpen(OggFixturePath("tone_mono_22050"), 0x132);
    ASSERT_NE(stream, 0u);
    EXPECT_TRUE(mixer.StreamAddSyncPoint(stream, 3000, ""));
    EXPECT_TRUE(mixer.StreamAddSyncPoint(stream, 1000, ""));
    EXPECT_THAT(mixer.StreamSyncPoints(stream), ElementsAre(1000u, 3000u));
    const int32_t channel = mixer.StreamPlay(stream);
    mixer.SetVolumeAbsolute(channel, 255);
    const std::vector<int16_t> mix = mixer.MixNullOutput(1000);
    EXPECT_EQ(mixer.StreamGetPosition(stream), 500u);
    int peak = 0;
    for (const int16_t sample : mix) {
        peak = std::max<int>(peak, sample);
    }
    EXPECT_GT(peak, 10000);
    EXPECT_FALSE(mixer.StreamAddSyncPoint(stream + 100, 1, ""));
}

TEST_F(SoundStreamTest, MissingOrDamagedStreamFilesDoNotOpen) {
    EXPECT_EQ(mixer.StreamOpen(folder.Path() + "/missing.ogg", 0x132), 0u);
    const std::string junk = folder.Path() + "/junk.ogg";
    WriteBytes(junk, {'O', 'g', 'g', 'S', 1, 2, 3});
    EXPECT_EQ(mixer.StreamOpen(junk, 0x132), 0u);
}

// The real output path through SDL's audio thread (the dummy driver in CI).
TEST(SoundDeviceTest, PlaysThroughTheDeviceAndCloses) {
    // SDL's dummy driver unless the run names one, so no sound card is needed.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    SoundMixer mixer;
    if (!mixer.Init(44100, 8, AudioOutput::Device)) {
        GTEST_SKIP() << "no audio device";
    }
    const std::vector<uint8_t> wav = MakeWav(1, 44100, 16, ConstantSamples(4410, 1, 1000));
    const auto sample = mixer.SampleLoadMemory(wav.data(), wav.size(), 0x8130);
    ASSERT_NE(sample, 0u);
    EXPECT_GE(mixer.PlaySound(sample, false), 0);
    EXPECT_TRUE(mixer.TakeJournal().empty());  // only the null output records
    mixer.Close();
    EXPECT_FALSE(mixer.IsOpen());
}

TEST(SoundOutputTest, ChosenFromTheEnvironment) {
    struct Case {
        const char* audio;
        const char* backend;
        AudioOutput expected;
    };
    const Case cases[] = {{"off", "", AudioOutput::Off},
                          {"null", "", AudioOutput::Null},
                          {"sdl", "headless", AudioOutput::Device},
                          {"", "headless", AudioOutput::Null}};
    const char* savedAudio = std::getenv("WORDRAIL_AUDIO");
    const std::string keepAudio = savedAudio != nullptr ? savedAudio : "";
    const char* savedBackend = std::getenv("WORDRAIL_BACKEND");
    const std::string keepBackend = savedBackend != nullptr ? savedBackend : "";
    for (const Case& c : cases) {
        setenv("WORDRAIL_AUDIO", c.audio, 1);
        setenv("WORDRAIL_BACKEND", c.backend, 1);
        platform::ReloadRunOptionsForTesting();
        EXPECT_EQ(platform::AudioOutputFromEnvironment(), c.expected) << c.audio << " " << c.backend;
    }
    setenv("WORDRAIL_AUDIO", keepAudio.c_str(), 1);
    setenv("WORDRAIL_BACKEND", keepBackend.c_str(), 1);
    platform::ReloadRunOptionsForTesting();
}

}  // namespace
