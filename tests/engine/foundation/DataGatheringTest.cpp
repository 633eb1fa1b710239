#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GameConstants.h"
#include "engine/foundation/DataGathering.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/RegistryValues.h"
#include "platform/Files.h"
#include "platform/Time.h"
#include "support/TempUserFolders.h"

namespace {

uint32_t fakeTicks = 0;

uint32_t FakeTicks() {
    return fakeTicks;
}

class DataGatheringTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseTestGameConstants();
        ForgetFoldersForTesting();
        fakeTicks = 1000;
    }
    void TearDown() override {
        DataGathering::SetWindowFactsSource({});
        ForgetFoldersForTesting();
    }

    static uint32_t StoredTotal() {
        RegistryDword total(MakeEngineRegistryPath("totalplayingtime"), false, 0);
        return total.Read();
    }

    // One run: start, the given sessions (game mode, players), `seconds` of play, shutdown.
    static void Run(const std::vector<std::pair<int, int>>& sessions, uint32_t seconds) {
        DataGathering::Start(FakeTicks);
        for (const auto& [mode, players] : sessions) {
            DataGathering::AddPlayingSession(mode, players);
        }
        fakeTicks += seconds * 1000 + 999;  // part of a second does not count
        DataGathering::AddPlayingTime();
    }

    static Ref<PropertyFile> ReadReport() {
        Ref<PropertyFile> report(new PropertyFile());
        report->SetLoadMode(LoadMode::File);
        EXPECT_TRUE(report->LoadOne(GetGameTempFolder() + "/gd.xml"));
        return report;
    }

    static std::vector<std::string> ChildNames(const Property* node) {
        std::vector<std::string> names;
        for (const Ref<Property>& child : static_cast<const PropertyNode*>(node)->IndexOrder()) {
            names.push_back(child->Name());
        }
        return names;
    }

    TempUserFolders userFolders_;
};

TEST_F(DataGatheringTest, FirstRunWritesTheReportAndThePlayingTime) {
    DataGathering::SetWindowFactsSource([] { return WindowFacts{true, 16}; });
    fakeTicks = 0xFFFFFFFFu - 1000;  // the run crosses the tick wrap
    const int64_t before = platform::UnixSeconds();
    DataGathering::Start(FakeTicks);
    const std::string reportName = GetGameTempFolder() + "/gd.xml";
    ASSERT_NE(DataGathering::Instance(), nullptr);
    EXPECT_EQ(DataGathering::Instance()->ReportFileName(), reportName);
    EXPECT_EQ(RegistryString(MakeEngineRegistryPath("dgfilename"), false, "").Read(), reportName);

    DataGathering::AddPlayingSession(0, 3);
    DataGathering::AddPlayingSession(2, 1);
    fakeTicks += 90 * 60 * 1000;
    DataGathering::AddPlayingTime();
    EXPECT_EQ(DataGathering::Instance(), nullptr);
    EXPECT_EQ(StoredTotal(), 5400u);

    const Ref<PropertyFile> report = ReadReport();
    const Property* gathered = Property::Child(report.Get(), "DataGathering");
    const Property* info = Property::Child(gathered, "SystemInfo");
    const std::vector<std::string> expectedFacts = {"GameId", "CompName", "CPUSpeed", "CPUType", "NumberOfCPUs",
                                                    "CPUCaps", "OSName", "WinBuild", "SysMem", "DirectX",
                                                    "ScreenWidth", "ScreenHeight", "BitDepth"};
    EXPECT_EQ(ChildNames(info), expectedFacts);
    EXPECT_EQ(Property::AsString(Property::Child(info, "GameId")), GetGameId());
    EXPECT_EQ(Property::AsInt(Property::Child(info, "CPUCaps")), 0);
    EXPECT_EQ(Property::AsString(Property::Child(info, "DirectX")), "#0900");

    const Property* sessions = Property::Child(gathered, "PlayingSessions");
    ASSERT_NE(sessions, nullptr);
    ASSERT_EQ(sessions->GetKind(), Property::kVector);
    ASSERT_EQ(static_cast<const PropertyVector*>(sessions)->Count(), 2);
    const Property* first = Property::At(sessions, 0);
    EXPECT_EQ(ChildNames(first), (std::vector<std::string>{"StartTime", "EndTime", "GameMode", "NumOfPlayers",
                                                           "FullScreen", "BitDepth", "ScreenWidth",
                                                           "ScreenHeight"}));
    EXPECT_GE(Property::AsInt(Property::Child(first, "StartTime")), before);
    EXPECT_EQ(Property::AsInt(Property::Child(first, "EndTime")), 0);
    EXPECT_EQ(Property::AsInt(Property::Child(first, "NumOfPlayers")), 3);
    EXPECT_TRUE(Property::AsBool(Property::Child(first, "FullScreen")));
    EXPECT_EQ(Property::AsInt(Property::Child(first, "BitDepth")), 16);
    EXPECT_EQ(Property::AsInt(Property::Child(Property::At(sessions, 1), "GameMode")), 2);
}

