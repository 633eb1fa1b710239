#include <gtest/gtest.h>

#include <vector>

#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/ScoreTable.h"

namespace {

std::vector<int32_t> Scores(const ScoreTable& table) {
    std::vector<int32_t> scores;
    for (const Ref<HighScoreEntry>& entry : table.GetEntries()) {
        scores.push_back(entry->GetScore());
    }
    return scores;
}

Ref<ScoreTable> TableOf(int32_t maximum, bool descending, const std::vector<int32_t>& scores) {
    Ref<ScoreTable> table = new ScoreTable(maximum, descending);
    for (const int32_t score : scores) {
        table->Insert(new HighScoreEntry("old", score));
    }
    return table;
}

TEST(ScoreTableTest, InsertRanksTheEntryAndKeepsTheMaximum) {
    struct Case {
        int32_t maximum;
        bool descending;
        std::vector<int32_t> before;
        int32_t inserted;
        int32_t position;
        std::vector<int32_t> after;
    };
    const Case cases[] = {
        {3, true, {50, 40, 30}, 40, 1, {50, 40, 40}},
        {3, true, {50, 40, 30}, 10, -1, {50, 40, 30}},
        {3, true, {50, 40, 30}, 60, 0, {60, 50, 40}},
        {3, true, {50}, 10, 1, {50, 10}},
        {3, false, {10, 20}, 20, 2, {10, 20, 20}},
        {3, false, {10, 20}, 5, 0, {5, 10, 20}},
        {0, true, {}, 100, -1, {}},
    };
    for (const Case& c : cases) {
        Ref<ScoreTable> table = TableOf(c.maximum, c.descending, c.before);
        Ref<HighScoreEntry> entry = new HighScoreEntry("new", c.inserted);
        EXPECT_EQ(table->Insert(entry.Get()), c.position) << c.inserted;
        EXPECT_EQ(table->GetLastScore(), c.position);
        EXPECT_EQ(Scores(*table), c.after) << c.inserted;
        if (c.position >= 0) {
            EXPECT_EQ(table->GetEntries()[c.position], entry) << "the newer equal score ranks first";
        }
    }
}

TEST(ScoreTableTest, WriteAndReadKeepOrderDirectionAndMaximum) {
    Ref<ScoreTable> table = TableOf(4, false, {7, 3, 9});
    Ref<PropertyNode> node = new PropertyNode("classic", "ScoreTable");
    table->Write(node.Get());

    Ref<ScoreTable> read = new ScoreTable(node.Get());
    EXPECT_EQ(Scores(*read), (std::vector<int32_t>{3, 7, 9}));
    EXPECT_FALSE(read->IsDescending());
    EXPECT_EQ(read->GetMaximumEntries(), 4);
    EXPECT_EQ(read->GetLastScore(), table->GetLastScore());
    EXPECT_EQ(read->GetEntries()[0]->GetPlayerName(), "old");
}

TEST(ScoreTableTest, AnEmptyTableWritesNoEntriesAndAMissingMaximumIsZero) {
    Ref<ScoreTable> table = new ScoreTable(5, true);
    Ref<PropertyNode> node = new PropertyNode("empty", "ScoreTable");
    table->Write(node.Get());
    EXPECT_EQ(Property::Child(node.Get(), "entries"), nullptr);

    Ref<PropertyNode> bare = new PropertyNode("bare", "ScoreTable");
    Ref<ScoreTable> read = new ScoreTable(bare.Get());
    EXPECT_TRUE(read->IsDescending());
    EXPECT_EQ(read->GetLastScore(), -1);
    EXPECT_EQ(read->Insert(new HighScoreEntry("x", 1)), -1);
}

}  // namespace
