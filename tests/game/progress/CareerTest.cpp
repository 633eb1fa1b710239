#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "CareerFixture.h"
#include "engine/foundation/RandomGenerator.h"
#include "game/progress/KR2Player.h"
#include "game/progress/OfferedTickets.h"
#include "game/progress/Rankings.h"

namespace {

Ref<TicketInfo> Ticket(int32_t gameType, int32_t track, float rating = 0.5f) {
    Ref<TicketInfo> ticket = new TicketInfo;
    ticket->GameType = gameType;
    ticket->Track = track;
    ticket->Section = 0;
    ticket->Rating = rating;
    ticket->Finished = false;
    return ticket;
}

TEST(CareerTest, RanksFollowTheLadder) {
    CareerFixture fixture;
    KR2Player player("ann");
    const struct {
        int32_t score, rank;
    } ranks[] = {{0, 0}, {999, 0}, {1000, 1}, {4999, 4}, {14000, 14}, {99999, 14}};
    for (const auto& c : ranks) {
        player.stats.score = c.score;
        EXPECT_EQ(player.ComputeRankIndex(), c.rank) << c.score;
    }
    // The rank is the one the score earns, whatever rank was booked last
    // (a classic game adds its score without booking a rank); the points are
    // those still missing to the rank after it, never below 0.
    const struct {
        int32_t ranking, score, gained, rankBefore, missing, toNext;
    } points[] = {
        {3, 3200, 500, 2, 300, 800},  // the level reached rank 3: 300 were missing to it
        {3, 3800, 500, 3, 700, 200},  // rank 3 held before: to rank 4
        {5, 5100, 2500, 2, 400, 900},  // two ranks in one level: from rank 2
        {13, 13500, 100, 13, 600, 500},
        {14, 20000, 100, 14, 0, 0},
        {2, 9500, 0, 9, 500, 500},  // booked at rank 2, the score earns rank 9
        // Ranks and scores read from damaged files, and huge gains, stay in range.
        {3, 3200, INT32_MAX, 0, INT32_MAX - 2200, 800},
        {0, INT32_MAX, INT32_MAX, 0, 1000, 0},
        {0, INT32_MIN, 0, 0, INT32_MAX, INT32_MAX},
        {INT32_MAX, 0, 0, 0, 1000, 1000},
    };
    for (const auto& c : points) {
        player.ranking = c.ranking;
        player.stats.score = c.score;
        EXPECT_EQ(player.RankBeforeLevel(c.gained), c.rankBefore) << c.ranking << "/" << c.score;
        EXPECT_EQ(player.PointsMissingForRank(c.gained), c.missing) << c.ranking << "/" << c.score;
        EXPECT_EQ(player.PointsToNextRank(), c.toNext) << c.ranking << "/" << c.score;
    }
}

TEST(CareerTest, RankEntriesNamesAndRewards) {
    CareerFixture fixture;
    EXPECT_EQ(rankings::GetRankReward(0), rankings::kNoReward);
    EXPECT_EQ(rankings::GetRankReward(1), rankings::kPeopleCarriage2);
    EXPECT_EQ(rankings::GetRankReward(7), rankings::kGameModeAnagrams);
    EXPECT_EQ(rankings::GetRankReward(99), rankings::kNoReward);  // capped at rank 14
    EXPECT_EQ(rankings::Score(99), 14000);
    EXPECT_EQ(rankings::Score(-1), 0);
    EXPECT_EQ(rankings::GetRankName(3), L"Stoker");
    EXPECT_EQ(rankings::GetRankText(4), L"New tickets");
    EXPECT_EQ(rankings::RewardIndex("gamemode_joker"), 13);
    EXPECT_EQ(rankings::RewardIndex("gamemode_classic7"), 9);
    EXPECT_EQ(rankings::RewardIndex("Train_Boost_1"), rankings::kNoReward);
}

TEST(CareerTest, OnlyTheReachedRankRewards) {
    CareerFixture fixture;
    KR2Player player("ann");
    // 3 -> 5: rank 5's boost; rank 4 unlocks game type 2 all the same.
    player.ranking = 3;
    player.carsize = 3;
    player.boostidx = 1;
    player.stats.score = 5000;
    player.UpdateRank();
    EXPECT_TRUE(player.rankChanged);
    EXPECT_EQ(player.ranking, 5);
    EXPECT_EQ(player.boostidx, 2);
    EXPECT_EQ(player.oldboostidx, 1);
    EXPECT_EQ(player.carsize, 3);
    EXPECT_EQ(player.UnlockedGameTypes(), (std::vector<int32_t>{0, 2}));
    player.UpdateRank();
    EXPECT_FALSE(player.rankChanged);

    // 0 -> 2: the carriage of rank 1 is lost, and no free ride.
    KR2Player jumper("bob");
    jumper.stats.score = 2000;
    jumper.UpdateRank();
    EXPECT_EQ(jumper.boostidx, 1);
    EXPECT_EQ(jumper.carsize, 0);
    EXPECT_FALSE(jumper.fakepass);
    EXPECT_TRUE(jumper.HasRankReward(rankings::kPeopleCarriage2));

    KR2Player first("cid");
    first.stats.score = 1000;
    first.UpdateRank();
    EXPECT_EQ(first.carsize, 2);
    EXPECT_TRUE(first.fakepass);
    EXPECT_FALSE(first.IsGameTypeUnlocked(8));
    EXPECT_TRUE(first.IsGameTypeUnlocked(0));
}

struct Booking {
    KR2Player player{"ann"};
    LevelStats level;

