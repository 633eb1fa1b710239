#include <gtest/gtest.h>

#include <tuple>

#include "CareerFixture.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Folders.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/PropertyNode.h"
#include "game/progress/KR2Player.h"
#include "support/TempUserFolders.h"

// The profile's progress with the map and the tickets it holds.
namespace {

Ref<TicketInfo> Ticket(int32_t gameType, int32_t track, bool finished) {
    Ref<TicketInfo> ticket = new TicketInfo;
    ticket->GameType = gameType;
    ticket->Track = track;
    ticket->Finished = finished;
    return ticket;
}

std::vector<int32_t> TrackOrder(const KR2Player& player) {
    std::vector<int32_t> order;
    for (const Ref<TicketInfo>& ticket : player.tickets) {
        order.push_back(ticket->Track);
    }
    return order;
}

TEST(ProfileProgressTest, ANewProfileStandsAtTheEntryOfTheFirstSection) {
    CareerFixture fixture;
    const KR2Player player("ann");
    EXPECT_EQ(player.curcity, 2);
    EXPECT_EQ(player.cursection, 0);
    EXPECT_EQ(player.currentTicket.Get(), nullptr);
}

TEST(ProfileProgressTest, HintFlagsResetToTheirOwnPattern) {
    KR2Player player("ann");
    player.hints.fill(false);
    player.ResetHintFlags();
    for (int hint = 0; hint < KR2Player::kHintCount; ++hint) {
        const bool onceOnly = hint == 26 || (hint >= 28 && hint <= 35) || hint == 39;
        EXPECT_EQ(player.hints[static_cast<size_t>(hint)], !onceOnly) << hint;
    }
}

TEST(ProfileProgressTest, ProgressWithMapAndTicketsReadsBack) {
    CareerFixture fixture;
    KR2Player player("ann");
    player.tickets = {Ticket(2, 7, false), Ticket(0, 3, false), Ticket(5, 11, false)};
    player.currentTicket = Ticket(3, 4, false);
    player.classicTicket = Ticket(1, 0, true);  // finished: not written
    fixture.Map().Section(0).tracks[14]->bought = true;
    fixture.Map().Section(0).tracks[2]->games = 6;
    fixture.Map().Section(0).cities[5]->visited = true;
    player.cp = 0.9f;
    Ref<PropertyNode> node = new PropertyNode("player", "Player");
    player.WriteProgress(node.Get());
    EXPECT_EQ(node->Items()[0]->Name(), "sections");
    EXPECT_EQ(Property::Child(node.Get(), "classicticket"), nullptr);

    fixture.Map().ResetProgress();
    KR2Player read("ann");
    // Tickets held before the read are dropped, not kept beside the file's.
    read.tickets = {Ticket(0, 1, false)};
    read.classicTicket = Ticket(0, 1, false);
    read.ReadProgress(node.Get());
    read.ReadProgress(node.Get());
    EXPECT_EQ(TrackOrder(read), (std::vector<int32_t>{7, 3, 11}));
    EXPECT_EQ(read.tickets[2]->GameType, 5);
    ASSERT_NE(read.currentTicket.Get(), nullptr);
    EXPECT_EQ(read.currentTicket->GameType, 3);
    EXPECT_EQ(read.classicTicket.Get(), nullptr);
    EXPECT_TRUE(fixture.Map().Section(0).tracks[14]->bought);
    EXPECT_EQ(fixture.Map().Section(0).tracks[2]->games, 6);
    EXPECT_TRUE(fixture.Map().Section(0).cities[5]->visited);
    // The share comes from the map: 14 of 16 bought, 13 from the start.
    EXPECT_FLOAT_EQ(read.cp, 1.0f / 3.0f);
}

TEST(ProfileProgressTest, ResetProgressForgetsTheMapAndTicketsOnly) {
    CareerFixture fixture;
    KR2Player player("ann");
    player.coins = 50;
    player.ranking = 2;
    player.tickets = {Ticket(0, 1, false)};
    player.currentTicket = Ticket(0, 1, false);
    fixture.Map().Section(0).tracks[15]->bought = true;
    player.ResetProgress();
    EXPECT_TRUE(player.tickets.empty());
    EXPECT_EQ(player.currentTicket.Get(), nullptr);
    EXPECT_FALSE(fixture.Map().Section(0).tracks[15]->bought);
    EXPECT_TRUE(fixture.Map().Section(0).tracks[12]->bought);
    EXPECT_EQ(player.coins, 50);
    EXPECT_EQ(player.ranking, 2);
}

// What a profile keeps in the two player files, as one comparable record.
auto Kept(const KR2Player& player) {
    return std::tuple(player.GetName(), player.ranking, player.trophies, player.stats.playcount, player.stats.score,
                      player.typechance, player.hints, player.coins, player.curcity, player.fakepass, player.carsize,
                      player.classicGameTypeClicked, TrackOrder(player),
                      player.currentTicket ? player.currentTicket->Track : -1, player.cp);
}

TEST(ProfileProgressTest, AProfileSurvivesThePlayerFiles) {
    CareerFixture fixture;
    TempUserFolders userFolders;
    ForgetFoldersForTesting();
    Players& players = *Players::Create("1", true);
    auto* ann = new KR2Player("ann");
    ann->ranking = 4;
    ann->trophies[3] = KR2Player::kTrophyShown;
    ann->stats.score = 4100;
    ann->stats.playcount = {1, 0, 2, 0, 0, 0, 0, 0};
    ann->typechance = {0.5f, 0, 1.5f, 0, 0, 0, 0, 0};
    ann->hints[7] = false;
    ann->coins = 61;
    ann->curcity = 9;
    ann->carsize = 3;
    ann->classicGameTypeClicked[4] = true;
    ann->tickets = {Ticket(2, 14, false), Ticket(0, 13, false)};
    ann->currentTicket = Ticket(2, 6, false);
    fixture.Map().Section(0).tracks[13]->bought = true;
    ann->UpdateTrackProgress();
    const auto written = Kept(*ann);
    players.Add(ann);
    players.Save();
    Players::Free();
    fixture.Map().ResetProgress();

    Players& read = *Players::Create("1", true);
    read.Load();
    ASSERT_EQ(read.GetPlayers().size(), 1u);
    const auto* back = ObjectCast<KR2Player>(read.GetPlayers()[0].Get());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(Kept(*back), written);
    EXPECT_TRUE(fixture.Map().Section(0).tracks[13]->bought);
    Players::Free();
    ForgetFoldersForTesting();
}

TEST(ProfileProgressTest, AnOlderFileReadsWithTheDefaults) {
    CareerFixture fixture;
    fixture.Map().Section(0).tracks[15]->bought = true;
    // A progress file from before the map, the tickets and the type flags.
    Ref<PropertyFile> file = CareerFixture::Parse(
        "<Node id=\"progress\" coins=\"12\" curcity=\"4\" showhints=\"true\">"
        "<Vector id=\"hints\"><Boolean value=\"false\"/></Vector></Node>");
    KR2Player player("ann");
    player.classicGameTypeClicked[2] = true;
    player.typechance[1] = 0.5f;
    player.ReadProgress(Property::Child(file.Get(), "progress"));
    EXPECT_EQ(player.coins, 12);
    EXPECT_EQ(player.curcity, 4);
    EXPECT_TRUE(player.showhints);
    EXPECT_FALSE(player.fakepass);
    EXPECT_FALSE(player.hints[0]);
    EXPECT_TRUE(player.hints[1]);
    EXPECT_TRUE(player.classicGameTypeClicked[2]) << "missing flags keep their values";
    EXPECT_EQ(player.typechance[1], 0.5f);
    EXPECT_TRUE(player.tickets.empty());
    EXPECT_EQ(player.currentTicket.Get(), nullptr);
    // The map is back at its start: only the unlocked tracks bought.
    EXPECT_FALSE(fixture.Map().Section(0).tracks[15]->bought);
    EXPECT_TRUE(fixture.Map().Section(0).tracks[0]->bought);
    EXPECT_EQ(player.cp, 0.0f);
}

TEST(ProfileProgressTest, TicketsAskTheProfileForGamesPlayed) {
    KR2Player player("ann");
    player.stats.playcount = {1, 2, 0, 0, 0, 0, 0, 4};
    const TicketPlayerHook& hook = player;
    EXPECT_EQ(hook.GamesPlayed(), 7);
}

}  // namespace
