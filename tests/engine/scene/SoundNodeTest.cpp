#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/foundation/ClassFactory.h"
#include "engine/media/SoundAvailable.h"
#include "engine/scene/HeadlessWindow.h"
#include "engine/scene/SceneTestSupport.h"
#include "engine/scene/SoundNode.h"
#include "platform/SoundMixer.h"
#include "support/SoundFixtures.h"
#include "support/TempFolder.h"

namespace {

// A 500 ms sample on the silent output, whose calls the mixer records.
class SoundNodeTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Mixer().Init(44100, 8, platform::AudioOutput::Null));
        SetSoundAvailable(true);
        const std::string path = folder_.Path() + "/beep.wav";
        WriteBytes(path, MakeWav(1, 44100, 16, ConstantSamples(22050, 1, 1000)));
        sample_ = new SoundSample;
        ASSERT_EQ(sample_->LoadSample(path, SoundSample::kModeFlags, LoadMode::File), 0);
        sample_->SetVolumeMultiplier(1.0f);
        Mixer().TakeJournal();
    }
    void TearDown() override {
        sample_.Reset();
        SetSoundAvailable(false);
        Mixer().Close();
    }

    static platform::SoundMixer& Mixer() { return platform::SoundMixer::Instance(); }
    // How many mixer calls since the last look begin with `call`.
    static int Calls(const std::string& call) {
        const std::vector<std::string> journal = Mixer().TakeJournal();
        return static_cast<int>(std::count_if(journal.begin(), journal.end(), [&](const std::string& line) {
            return line.rfind(call + " ", 0) == 0;
        }));
    }
    Ref<SoundNode> Node() const { return Ref<SoundNode>(SoundNode::ConstructFromSample(sample_.Get())); }

    TempFolder folder_;
    Ref<SoundSample> sample_;
};

TEST_F(SoundNodeTest, UsesAreCountedAndASoonRestartIsHeldBack) {
    const Ref<SoundNode> node = Node();
    EXPECT_EQ(node->GetVolume(), 255);
    const int32_t channel = node->StartSound(255, 128, false, false);
    EXPECT_NE(channel, -1);
    EXPECT_EQ(node->GetRemaining(), 500);
    node->Update(100);
    // 100 ms after the start: not played again, but counted.
    EXPECT_EQ(node->StartSound(255, 128, false, false), channel);
    EXPECT_EQ(node->GetUsers(), 2);
    EXPECT_EQ(Calls("PlaySound"), 1);
    EXPECT_FALSE(node->StopSound(false));
    EXPECT_TRUE(Mixer().ChannelState(channel).playing);
    EXPECT_TRUE(node->StopSound(false));
    EXPECT_EQ(node->GetChannel(), -1);
    EXPECT_FALSE(Mixer().ChannelState(channel).playing);
    EXPECT_FALSE(node->StopSound(false));  // no use left

    // 250 ms after a start, a start plays again.
    node->StartSound(255, 128, false, false);
    node->Update(250);
    node->StartSound(255, 128, false, false);
    EXPECT_EQ(Calls("PlaySound"), 2);
    // A forced restart always plays.
    node->StartSound(255, 128, true, false);
    EXPECT_EQ(Calls("PlaySound"), 1);
}

TEST_F(SoundNodeTest, ALoopingSoundPlaysOnceAndStopsWithItsLastUse) {
    const Ref<SoundNode> node = Node();
    const int32_t channel = node->StartSound(255, 128, false, true);
    node->Update(1000);  // a loop never runs out
    EXPECT_EQ(node->StartSound(255, 128, false, false), channel);
    EXPECT_EQ(Calls("PlaySound"), 1);
    EXPECT_FALSE(node->StopSound(false));
    EXPECT_TRUE(Mixer().ChannelState(channel).playing);
    EXPECT_TRUE(node->StopSound(false));
    EXPECT_FALSE(Mixer().ChannelState(channel).playing);
}

TEST_F(SoundNodeTest, AForcedStopEndsEveryUse) {
    const Ref<SoundNode> node = Node();
    node->StartSound(255, 128, false, false);
    node->StartSound(255, 128, false, false);
    EXPECT_TRUE(node->StopSound(true));
    EXPECT_EQ(node->GetUsers(), 0);
}