    explicit Booking(float rating, int32_t gameMode = TicketInfo::kMapTicket) {
        player.curcity = 3;
        player.cursection = 0;
        player.coins = 100;
        player.stats.score = 900;
        player.typechance = {1, 0, 0, 0, 0, 0, 0, 0};
        player.currentTicket = Ticket(0, 3, rating);
        player.currentTicket->GameMode = gameMode;
        player.tickets = {Ticket(0, 5), Ticket(0, 6)};
        level.score = 250;
        level.playtime = 61000;
        level.numWordsFound = 7;
    }
};

TEST(CareerTest, AWonAdventureMovesPaysAndCounts) {
    CareerFixture fixture;
    const struct {
        float rating;
        int32_t kind, coins;
    } cases[] = {{0.9f, 1, 100 + 20 + 5 * 4}, {0.5f, 1, 100 + 20 + 3 * 4}, {2.0f, 2, 100 + 30 + 5 * 4},
                 {0.1f, 0, 100 + 10}};
    for (const auto& c : cases) {
        Booking booking(c.rating);
        KR2Player& player = booking.player;
        player.RecordLevelResult(c.kind, true, booking.level);
        EXPECT_EQ(player.coins, c.coins) << c.rating;
        EXPECT_EQ(player.coinsBefore, 100);
        EXPECT_EQ(player.curcity, 4);
        EXPECT_EQ(fixture.Map().Section(0).tracks[3]->games, 1);
        fixture.Map().Section(0).tracks[3]->games = 0;
        EXPECT_EQ(player.stats.score, 1150);
        EXPECT_EQ(player.stats.numWordsFound, 7);
        EXPECT_EQ(player.stats.playcount[0], 1);
        EXPECT_EQ(player.stats.missionsWon[static_cast<size_t>(c.kind)], 1);
        EXPECT_EQ(player.ranking, 1);
        EXPECT_TRUE(player.rankChanged);
        EXPECT_TRUE(player.lastWon);
        EXPECT_EQ(player.lastResult, c.kind);
        EXPECT_EQ(player.lastScore, 250);
        EXPECT_EQ(player.lastPlaytime, 61000);
        EXPECT_TRUE(player.currentTicket->Finished);
        EXPECT_TRUE(player.tickets.empty());
    }
}

TEST(CareerTest, ALostOrClassicLevelBooksLittle) {
    CareerFixture fixture;
    Booking lost(0.9f);
    lost.player.RecordLevelResult(-1, false, lost.level);
    EXPECT_EQ(lost.player.stats.missionsLost, 1);
    EXPECT_EQ(lost.player.coins, 100);
    EXPECT_EQ(lost.player.stats.score, 900);
    EXPECT_EQ(lost.player.curcity, 3);
    EXPECT_EQ(lost.player.ranking, 0);
    EXPECT_EQ(lost.player.lastResult, -1);
    EXPECT_FALSE(lost.player.lastWon);
    EXPECT_TRUE(lost.player.tickets.empty());
    EXPECT_TRUE(lost.player.currentTicket->Finished);

    Booking classic(0.9f, TicketInfo::kClassicFixed);
    classic.player.RecordLevelResult(2, true, classic.level);
    EXPECT_EQ(classic.player.lastScore, 250);
    EXPECT_TRUE(classic.player.lastWon);
    EXPECT_TRUE(classic.player.currentTicket->Finished);
    EXPECT_EQ(classic.player.coins, 100);
    EXPECT_EQ(classic.player.stats.score, 900);
    EXPECT_EQ(classic.player.tickets.size(), 2u);

    // Without a current ticket nothing is booked.
    Booking none(0.9f);
    none.player.currentTicket.Reset();
    none.player.RecordLevelResult(1, true, none.level);
    EXPECT_EQ(none.player.lastResult, -1);
    EXPECT_EQ(none.player.coins, 100);
    EXPECT_EQ(none.player.tickets.size(), 2u);
}

TEST(CareerTest, TypeChancesKeepTheSmallestAtZero) {
    using Chances = std::array<float, 8>;
    const struct {
        int32_t type;
        std::vector<int32_t> unlocked;
        Chances before, after;
    } cases[] = {
        {0, {0}, {1, 0, 2, 0, 0, 0, 0, 0}, {1, 0, 2, 0, 0, 0, 0, 0}},
        {3, {0, 2, 3}, {1, 9, 0, 2, 0, 0, 0, 0}, {1, 9, 0, 1, 0, 0, 0, 0}},
        {2, {0, 2, 3}, {1, 9, 0, 2, 0, 0, 0, 0}, {2, 9, 0, 3, 0, 0, 0, 0}},
        {0, {0, 2}, {0.5f, 0, 0.25f, 0, 0, 0, 0, 0}, {0, 0, 0.75f, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        Chances chances = c.before;
        AdjustTypeChances(c.type, chances, c.unlocked);
        EXPECT_EQ(chances, c.after) << c.type;
    }
}

TEST(CareerTest, MissionRating) {
    CareerFixture fixture;
    const struct {
        int32_t carsize;
        float cp, x;
        int32_t played;
        float rating;
    } cases[] = {
        {0, 1.0f, 1.0f, 0, (0.16666667f - 0.0001f) * 0.5f},  // the carriage bounds it
        {5, 0.8f, 0.0f, 0, 0.4f * 0.5f},                     // the share bounds it
        {5, 0.8f, 0.0f, 1, 0.4f * 0.75f},
        {5, 0.8f, 0.5f, 2, 0.6f},  // no multiplier past the list
    };
    for (const auto& c : cases) {
        KR2Player player("ann");
        player.carsize = c.carsize;
        player.cp = c.cp;
        player.stats.playcount[4] = c.played;
        EXPECT_FLOAT_EQ(player.ComputeMissionRating(c.x, 4), c.rating) << c.carsize << "/" << c.played;
    }
}

TEST(CareerTest, OffersOneTicketPerBoughtTrackNotYetOffered) {
    CareerFixture fixture;
    fixture.Map().Section(0).tracks[14]->bought = true;
    for (const bool fakepass : {false, true}) {
        KR2Player player("ann");
        player.UpdateTrackProgress();
        player.fakepass = fakepass;
        player.curcity = 14;
        player.tickets = {Ticket(0, 13)};
        RandomGenerator random(7, 0);
        // Track 13 is offered already, 15 is not bought.
        CreateOfferedTickets(player, {{13, 0}, {15, 0}, {14, 0}}, random);
        ASSERT_EQ(player.tickets.size(), 2u);
        const TicketInfo& offered = *player.tickets[1];
        EXPECT_EQ(offered.Track, 14);
        EXPECT_EQ(offered.Section, 0);
        EXPECT_EQ(offered.City, 0);
        EXPECT_EQ(offered.GameType, 0);
        // total = 1 held + 1 chosen + 1 not bought, so x = 1 / 2.
        EXPECT_FLOAT_EQ(offered.Rating, fakepass ? 0.201f : player.ComputeMissionRating(0.5f, 0)) << fakepass;
    }
}

TEST(CareerTest, OfferedTypesFollowTheChances) {
    CareerFixture fixture;
    for (int t = 0; t < CareerFixture::kTracks; ++t) {
        fixture.Map().Section(0).tracks[static_cast<size_t>(t)]->bought = true;
    }
    KR2Player player("ann");
    player.ranking = 4;  // types 0 and 2
    player.stats.playcount = {3, 0, 1, 0, 0, 0, 0, 0};
    player.typechance = {0, 0, 5, 0, 0, 0, 0, 0};
    player.curcity = 1;
    RandomGenerator random(11, 3);
    CreateOfferedTickets(player, {{0, 0}, {1, 0}, {2, 0}}, random);
    ASSERT_EQ(player.tickets.size(), 3u);
    for (const Ref<TicketInfo>& ticket : player.tickets) {
        EXPECT_EQ(ticket->GameType, 2);
        EXPECT_EQ(ticket->City, ticket->Track == 1 ? 0 : 1);
    }
    EXPECT_EQ(player.typechance[2], 5.0f) << "the player's own chances stay";

    // Without chances, a type never played comes first and the rest are drawn evenly.
    KR2Player fresh("bob");
    fresh.ranking = 4;
    fresh.stats.playcount = {1, 0, 0, 0, 0, 0, 0, 0};
    std::vector<TrackRef> all;
    for (int t = 0; t < CareerFixture::kTracks; ++t) {
        all.push_back({t, 0});
    }
    CreateOfferedTickets(fresh, all, random);
    ASSERT_EQ(fresh.tickets.size(), all.size());
    int type2 = 0;
    for (const Ref<TicketInfo>& ticket : fresh.tickets) {
        EXPECT_TRUE(ticket->GameType == 0 || ticket->GameType == 2);
        type2 += ticket->GameType == 2;
    }
    // Every pick lowers the chance of the type picked, so the types pair up.
    EXPECT_EQ(type2, CareerFixture::kTracks / 2);

    // Below the rank that unlocks the second type, every offer is of type 0, whatever the chances say.
    KR2Player newcomer("cid");
    newcomer.ranking = 3;
    newcomer.typechance = {0, 9, 9, 9, 9, 9, 9, 9};
    CreateOfferedTickets(newcomer, all, random);
    ASSERT_EQ(newcomer.tickets.size(), all.size());
    for (const Ref<TicketInfo>& ticket : newcomer.tickets) {
        EXPECT_EQ(ticket->GameType, 0);
    }
}

TEST(CareerTest, TrackShareCountsTracksBoughtBeyondTheStart) {
    CareerFixture fixture;
    KR2Player player("ann");
    player.UpdateTrackProgress();
    EXPECT_FLOAT_EQ(player.cp, 0.0f);
    fixture.Map().Section(0).tracks[13]->bought = true;
    player.UpdateTrackProgress();
    EXPECT_FLOAT_EQ(player.cp, 1.0f / 3.0f);

    // A map of 13 tracks or fewer has no share to buy.
    fixture.Map().Build(Property::Child(CareerFixture::Parse("<Vector id=\"sections\"><Node/></Vector>").Get(),
                                        "sections"));
    ASSERT_EQ(fixture.Map().TrackCount(), 0);
    player.UpdateTrackProgress();
    EXPECT_EQ(player.cp, 0.0f);
}

}  // namespace
