#include <gtest/gtest.h>

#include "engine/foundation/Folders.h"
#include "engine/foundation/HighScoreTables.h"
#include "engine/foundation/PropertyNode.h"
#include "game/progress/KR2Score.h"
#include "support/TempUserFolders.h"

namespace {

TEST(KR2ScoreTest, EntriesKeepTheirLevelThroughTheScoreFile) {
    TempUserFolders userFolders;
    ForgetFoldersForTesting();
    HighScoreTables& store = *HighScoreTables::Create(true, "1.0");
    Ref<ScoreTable> table = new ScoreTable(5, true);
    table->Insert(new KR2Score("ann", 300, 4));
    table->Insert(new KR2Score("bob", 200, 2));
    store.GetTables()["Classic"] = table;
    store.Save();
    HighScoreTables::Free();

    HighScoreTables& read = *HighScoreTables::Create(true, "1.0");
    read.Load();
    const auto& entries = read.GetTables().at("Classic")->GetEntries();
    ASSERT_EQ(entries.size(), 2u);
    const auto* first = ObjectCast<KR2Score>(entries[0].Get());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetPlayerName(), "ann");
    EXPECT_EQ(first->GetScore(), 300);
    EXPECT_EQ(first->GetLevel(), 4);
    EXPECT_EQ(ObjectCast<KR2Score>(entries[1].Get())->GetLevel(), 2);
    HighScoreTables::Free();
    ForgetFoldersForTesting();
}

TEST(KR2ScoreTest, TheLevelIsAnAttributeAndAMissingOneReadsZero) {
    Ref<PropertyNode> node = new PropertyNode("", "");
    KR2Score("ann", 10, 3).Write(node.Get());
    EXPECT_EQ(node->TypeName(), "KR2Score");
    EXPECT_TRUE(Property::Child(node.Get(), "level")->IsUntypedValue());

    Ref<PropertyNode> bare = new PropertyNode("", "KR2Score");
    Ref<KR2Score> read = KR2Score::FromXml(bare.Get());
    EXPECT_EQ(read->GetLevel(), 0);
    EXPECT_EQ(read->GetScore(), 0);
}

TEST(KR2ScoreTest, AnEqualScoreRanksAboveTheOlderEntry) {
    Ref<ScoreTable> table = new ScoreTable(5, true);
    table->Insert(new KR2Score("old", 100, 1));
    Ref<KR2Score> newer = new KR2Score("new", 100, 2);
    EXPECT_EQ(table->Insert(newer.Get()), 0);
    EXPECT_EQ(table->GetEntries()[0].Get(), newer.Get());
}

}  // namespace
