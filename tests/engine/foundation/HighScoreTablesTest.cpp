#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "engine/foundation/Folders.h"
#include "engine/foundation/HighScoreTables.h"
#include "platform/Files.h"
#include "support/TempUserFolders.h"

namespace {

class HighScoreTablesTest : public ::testing::Test {
protected:
    void SetUp() override { ForgetFoldersForTesting(); }
    void TearDown() override {
        HighScoreTables::Free();
        ForgetFoldersForTesting();
    }

    // A store read from disk, as the next run would see it.
    static HighScoreTables& Reload() {
        HighScoreTables::Free();
        HighScoreTables& store = *HighScoreTables::Create(true, "1.0");
        store.Load();
        return store;
    }

    static void SaveTwoTables() {
        HighScoreTables& store = *HighScoreTables::Create(true, "1.0");
        Ref<ScoreTable> classic = new ScoreTable(3, true);
        classic->Insert(new HighScoreEntry("ann", 30));
        classic->Insert(new HighScoreEntry("bea", 50));
        store.GetTables()["classic"] = classic;
        store.GetTables()["quick"] = new ScoreTable(2, false);
        store.Save();
    }

    static std::string DiskName() { return HighScoreTables::FilePath() + ".!"; }

    TempUserFolders userFolders_;
};

TEST_F(HighScoreTablesTest, TablesRoundTripWithTheirLastScoresReset) {
    SaveTwoTables();
    ASSERT_TRUE(platform::FileExists(DiskName()));
    EXPECT_EQ(HighScoreTables::FilePath(), GetGameDataFolder() + "/players/scores.xml");

    const HighScoreTables& store = Reload();
    EXPECT_EQ(store.GetVersion(), "1.0");
    ASSERT_EQ(store.GetTables().size(), 2u);
    const ScoreTable& classic = *store.GetTables().at("classic");
    ASSERT_EQ(classic.GetEntries().size(), 2u);
    EXPECT_EQ(classic.GetEntries()[0]->GetPlayerName(), "bea");
    EXPECT_EQ(classic.GetEntries()[1]->GetScore(), 30);
    EXPECT_EQ(classic.GetMaximumEntries(), 3);
    EXPECT_TRUE(classic.IsDescending());
    EXPECT_EQ(classic.GetLastScore(), -1);
    const ScoreTable& quick = *store.GetTables().at("quick");
    EXPECT_TRUE(quick.GetEntries().empty());
    EXPECT_FALSE(quick.IsDescending());
}

TEST_F(HighScoreTablesTest, AMissingOrDamagedFileLeavesTheTablesEmptyAndIsKeptAside) {
    EXPECT_TRUE(Reload().GetTables().empty());
    EXPECT_EQ(Reload().GetVersion(), "1.0");

    SaveTwoTables();
    std::vector<uint8_t> good;
    ASSERT_TRUE(platform::ReadWholeFile(DiskName(), good));
    int copy = 0;
    for (const std::string& bytes : {std::string(good.begin(), good.begin() + good.size() / 2),
                                     std::string("<root><HighScoreTables id=\"highscoretables\"/></root>"),
                                     std::string()}) {
        ASSERT_TRUE(platform::WriteFileAtomically(DiskName(), bytes.data(), bytes.size()));
        EXPECT_TRUE(Reload().GetTables().empty());
        std::vector<uint8_t> kept;
        ASSERT_TRUE(platform::ReadWholeFile(DiskName() + ".damaged-" + std::to_string(++copy), kept));
        EXPECT_EQ(std::string(kept.begin(), kept.end()), bytes);
    }
}

TEST_F(HighScoreTablesTest, AFileThatCannotBeReadIsNotSavedOver) {
    // A link to a folder stands where the file should be: there, but not
    // readable, and a save would replace the link.
    const std::string folder = GetGameDataFolder() + "/elsewhere";
    MakeDirectoryChain(folder);
    MakeDirectoryChain(GetGameDataFolder() + "/players");
    ASSERT_EQ(::symlink(folder.c_str(), DiskName().c_str()), 0);
    HighScoreTables& store = Reload();
    store.GetTables()["classic"] = new ScoreTable(3, true);
    store.Save();
    struct stat info {};
    ASSERT_EQ(::lstat(DiskName().c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
}

TEST_F(HighScoreTablesTest, AFailedWriteKeepsThePreviousFile) {
    SaveTwoTables();
    HighScoreTables& store = Reload();
    store.GetTables().erase("classic");
    platform::FailNextAtomicWriteForTesting();
    store.Save();
    EXPECT_EQ(Reload().GetTables().count("classic"), 1u);
}

}  // namespace
