#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "game/progress/LevelStats.h"
#include "game/progress/PlayerStats.h"

namespace {

// Every counter a distinct value, so a swapped key shows.
PlayerStats NumberedTotals() {
    PlayerStats totals;
    int32_t next = 1;
    for (int32_t* counter : {&totals.score, &totals.tracksBought, &totals.numWordsFound, &totals.numWordsInserted,
                             &totals.numWordsInQueue, &totals.coalsUsed, &totals.moneyEarned, &totals.playtime,
                             &totals.numShuffle, &totals.numSkip, &totals.numHelp, &totals.gamesCounter,
                             &totals.moneySpent, &totals.missionsLost}) {
        *counter = next++;
    }
    totals.missionsWon = {15, 16, 17};
    totals.playcount = {18, 19, 20, 21, 22, 23, 24, 25};
    return totals;
}

std::vector<std::string> ChildNames(const PropertyNode& node) {
    std::vector<std::string> names;
    for (const Ref<Property>& child : node.IndexOrder()) {
        names.push_back(child->Name() + (child->IsUntypedValue() ? "" : ":" + child->TypeName()));
    }
    return names;
}

TEST(StatsTest, TotalsAreWrittenInKeyOrderAndReadBackButMissionsLost) {
    const PlayerStats written = NumberedTotals();
    Ref<PropertyNode> node = new PropertyNode("stats", "Stats");
    written.Write(node.Get());
    const std::vector<std::string> expected = {
        "playtime", "score", "tracksBought", "numWordsFound", "numWordsInserted", "numWordsInQueue",
        "coalsUsed", "moneyEarned", "numShuffle", "numSkip", "numHelp", "gamesCounter",
        "moneySpent", "playcount:Vector", "MissionsWon:Vector"};
    EXPECT_EQ(ChildNames(*node), expected);
    const Property* playcount = Property::Child(node.Get(), "playcount");
    EXPECT_EQ(Property::At(playcount, 0)->TypeName(), "Integer");
    EXPECT_EQ(Property::At(playcount, 8), nullptr);

    PlayerStats read;
    read.Read(node.Get());
    EXPECT_EQ(read.score, 1);
    EXPECT_EQ(read.playtime, 8);
    EXPECT_EQ(read.gamesCounter, 12);
    EXPECT_EQ(read.moneySpent, 13);
    EXPECT_EQ(read.missionsLost, 0);
    EXPECT_EQ(read.missionsWon, written.missionsWon);
    EXPECT_EQ(read.playcount, written.playcount);
    EXPECT_EQ(read.numHelp, 11);
}

TEST(StatsTest, ReadingTakesHexAndLeavesCountersPastShortVectorsAndIgnoresLongOnes) {
    PlayerStats read = NumberedTotals();
    Ref<PropertyNode> node = new PropertyNode("stats", "Stats");
    node->Add(PropertyValue::FromString("score", "#1F", true));
    node->Add(PropertyValue::FromString("numSkip", "many", true));
    Ref<PropertyVector> playcount = new PropertyVector("playcount");
    playcount->Add(PropertyValue::FromInteger("", 7, false));
    playcount->Add(new PropertyNode("", "Node"));  // not a value: 0
    node->Add(playcount.Get());
    Ref<PropertyVector> won = new PropertyVector("MissionsWon");
    for (int i = 0; i < 5; ++i) {
        won->Add(PropertyValue::FromInteger("", 40 + i, false));
    }
    node->Add(won.Get());
    read.Read(node.Get());

    EXPECT_EQ(read.score, 31);
    EXPECT_EQ(read.numSkip, 0);
    EXPECT_EQ(read.playtime, 0) << "a missing key reads 0";
    EXPECT_EQ(read.playcount, (std::array<int32_t, 8>{7, 0, 20, 21, 22, 23, 24, 25}));
    EXPECT_EQ(read.missionsWon, (std::array<int32_t, 3>{40, 41, 42}));
    EXPECT_EQ(read.missionsLost, 14) << "kept in memory only";

    LevelStats fromNothing;
    fromNothing.score = 5;
    fromNothing.Read(nullptr);
    EXPECT_EQ(fromNothing.score, 0);
}

TEST(StatsTest, AddTakesOrAddsTheScoreAndSkipsTheGamesCounter) {
    LevelStats level;
    level.score = 120;
    level.playtime = 60000;
    level.numWordsFound = 9;
    level.moneyEarned = 25;
    level.numHelp = 1;
    level.gamesCounter = 4;

    struct Case {
        LevelStats* target;
        int32_t expectedScore;
    };
    PlayerStats totals;
    totals.score = 1000;
    totals.numWordsFound = 100;
    totals.gamesCounter = 2;
    totals.playcount[3] = 6;
    LevelStats running;
    running.score = 50;
    running.numWordsFound = 100;
    running.gamesCounter = 2;
    for (const Case& c : {Case{&totals, 1120}, Case{&running, 120}}) {
        c.target->Add(level);
        EXPECT_EQ(c.target->score, c.expectedScore);
        EXPECT_EQ(c.target->numWordsFound, 109);
        EXPECT_EQ(c.target->playtime, 60000);
        EXPECT_EQ(c.target->moneyEarned, 25);
        EXPECT_EQ(c.target->numHelp, 1);
        EXPECT_EQ(c.target->gamesCounter, 2);
    }
    EXPECT_EQ(totals.playcount[3], 6);

    totals.playtime = 2147483000;
    totals.Add(level);
    EXPECT_EQ(totals.playtime, 2147483647) << "a total stops at the top of its range";
}

TEST(StatsTest, ResetKeepsOnlyTheScore) {
    PlayerStats totals = NumberedTotals();
    totals.Reset();
    const PlayerStats zero;
    EXPECT_EQ(totals.score, 1);
    for (const int32_t counter : {totals.tracksBought, totals.numWordsFound, totals.numWordsInserted,
                                  totals.numWordsInQueue, totals.coalsUsed, totals.moneyEarned, totals.playtime,
                                  totals.numShuffle, totals.numSkip, totals.numHelp, totals.gamesCounter,
                                  totals.moneySpent, totals.missionsLost}) {
        EXPECT_EQ(counter, 0);
    }
    EXPECT_EQ(totals.missionsWon, zero.missionsWon);
    EXPECT_EQ(totals.playcount, zero.playcount);

    LevelStats level = NumberedTotals();
    level.Reset();
    EXPECT_EQ(level.score, 1);
    EXPECT_EQ(level.gamesCounter, 0);
    EXPECT_EQ(level.playtime, 0);
}

}  // namespace
