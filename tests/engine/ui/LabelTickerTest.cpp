#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "engine/foundation/Folders.h"
#include "engine/media/SoundManager.h"
#include "engine/ui/LabelTicker.h"
#include "platform/SoundMixer.h"
#include "support/SoundFixtures.h"
#include "support/TempFolder.h"

namespace {

// Fonts, and a section "sfx" holding the sound "TICK", played on the silent output.
class LabelTickerTest : public testing::Test {
protected:
    LabelTickerTest() : previous_(std::filesystem::current_path()) {
        ForgetFoldersForTesting();
        std::filesystem::current_path(folder_.Path());
        std::filesystem::create_directories("media/snd");
        WriteBytes("media/snd/tick.wav", MakeWav(1, 22050, 16, ConstantSamples(2205, 1, 1000)));
        SoundManager::Create(44100, 0, 32, platform::AudioOutput::Null);
        const Ref<PropertyFile> definitions =
            ParseDefinitions(R"(<root><Sound id="TICK" file="media/snd/tick.wav"/></root>)");
        auto* section = new Section("sfx", false);
        section->AddResource("TICK", ObjectCast<Resource>(ClassFactory::Instance().Create(
                                         definitions->IndexOrder().front().Get())));
        resources_.Load(section);
        platform::SoundMixer::Instance().TakeJournal();
    }
    ~LabelTickerTest() override {
        SoundManager::Shutdown();
        std::filesystem::current_path(previous_);
        ForgetFoldersForTesting();
    }

    static Ref<LabelTicker> Build(const std::string& attributes) {
        return BuildFromXml<LabelTicker>("<LabelTicker id=\"t\" sound=\"TICK\" soundsection=\"sfx\" dot=\"false\" " +
                                         attributes +
                                         "><Label id=\"label\" font=\"TINY\" section=\"fonts\"/></LabelTicker>");
    }

    static int Plays() {
        int plays = 0;
        for (const std::string& line : platform::SoundMixer::Instance().TakeJournal()) {
            plays += line.rfind("PlaySound", 0) == 0 ? 1 : 0;
        }
        return plays;
    }

    static int32_t Count(void* context, int32_t /*argument*/) {
        ++*static_cast<int*>(context);
        return 0;
    }

    TempFolder folder_;
    std::filesystem::path previous_;
    UiResources resources_;
};

TEST_F(LabelTickerTest, StepsTowardTheTargetByItsType) {
    const struct {
        std::string attributes;
        int32_t updateMs;
        std::vector<std::wstring> shown;
    } cases[] = {
        {"type=\"tenfold\" param=\"1\" interval=\"100\" target=\"123\"", 100,
         {L"100", L"110", L"120", L"121", L"122", L"123"}},
        // Intervals falling into one update share the step chosen at its start;
        // passing the target snaps to it.
        {"type=\"tenfold\" param=\"1\" interval=\"100\" target=\"123\"", 300, {L"123"}},
        {"type=\"value\" add=\"5\" interval=\"10\" value=\"20\" target=\"8\"", 10, {L"15", L"10", L"8"}},
        {"type=\"value\" add=\"5\" interval=\"30\" target=\"12\"", 20, {L"0", L"5", L"10", L"10", L"12"}},
        // Half the way each update; within 1 of the target it snaps.
        {"type=\"relative\" param=\"5\" interval=\"100\" target=\"100\"", 100,
         {L"50", L"75", L"87", L"93", L"96", L"98", L"100"}},
        // No stepping is defined without an interval, or in no time: the target shows at once.
        {"type=\"value\" add=\"5\" interval=\"0\" target=\"40\"", 10, {L"40"}},
        {"type=\"tenfold\" param=\"1\" interval=\"-5\" target=\"40\"", 10, {L"40"}},
        {"type=\"time\" param=\"0\" interval=\"10\" target=\"40\"", 10, {L"40"}},
    };
    for (const auto& c : cases) {
        const Ref<LabelTicker> ticker = Build(c.attributes);
        ASSERT_TRUE(ticker && ticker->GetLabel()) << c.attributes;
        int callbacks = 0;
        ticker->Bind(&callbacks, Count);
        std::vector<std::wstring> shown;
        for (int update = 0; update < 20 && ticker->GetCurrent() != ticker->GetTarget(); ++update) {
            ticker->Update(c.updateMs);
            shown.push_back(ticker->GetLabel()->GetText());
        }
        EXPECT_EQ(shown, c.shown) << c.attributes;
        // A sound for every moving update, the callback once, in the last.
        EXPECT_EQ(Plays(), static_cast<int>(c.shown.size())) << c.attributes;
        EXPECT_EQ(callbacks, 1) << c.attributes;
        ticker->Update(c.updateMs);
        EXPECT_EQ(Plays(), 0) << c.attributes;
        EXPECT_EQ(callbacks, 1) << c.attributes;
    }
}

TEST_F(LabelTickerTest, TimeTypeReachesTheTargetInAboutItsParameter) {
    const Ref<LabelTicker> ticker = Build("type=\"time\" param=\"200\" interval=\"10\"");
    ticker->SetValue(0);
    ticker->SetTarget(1000);
    int updates = 0;
    double last = 0;
    for (; updates < 100 && ticker->GetCurrent() != ticker->GetTarget(); ++updates) {
        ticker->Update(20);
        EXPECT_GE(ticker->GetCurrent(), last);
        last = ticker->GetCurrent();
    }
    EXPECT_EQ(ticker->GetLabel()->GetText(), L"1000");
    EXPECT_LT(updates, 100);
}

TEST_F(LabelTickerTest, JumpsAndSetsValues) {
    const Ref<LabelTicker> ticker = Build("type=\"value\" add=\"1\" interval=\"10\"");
    ticker->SetTarget(99.7);
    ticker->JumpToTarget();
    ticker->Update(0);
    EXPECT_EQ(ticker->GetLabel()->GetText(), L"99");
    ticker->SetValue(-1234);
    EXPECT_EQ(ticker->GetLabel()->GetText(), L"-1234");
    EXPECT_EQ(ticker->GetTarget(), -1234);
}

}  // namespace