TEST_F(DataGatheringTest, LaterRunsKeepOldSessionsAndReplaceTheFacts) {
    Run({{1, 1}}, 60);
    Run({{2, 2}, {3, 3}}, 30);
    EXPECT_EQ(StoredTotal(), 90u);

    const Ref<PropertyFile> report = ReadReport();
    const Property* gathered = Property::Child(report.Get(), "DataGathering");
    EXPECT_EQ(ChildNames(Property::Child(gathered, "SystemInfo")).size(), 13u);
    const Property* sessions = Property::Child(gathered, "PlayingSessions");
    ASSERT_EQ(static_cast<const PropertyVector*>(sessions)->Count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Property::AsInt(Property::Child(Property::At(sessions, i), "GameMode")), i + 1);
    }
}

TEST_F(DataGatheringTest, ABrokenOrForeignReportIsBegunAnew) {
    const char* const contents[] = {
        "<root><Other id=\"kept?\"/></root>",
        "<root><Integer id=\"DataGathering\" value=\"1\"/></root>",
        "<root><Node id=\"DataGathering\"><Integer id=\"PlayingSessions\" value=\"1\"/></Node></root>",
        "not xml at all <<<",
        "",
    };
    for (const char* content : contents) {
        const std::string reportName = GetGameTempFolder() + "/gd.xml";
        ASSERT_TRUE(platform::WriteFileAtomically(reportName, content, std::string(content).size()));
        Run({{7, 1}}, 1);
        const Ref<PropertyFile> report = ReadReport();
        EXPECT_EQ(Property::Child(report.Get(), "Other"), nullptr) << content;
        const Property* sessions =
            Property::Child(Property::Child(report.Get(), "DataGathering"), "PlayingSessions");
        ASSERT_NE(sessions, nullptr) << content;
        ASSERT_EQ(sessions->GetKind(), Property::kVector) << content;
        EXPECT_EQ(static_cast<const PropertyVector*>(sessions)->Count(), 1) << content;
    }
}

TEST_F(DataGatheringTest, AFailedRegistryWriteKeepsTheOldTotal) {
    Run({}, 100);
    DataGathering::Start(FakeTicks);
    fakeTicks += 50 * 1000;
    platform::FailNextAtomicWriteForTesting();
    DataGathering::AddPlayingTime();
    EXPECT_EQ(StoredTotal(), 100u);
}

TEST_F(DataGatheringTest, WithoutARecordNothingHappens) {
    DataGathering::AddPlayingSession(0, 1);
    DataGathering::AddPlayingTime();
    EXPECT_FALSE(platform::FileExists(GetGameTempFolder() + "/gd.xml"));
    EXPECT_EQ(StoredTotal(), 0u);
}

}  // namespace
