#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/foundation/Scrambler.h"
#include "engine/media/SoundAvailable.h"
#include "engine/media/SoundSample.h"
#include "platform/SoundMixer.h"
#include "support/SoundFixtures.h"
#include "support/TempFolder.h"

namespace {

using testing::ElementsAre;
using testing::HasSubstr;

class SoundSampleTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Mixer().Init(44100, 8, platform::AudioOutput::Null));
        SetSoundAvailable(true);
        path = folder.Path() + "/beep.wav";
        WriteBytes(path, MakeWav(1, 22050, 16, ConstantSamples(11025, 1, 1000)));
    }
    void TearDown() override {
        SetSoundAvailable(false);
        Mixer().Close();
    }

    static platform::SoundMixer& Mixer() { return platform::SoundMixer::Instance(); }

    TempFolder folder;
    std::string path;
};

TEST_F(SoundSampleTest, LoadsLooseAndScrambledFilesWithTheirModeFlags) {
    const Ref<SoundSample> loose(new SoundSample);
    EXPECT_EQ(loose->LoadSample(path, SoundSample::kModeFlags, LoadMode::File), 0);
    EXPECT_NE(loose->Handle(), 0u);
    EXPECT_EQ(loose->GetSampleLengthMs(), 500u);  // converted to the output rate when loaded

    std::vector<uint8_t> bytes = MakeWav(1, 44100, 16, ConstantSamples(441, 1, 1000));
    DescrambleBuffer(bytes.data(), bytes.size());
    WriteBytes(path + ".!", bytes);
    const Ref<SoundSample> scrambled(new SoundSample);
    Mixer().TakeJournal();
    EXPECT_EQ(scrambled->LoadSample(path, SoundSample::kModeFlags, LoadMode::ScrambledFile), 0);
    EXPECT_THAT(Mixer().TakeJournal(), ElementsAre(HasSubstr("SampleLoad memory mode=0x8130")));
    EXPECT_EQ(scrambled->GetSampleLengthMs(), 10u);

    const Ref<SoundSample> missing(new SoundSample);
    EXPECT_EQ(missing->LoadSample(folder.Path() + "/none.wav", SoundSample::kModeFlags, LoadMode::File), -1);
    EXPECT_EQ(missing->LoadSample(folder.Path() + "/none.wav", SoundSample::kModeFlags, LoadMode::ScrambledFile), -1);
    EXPECT_EQ(missing->PlaySample(255, 128, false), -1);
}

TEST_F(SoundSampleTest, VolumeAndPanAreRoundedClampedAndChooseTheStart) {
    const Ref<SoundSample> sample(new SoundSample);
    ASSERT_EQ(sample->LoadSample(path, SoundSample::kModeFlags, LoadMode::File), 0);
    struct Case {
        int volume;
        float multiplier;
        int pan;
        bool loop;
        int expectedVolume;
        int expectedPan;
        bool direct;
    };
    const Case cases[] = {
        {200, 1.5f, 128, false, 255, 128, true},    // clamped to 255, centre: started directly
        {255, 1.0f, 127, false, 255, 127, false},   // off centre: started paused, then set
        {-10, 1.0f, 300, true, 0, 255, false},      // negative volume plays at 0; pan clamped
        {3, 255.0f, -5, false, 255, 0, false},      // the resource's default multiplier
        {101, 0.5f, 128, false, 51, 128, false},    // 50.5 rounds to 51
    };
    for (const Case& c : cases) {
        sample->SetVolumeMultiplier(c.multiplier);
        Mixer().TakeJournal();
        const int32_t channel = sample->PlaySample(c.volume, c.pan, c.loop);
        ASSERT_GE(channel, 0);
        const std::vector<std::string> calls = Mixer().TakeJournal();
        ASSERT_GE(calls.size(), 2u);
        EXPECT_THAT(calls[0], HasSubstr(c.loop ? "mode=2" : "mode=1"));
        EXPECT_THAT(calls[1], HasSubstr(c.direct ? "PlaySound sample" : "PlaySoundPaused"));
        EXPECT_EQ(calls.size(), c.direct ? 2u : 5u);
        const platform::SoundChannelState state = Mixer().ChannelState(channel);
        EXPECT_EQ(state.volume, c.expectedVolume) << c.volume << " x " << c.multiplier;
        EXPECT_EQ(state.pan, c.expectedPan);
        EXPECT_FALSE(state.paused);
        Mixer().StopSound(channel);
    }
}

TEST_F(SoundSampleTest, NothingHappensWhileSoundIsUnavailable) {
    SetSoundAvailable(false);
    const Ref<SoundSample> sample(new SoundSample);
    EXPECT_EQ(sample->LoadSample(path, SoundSample::kModeFlags, LoadMode::File), 0);
    EXPECT_EQ(sample->Handle(), 0u);
    EXPECT_EQ(sample->PlaySample(255, 128, false), -1);
    EXPECT_EQ(sample->GetSampleLengthMs(), 0u);
    EXPECT_TRUE(Mixer().TakeJournal().empty());
}

TEST_F(SoundSampleTest, ReleasingTheSampleStopsItsChannels) {
    Ref<SoundSample> sample(new SoundSample);
    ASSERT_EQ(sample->LoadSample(path, SoundSample::kModeFlags, LoadMode::File), 0);
    const int32_t channel = sample->PlaySample(255, 128, true);
    ASSERT_TRUE(Mixer().ChannelState(channel).playing);
    sample.Reset();
    EXPECT_FALSE(Mixer().ChannelState(channel).playing);
}

}  // namespace
