#include <gtest/gtest.h>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "game/progress/KR2Player.h"
#include "platform/Directories.h"
#include "support/TempUserFolders.h"

namespace {

Ref<KR2Player> RebuiltFromSummary(const KR2Player& player) {
    Ref<PropertyNode> node = new PropertyNode("", "");
    player.Write(node.Get());
    EXPECT_EQ(node->TypeName(), "KR2Player");
    Ref<Object> created = ClassFactory::Instance().Create(node.Get());
    return ObjectCast<KR2Player>(created.Get());
}

TEST(KR2PlayerTest, ANewProfileStartsWithHintsOnExceptOne) {
    const KR2Player player("ann");
    EXPECT_TRUE(player.showhints);
    for (int hint = 0; hint < KR2Player::kHintCount; ++hint) {
        EXPECT_EQ(player.hints[hint], hint != 41) << hint;
    }
    EXPECT_EQ(player.lastResult, -1);
}

TEST(KR2PlayerTest, TheSummaryRoundTripsAndAPendingTrophyComesBackShown) {
    KR2Player player("ann");
    player.ranking = 7;
    player.cp = 0.25f;
    player.trophies[0] = KR2Player::kTrophyPending;
    player.trophies[5] = KR2Player::kTrophyShown;
    player.coins = 99;
    player.stats.score = 4321;
    player.stats.playcount[2] = 3;
    player.stats.missionsWon[1] = 2;

    const Ref<KR2Player> read = RebuiltFromSummary(player);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->GetName(), "ann");
    EXPECT_EQ(read->ranking, 7);
    EXPECT_FLOAT_EQ(read->cp, 0.25f);
    EXPECT_EQ(read->trophies[0], KR2Player::kTrophyShown);
    EXPECT_EQ(read->trophies[5], KR2Player::kTrophyShown);
    EXPECT_EQ(read->trophies[1], KR2Player::kTrophyNotWon);
    EXPECT_EQ(read->coins, 0) << "progress is not part of the summary";
    EXPECT_EQ(read->stats.score, 4321);
    EXPECT_EQ(read->stats.missionsWon[1], 2);
    EXPECT_EQ(read->GetTotalPlayCount(), 3);
}

TEST(KR2PlayerTest, ProgressRoundTrips) {
    KR2Player player("ann");
    player.boostidx = 2;
    player.oldboostidx = 1;
    player.coins = 1234;
    player.curcity = 3;
    player.cursection = 4;
    player.prevclassic = 5;
    player.carsize = 3;
    player.fakepass = true;
    player.classicClicked = true;
    player.mixedAnimationSeen = true;
    player.hints[0] = false;
    player.hints[41] = true;
    player.typechance = {0.5f, 1.0f, 0.0f, 2.25f, 0.0f, 0.0f, 0.0f, 0.125f};
    player.classicGameTypeClicked[8] = true;
    player.stats.playtime = 90000;
    Ref<PropertyNode> node = new PropertyNode("player", "Player");
    player.WriteProgress(node.Get());
    EXPECT_EQ(Property::AsInt(Property::Child(node.Get(), "playtime")), 90000);

    KR2Player read("ann");
    read.stats.playtime = 5;
    read.ReadProgress(node.Get());
    EXPECT_EQ(read.stats.playtime, 5) << "the copy in the progress file is not read back";
    EXPECT_EQ(read.boostidx, 2);
    EXPECT_EQ(read.oldboostidx, 1);
    EXPECT_EQ(read.coins, 1234);
    EXPECT_EQ(read.curcity, 3);
    EXPECT_EQ(read.cursection, 4);
    EXPECT_EQ(read.prevclassic, 5);
    EXPECT_EQ(read.carsize, 3);
    EXPECT_TRUE(read.fakepass);
    EXPECT_TRUE(read.showhints);
    EXPECT_TRUE(read.classicClicked);
    EXPECT_TRUE(read.mixedAnimationSeen);
    EXPECT_EQ(read.hints, player.hints);
    EXPECT_EQ(read.typechance, player.typechance);
    EXPECT_EQ(read.classicGameTypeClicked, player.classicGameTypeClicked);
}