TEST_F(SoundNodeTest, PlayTimeRunningOutEndsOneUseAFrame) {
    const Ref<SoundNode> node = Node();
    node->StartSound(255, 128, false, false);
    node->StartSound(255, 128, false, false);
    node->Update(499);
    EXPECT_EQ(node->GetUsers(), 2);
    node->Update(1);
    EXPECT_EQ(node->GetUsers(), 1);
    node->Update(16);
    EXPECT_EQ(node->GetUsers(), 0);
    EXPECT_EQ(Calls("StopSound"), 1);
}

TEST_F(SoundNodeTest, WithoutSoundNothingStartsOrCounts) {
    const Ref<SoundNode> node = Node();
    SetSoundAvailable(false);
    EXPECT_EQ(node->StartSound(255, 128, false, false), -1);
    EXPECT_EQ(node->GetUsers(), 0);
    EXPECT_FALSE(node->StopSound(true));
    SetSoundAvailable(true);
}

TEST_F(SoundNodeTest, ScreenPanFollowsThePositionWithinItsBounds) {
    const HeadlessWindow window;
    const Ref<PropertyFile> file = ParseDefinitions(
        "<root><GameNode id=\"parent\" x=\"100\"><Vector id=\"children\">"
        "<SoundNode name=\"s\" screenpospanning=\"true\" panminvalue=\"64\" panmaxvalue=\"192\"/>"
        "</Vector></GameNode></root>");
    const Ref<Object> built(ClassFactory::Instance().Create(Property::Child(file.Get(), "parent")));
    auto* parent = ObjectCast<GameNode>(built.Get());
    ASSERT_NE(parent, nullptr);
    auto* node = ObjectCast<SoundNode>(parent->GetFirstChild());
    ASSERT_NE(node, nullptr);
    struct Case {
        int32_t x;  // the node's own x; the parent stands at 100
        int screenPan;
        int pan;
    };
    const Case cases[] = {
        {300, 128, 128},   // 400 of 800 rounds up from 127.5
        {-100, 0, 64},     // held at the lower bound
        {700, 255, 192},   // the right edge, held at the upper bound
        {800, 255, 192},   // beyond the right edge it stays right
        {-500, 0, 64},     // beyond the left edge it stays left
    };
    for (const Case& c : cases) {
        node->SetX(c.x);
        EXPECT_EQ(node->GetScreenPan(), c.screenPan) << c.x;
        node->Update(16);
        EXPECT_EQ(node->GetPan(), c.pan) << c.x;
    }
}

TEST_F(SoundNodeTest, ReadsItsDefinition) {
    RunningSectionManager sections;
    auto* section = new Section("sfx", false);
    section->AddResource("BEEP", new HeldResource(sample_.Get()));
    sections.Load(section);
    const Ref<PropertyFile> file = ParseDefinitions(
        "<root><SoundNode id=\"n\" sound=\"BEEP\" section=\"sfx\" looped=\"\" volume=\"300\" panning=\"-4\" "
        "forcedrestart=\"true\" forcedstop=\"true\" maxusers=\"3\" minstartinterval=\"50\"/>"
        "<SoundNode id=\"silent\" sound=\"NONE\" section=\"sfx\"/></root>");
    const Ref<Object> built(ClassFactory::Instance().Create(Property::Child(file.Get(), "n")));
    auto* node = ObjectCast<SoundNode>(built.Get());
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->GetSample(), sample_.Get());
    EXPECT_TRUE(node->IsLooped());  // only "false" is false
    EXPECT_EQ(node->GetVolume(), 255);
    EXPECT_EQ(node->GetPan(), 0);
    node->StartSound(node->GetVolume(), node->GetPan(), false, false);
    node->StartSound(node->GetVolume(), node->GetPan(), false, false);
    EXPECT_EQ(Calls("PlaySoundPaused"), 2);  // forced restarts, off centre
    EXPECT_TRUE(node->StopSound(false));  // forced stop

    const Ref<Object> silent(ClassFactory::Instance().Create(Property::Child(file.Get(), "silent")));
    auto* missing = ObjectCast<SoundNode>(silent.Get());
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->StartSound(255, 128, false, false), -1);
}

}  // namespace
