#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/media/MusicStream.h"
#include "engine/media/SoundAvailable.h"
#include "engine/media/SoundManager.h"
#include "platform/SoundMixer.h"
#include "support/SoundFixtures.h"
#include "support/TempFolder.h"

namespace {

using testing::Contains;
using testing::HasSubstr;
using testing::Not;

constexpr uint32_t kOpenMode = 306;

// The sound manager over the null output; Update is fed chosen frame times,
// so every fade is exact.
class SoundManagerTest : public testing::Test {
protected:
    void SetUp() override {
        manager = SoundManager::Create(44100, 0, 32, platform::AudioOutput::Null);
        ASSERT_TRUE(IsSoundAvailable());
        manager->SetMusicVolume(255);
    }
    void TearDown() override { SoundManager::Shutdown(); }

    Ref<MusicStream> MakeStream(const std::string& name) {
        const std::string path = folder.Path() + "/" + name + ".wav";
        WriteBytes(path, MakeWav(1, 44100, 16, RampSamples(20000, 0)));
        Ref<MusicStream> stream(new MusicStream);
        stream->SetFileName(path);
        return stream;
    }

    static platform::SoundMixer& Mixer() { return platform::SoundMixer::Instance(); }
    static int ChannelVolume(const MusicStream& stream) { return Mixer().ChannelState(stream.GetChannel()).volume; }
    static bool Plays(const MusicStream& stream) { return Mixer().ChannelState(stream.GetChannel()).playing; }