TEST(KR2PlayerTest, MissingProgressReadsZeroAndFalseAndLongVectorsAreCut) {
    Ref<PropertyNode> node = new PropertyNode("player", "Player");
    Ref<PropertyVector> hints = new PropertyVector("hints");
    for (int index = 0; index < 60; ++index) {
        hints->PushBool(false);
    }
    node->Add(hints.Get());
    KR2Player read("ann");
    read.coins = 5;
    read.ReadProgress(node.Get());
    EXPECT_FALSE(read.showhints);
    EXPECT_EQ(read.coins, 0);
    for (const bool notShown : read.hints) {
        EXPECT_FALSE(notShown);
    }

    KR2Player fromNothing("bob");
    fromNothing.ReadProgress(nullptr);
    EXPECT_FALSE(fromNothing.showhints);
}

// Numbers read from a player file are held to what the game writes: coins
// are never owed (below 0 reads as none); the largest carriage is the last
// reward's 5 places.
TEST(KR2PlayerTest, CoinsAndCarriageSizeReadFromAFileAreHeldToWhatTheGameWrites) {
    const struct {
        const char* key;
        const char* stored;
        int32_t read;
    } cases[] = {{"coins", "-2147483648", 0}, {"coins", "-1", 0},          {"coins", "0", 0},
                 {"coins", "62", 62},         {"coins", "2147483647", 2147483647},
                 {"carsize", "-2147483648", 0}, {"carsize", "-1", 0},      {"carsize", "3", 3},
                 {"carsize", "5", 5},         {"carsize", "6", 5},         {"carsize", "2147483647", 5}};
    for (const auto& c : cases) {
        Ref<PropertyNode> node = new PropertyNode("player", "Player");
        node->Add(PropertyValue::FromString(c.key, c.stored, true));
        KR2Player read("ann");
        read.ReadProgress(node.Get());
        EXPECT_EQ(std::string(c.key) == "coins" ? read.coins : read.carsize, c.read) << c.key << " " << c.stored;
    }
}

TEST(KR2PlayerTest, PlayersStoreAndReadTheProfileThroughTheirFiles) {
    TempUserFolders userFolders;
    ForgetFoldersForTesting();
    Players& players = *Players::Create("1", true);
    KR2Player* ann = new KR2Player("ann");
    ann->ranking = 3;
    ann->coins = 40;
    ann->showhints = false;
    ann->stats.score = 777;
    ann->stats.playcount[7] = 2;
    players.Add(ann);
    players.Save();
    Players::Free();

    Players& read = *Players::Create("1", true);
    read.Load();
    ASSERT_EQ(read.GetPlayers().size(), 1u);
    const auto* player = ObjectCast<KR2Player>(read.GetPlayers()[0].Get());
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(read.GetCurrent(), player);
    EXPECT_EQ(player->ranking, 3);
    EXPECT_EQ(player->coins, 40);
    EXPECT_FALSE(player->showhints);
    EXPECT_EQ(player->stats.score, 777);
    EXPECT_EQ(player->stats.playcount[7], 2);
    Players::Free();
    ForgetFoldersForTesting();
}

// The list holds the playing time; when it has lost the player (a damaged
// list, the same name typed again), the copy in the player's file brings the
// time back instead of the next save writing 0 over it.
TEST(KR2PlayerTest, APlayerTypedAgainAfterTheListWasLostKeepsThePlayingTime) {
    TempUserFolders userFolders;
    ForgetFoldersForTesting();
    Players& players = *Players::Create("1", true);
    auto* ann = new KR2Player("ann");
    ann->coins = 40;
    ann->stats.playtime = 90000;
    players.Add(ann);
    players.Save();
    Players::Free();
    ASSERT_TRUE(platform::RemoveFile(GetGameDataFolder() + "/players/players.plrs.!"));

    Players& again = *Players::Create("1", true);
    again.Load();
    auto* typedAgain = new KR2Player("ann");
    again.Add(typedAgain);
    again.LoadPlayer(*typedAgain);
    EXPECT_EQ(typedAgain->coins, 40);
    EXPECT_EQ(typedAgain->stats.playtime, 90000);
    again.Save();
    Players::Free();

    Players& read = *Players::Create("1", true);
    read.Load();
    ASSERT_EQ(read.GetPlayers().size(), 1u);
    EXPECT_EQ(ObjectCast<KR2Player>(read.GetPlayers()[0].Get())->stats.playtime, 90000);
    Players::Free();
    ForgetFoldersForTesting();
}

}  // namespace