    TempFolder folder;
    SoundManager* manager = nullptr;
};

TEST_F(SoundManagerTest, ChannelVolumeCombinesByteMultiplierMusicVolumeAndLevel) {
    const Ref<MusicStream> music = MakeStream("a");
    ASSERT_TRUE(manager->PlayStream(music.Get(), kOpenMode));
    EXPECT_EQ(ChannelVolume(*music), 128);  // the stream's own default byte at level 1
    struct Case {
        uint8_t musicVolume;
        float multiplier;
        uint8_t byte;
        float level;
        int expected;
    };
    const Case cases[] = {
        {255, 1.0f, 128, 0.5f, 64}, {255, 1.0f, 255, 1.0f, 255}, {128, 1.0f, 255, 1.0f, 128},
        {255, 0.5f, 100, 1.0f, 50}, {255, 4.0f, 255, 1.0f, 255}, {255, -1.0f, 255, 1.0f, 0},
    };
    for (const Case& c : cases) {
        manager->SetMusicVolume(c.musicVolume);
        music->SetVolumeMultiplier(c.multiplier);
        music->SetFadeLevel(c.level);
        manager->ApplyStreamVolume(music.Get(), c.byte);
        EXPECT_EQ(ChannelVolume(*music), c.expected) << int{c.byte} << " x " << c.multiplier << " x " << c.level;
        EXPECT_EQ(music->GetVolume(), c.byte);
    }
}

TEST_F(SoundManagerTest, PlayStreamOpensWithSyncPointsAndReplacesTheCurrentMusic) {
    const Ref<MusicStream> first = MakeStream("a");
    const Ref<MusicStream> second = MakeStream("b");
    Mixer().TakeJournal();
    ASSERT_TRUE(manager->PlayStream(first.Get(), kOpenMode));
    EXPECT_THAT(Mixer().TakeJournal(), Contains(HasSubstr("StreamOpen mode=306")));
    EXPECT_TRUE(manager->PlayStream(first.Get(), kOpenMode));  // already the music: nothing new
    EXPECT_THAT(Mixer().TakeJournal(), Not(Contains(HasSubstr("StreamOpen"))));
    const int32_t firstChannel = first->GetChannel();
    ASSERT_TRUE(manager->PlayStream(second.Get(), kOpenMode));
    EXPECT_EQ(manager->GetCurrentStream(), second.Get());
    EXPECT_EQ(first->GetStream(), 0u);
    EXPECT_EQ(first->GetChannel(), -1);
    EXPECT_FALSE(Mixer().ChannelState(firstChannel).playing);

    // A stream that cannot be opened stays current without a handle.
    Ref<MusicStream> missing(new MusicStream);
    missing->SetFileName(folder.Path() + "/missing.ogg");
    EXPECT_FALSE(manager->PlayStream(missing.Get(), kOpenMode));
    EXPECT_EQ(manager->GetCurrentStream(), missing.Get());
    EXPECT_EQ(missing->GetStream(), 0u);
}

TEST_F(SoundManagerTest, CrossfadeWaitsRewindsFadesAndSwitches) {
    const Ref<MusicStream> old = MakeStream("a");
    const Ref<MusicStream> fresh = MakeStream("b");
    ASSERT_TRUE(manager->PlayStream(old.Get(), kOpenMode));
    manager->CrossfadeTo(fresh.Get(), 1000, 1.0f, 0, 600, kOpenMode);
    ASSERT_TRUE(manager->IsCrossfading());
    EXPECT_TRUE(Plays(*fresh));
    EXPECT_EQ(ChannelVolume(*fresh), 0);

    manager->Update(300);
    EXPECT_FLOAT_EQ(old->GetFadeLevel(), 0.7f);
    EXPECT_FLOAT_EQ(fresh->GetFadeLevel(), 0.0f);  // waiting: no fade yet
    Mixer().TakeJournal();
    manager->Update(300);
    EXPECT_THAT(Mixer().TakeJournal(), Contains("StreamSetPosition stream=" + std::to_string(fresh->GetStream()) +
                                                " position=0"));
    EXPECT_EQ(manager->GetStartDelay(), 0);
    EXPECT_FLOAT_EQ(fresh->GetFadeLevel(), 0.0f);

    manager->Update(16);  // a fade-in of 0 ms arrives in one frame
    EXPECT_FLOAT_EQ(fresh->GetFadeLevel(), 1.0f);
    EXPECT_EQ(ChannelVolume(*fresh), 128);
    EXPECT_EQ(manager->GetCurrentStream(), old.Get());

    manager->Update(400);  // the old music reaches 0: it is closed and the new one is current
    EXPECT_FALSE(manager->IsCrossfading());
    EXPECT_EQ(manager->GetCurrentStream(), fresh.Get());
    EXPECT_EQ(old->GetStream(), 0u);
    EXPECT_TRUE(Plays(*fresh));
}

TEST_F(SoundManagerTest, CrossfadeToTheSameFileDoesNothing) {
    const Ref<MusicStream> music = MakeStream("a");
    Ref<MusicStream> sameFile(new MusicStream);
    sameFile->SetFileName(music->GetFileName());
    ASSERT_TRUE(manager->PlayStream(music.Get(), kOpenMode));
    manager->CrossfadeTo(sameFile.Get(), 10, 0.5f, 10, 0, kOpenMode);
    EXPECT_FALSE(manager->IsCrossfading());
    EXPECT_EQ(manager->GetNextStream(), nullptr);
    EXPECT_FLOAT_EQ(music->GetFadeTarget(), 1.0f);
}

TEST_F(SoundManagerTest, CrossfadeToTheMusicFadingInLetsItFadeInAndPlayOn) {
    const Ref<MusicStream> old = MakeStream("a");
    const Ref<MusicStream> fresh = MakeStream("b");
    Ref<MusicStream> sameFile(new MusicStream);
    sameFile->SetFileName(fresh->GetFileName());
    ASSERT_TRUE(manager->PlayStream(old.Get(), kOpenMode));
    manager->CrossfadeTo(fresh.Get(), 1000, 1.0f, 1000, 0, kOpenMode);
    manager->Update(300);
    // A scene activated again asks for the music that is fading in.
    for (MusicStream* again : {fresh.Get(), sameFile.Get()}) {
        manager->CrossfadeTo(again, 1000, 1.0f, 1000, 0, kOpenMode);
        EXPECT_EQ(manager->GetCurrentStream(), old.Get());
        EXPECT_EQ(manager->GetNextStream(), fresh.Get());
    }
    for (int frame = 0; frame < 10; ++frame) {
        manager->Update(100);
    }
    EXPECT_FALSE(manager->IsCrossfading());
    EXPECT_EQ(manager->GetCurrentStream(), fresh.Get());
    EXPECT_EQ(old->GetStream(), 0u);
    EXPECT_NE(fresh->GetStream(), 0u);
    EXPECT_TRUE(Plays(*fresh));
    EXPECT_EQ(ChannelVolume(*fresh), 128);
}

// A level's end fades the music out and the next game asks for the same
// music; a scene left during a crossfade may be entered again at once.
TEST_F(SoundManagerTest, CrossfadeToTheMusicFadingOutBringsItBack) {
    const Ref<MusicStream> music = MakeStream("a");
    const Ref<MusicStream> other = MakeStream("b");
    ASSERT_TRUE(manager->PlayStream(music.Get(), kOpenMode));
    manager->SetFade(music.Get(), 1.0f, 0.0f, 100);
    manager->Update(200);
    ASSERT_EQ(ChannelVolume(*music), 0);
    manager->CrossfadeTo(music.Get(), 1000, 0.5f, 100, 600, kOpenMode);
    manager->Update(100);
    EXPECT_FALSE(manager->IsCrossfading());
    EXPECT_FLOAT_EQ(music->GetFadeLevel(), 0.5f);
    EXPECT_EQ(ChannelVolume(*music), 64);

    manager->CrossfadeTo(other.Get(), 1000, 1.0f, 100, 0, kOpenMode);
    manager->Update(300);
    manager->CrossfadeTo(music.Get(), 1000, 1.0f, 100, 600, kOpenMode);
    EXPECT_FALSE(manager->IsCrossfading());
    EXPECT_EQ(manager->GetNextStream(), nullptr);
    EXPECT_EQ(other->GetStream(), 0u);
    for (int frame = 0; frame < 10; ++frame) {
        manager->Update(100);
    }
    EXPECT_EQ(manager->GetCurrentStream(), music.Get());
    EXPECT_TRUE(Plays(*music));
    EXPECT_FLOAT_EQ(music->GetFadeLevel(), 1.0f);
}

TEST_F(SoundManagerTest, ASecondCrossfadeFinishesTheFirstOne) {
    const Ref<MusicStream> a = MakeStream("a");
    const Ref<MusicStream> b = MakeStream("b");
    const Ref<MusicStream> c = MakeStream("c");
    ASSERT_TRUE(manager->PlayStream(a.Get(), kOpenMode));
    manager->CrossfadeTo(b.Get(), 1000, 1.0f, 1000, 0, kOpenMode);
    manager->CrossfadeTo(c.Get(), 1000, 1.0f, 1000, 0, kOpenMode);
    EXPECT_EQ(a->GetStream(), 0u);
    EXPECT_EQ(manager->GetCurrentStream(), b.Get());
    EXPECT_EQ(manager->GetNextStream(), c.Get());
    EXPECT_TRUE(Plays(*b));
    EXPECT_TRUE(Plays(*c));
}

TEST_F(SoundManagerTest, PauseDuringACrossfadeKeepsThePositionOfTheNewMusic) {
    const Ref<MusicStream> old = MakeStream("a");
    const Ref<MusicStream> fresh = MakeStream("b");
    ASSERT_TRUE(manager->PlayStream(old.Get(), kOpenMode));
    manager->CrossfadeTo(fresh.Get(), 1000, 1.0f, 1000, 0, kOpenMode);
    Mixer().MixNullOutput(441);
    ASSERT_TRUE(manager->PauseMusic(0));
    EXPECT_TRUE(manager->IsPaused());
    EXPECT_FALSE(manager->IsCrossfading());
    EXPECT_EQ(manager->GetCurrentStream(), fresh.Get());
    EXPECT_EQ(old->GetStream(), 0u);
    EXPECT_EQ(fresh->GetSavedPosition(), 441u);
    EXPECT_FALSE(Plays(*fresh));
    EXPECT_FALSE(manager->PauseMusic(0));  // already paused

    // Playing it again resumes where it stopped.
    Mixer().TakeJournal();
    ASSERT_TRUE(manager->PlayStream(fresh.Get(), kOpenMode));
    EXPECT_THAT(Mixer().TakeJournal(), Contains(HasSubstr("position=441")));
    EXPECT_FALSE(manager->IsPaused());
    EXPECT_EQ(fresh->GetSavedPosition(), 0u);
    EXPECT_TRUE(Plays(*fresh));
}

TEST_F(SoundManagerTest, PauseWithAFadeStopsWhenTheMusicIsSilent) {
    const Ref<MusicStream> music = MakeStream("a");
    ASSERT_TRUE(manager->PlayStream(music.Get(), kOpenMode));
    EXPECT_FALSE(manager->PauseMusic(500));
    EXPECT_TRUE(manager->IsPausePending());
    EXPECT_FALSE(manager->PauseMusic(500));
    manager->Update(250);
    EXPECT_FLOAT_EQ(music->GetFadeLevel(), 0.5f);
    EXPECT_TRUE(Plays(*music));
    manager->Update(250);
    EXPECT_TRUE(manager->IsPaused());
    EXPECT_FALSE(manager->IsPausePending());
    EXPECT_FALSE(Plays(*music));
    EXPECT_NE(music->GetStream(), 0u);  // stopped, not closed
}

TEST_F(SoundManagerTest, MutedFadesGoOnSilentlyAndUnmutingAppliesThem) {
    const Ref<MusicStream> music = MakeStream("a");
    ASSERT_TRUE(manager->PlayStream(music.Get(), kOpenMode));
    manager->SetEffectsVolume(200);
    Mixer().TakeJournal();
    manager->SetMuted(true);
    EXPECT_THAT(Mixer().TakeJournal(),
                testing::ElementsAre("SetSfxMasterVolume 0", HasSubstr("SetVolumeAbsolute channel=" +
                                                                        std::to_string(music->GetChannel()) +
                                                                        " volume=0")));
    manager->SetFade(music.Get(), 1.0f, 0.5f, 100);
    manager->Update(100);
    manager->SetEffectsVolume(100);
    EXPECT_FLOAT_EQ(music->GetFadeLevel(), 0.5f);
    EXPECT_TRUE(Mixer().TakeJournal().empty());
    EXPECT_EQ(ChannelVolume(*music), 0);
    manager->SetMuted(false);
    EXPECT_THAT(Mixer().TakeJournal(), Contains("SetSfxMasterVolume 100"));
    EXPECT_EQ(ChannelVolume(*music), 64);
}

TEST(SoundManagerSilentTest, WithoutOutputEveryOperationIsANoOp) {
    SoundManager* manager = SoundManager::Create(44100, 0, 32, platform::AudioOutput::Off);
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(SoundManager::Get(), manager);
    EXPECT_FALSE(IsSoundAvailable());
    TempFolder folder;
    const std::string path = folder.Path() + "/a.wav";
    WriteBytes(path, MakeWav(1, 44100, 16, RampSamples(100, 0)));
    Ref<MusicStream> music(new MusicStream);
    music->SetFileName(path);
    EXPECT_FALSE(manager->PlayStream(music.Get(), kOpenMode));
    manager->CrossfadeTo(music.Get(), 100, 1.0f, 100, 0, kOpenMode);
    EXPECT_FALSE(manager->IsCrossfading());
    EXPECT_FALSE(manager->PauseMusic(0));
    manager->Update(100);
    manager->SetMuted(true);
    EXPECT_EQ(manager->GetCurrentStream(), nullptr);
    EXPECT_EQ(music->GetStream(), 0u);
    SoundManager::Shutdown();
    EXPECT_EQ(SoundManager::Get(), nullptr);
}

}  // namespace
