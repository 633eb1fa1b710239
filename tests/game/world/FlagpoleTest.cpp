#include <gtest/gtest.h>

#include "HudFixture.h"
#include "game/world/Flagpole.h"

namespace {

int VisibleChildren(const GameNode& layer) {
    int visible = 0;
    for (const GameNode* child = layer.GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
        visible += child->IsVisible() && !child->IsRemoved() ? 1 : 0;
    }
    return visible;
}

// A pole 100 px high at the foot of the strip; flag n is 20 + 5n px wide,
// 14 frames of 20 px. The flag rises for 1500 ms (a 500 ms wait, then 1000 ms).
class FlagpoleTest : public testing::Test {
protected:
    FlagpoleTest() {
        race_.images.insert({{"FLAGPOLE", {12, 100}}, {"FLAG0", {20, 280}}, {"FLAG1", {25, 280}}, {"FLAG2", {30, 280}}});
        pole_ = new Flagpole(412.7f, 140);
        screen_->AddChild(scene_.effects.Get());
        screen_->AddChild(pole_.Get());
    }

    HudConstants constants_;
    RecordingRace race_;
    RecordingScene scene_;
    Ref<GameNode> screen_ = new GameNode();
    Ref<Flagpole> pole_;
};

TEST_F(FlagpoleTest, ThePoleStandsOnItsFootAndShowsTheFlagOfAPerformance) {
    EXPECT_EQ(pole_->GetX(), 412);
    EXPECT_EQ(pole_->GetY(), 140);
    EXPECT_EQ(pole_->GetAnchorKind(), Sprite::kBottomLeft);
    EXPECT_EQ(pole_->GetLayer(), 6);
    struct Case {
        int n;
        int width;
    };
    for (const Case c : {Case{-1, 30}, Case{0, 20}, Case{1, 25}, Case{2, 30}}) {
        SCOPED_TRACE(c.n);
        pole_->GetFlag()->SetAlpha(0);
        pole_->SetFlag(c.n);
        const Sprite& flag = *pole_->GetFlag();
        EXPECT_EQ(flag.GetWidth(), c.width);
        EXPECT_EQ(flag.GetFrameCount(), 14);
        EXPECT_EQ(flag.GetHeight(), 20);
        EXPECT_EQ(flag.GetX(), 9);
        EXPECT_EQ(flag.GetY(), 8 - 100);
        EXPECT_EQ(flag.GetAlpha(), 255);
    }
}

TEST_F(FlagpoleTest, TheAwardPaysPassengersAndPerformanceOnMapTicketsOnly) {
    struct Case {
        const char* what;
        int n;
        int mode;
        float rating;
        int levelCoins;
        int flying;
    };
    // Passengers pay 2 coins each; performance pays 15, 22 or 30 coins.
    const Case cases[] = {
        {"no performance", -1, TicketInfo::kMapTicket, 0.5f, 6, 0},
        {"first performance", 0, TicketInfo::kMapTicket, 0.5f, 6 + 15, 15},
        {"full carriage", 2, TicketInfo::kMapTicket, 1.2f, 10 + 30, 30},
        {"empty carriage", 1, TicketInfo::kMapTicket, 0.1f, 22, 22},
        {"classic ticket", 1, TicketInfo::kClassicRandom, 0.5f, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        scene_.levelCoins = 0;
        race_.ticket->GameMode = c.mode;
        race_.ticket->Rating = c.rating;
        const int before = RecordingScene::Children(*scene_.effects);
        ShowCoinAward(*pole_, c.n);
        EXPECT_EQ(scene_.levelCoins, c.levelCoins);
        EXPECT_EQ(RecordingScene::Children(*scene_.effects) - before, c.flying);
        EXPECT_EQ(pole_->GetFlag()->GetWidth(), c.n < 0 ? 30 : 20 + 5 * c.n);
        EXPECT_EQ(pole_->GetFlag()->GetAlpha(), 0);
    }
    // A rate out of bounds in the constant files is booked as the carriage pays it: 0 to 100 a passenger.
    race_.ticket->GameMode = TicketInfo::kMapTicket;
    race_.ticket->Rating = 0.5f;  // 3 passengers
    for (const auto& [rate, booked] : {std::pair{1000, 300}, std::pair{-5, 0}}) {
        RaceConstants::Define("<Integer id=\"COINS_PER_PASSENGER\" value=\"" + std::to_string(rate) + "\"/>");
        scene_.levelCoins = 0;
        ShowCoinAward(*pole_, -1);
        EXPECT_EQ(scene_.levelCoins, booked) << rate;
    }
    // So is a performance award: at most 500 coins fly.
    RaceConstants::Define("<Integer id=\"COINS_PER_PASSENGER\" value=\"2\"/>"
                          "<Vector id=\"COINS_PER_PERFORMANCE\"><Integer value=\"100000\"/></Vector>");
    scene_.levelCoins = 0;
    const int before = RecordingScene::Children(*scene_.effects);
    ShowCoinAward(*pole_, 0);
    EXPECT_EQ(RecordingScene::Children(*scene_.effects) - before, 500);
    EXPECT_EQ(scene_.levelCoins, 6 + 500);
}

TEST_F(FlagpoleTest, WithoutCoinsTheLevelGoesOnOnceTheFlagIsUp) {
    race_.ticket->GameMode = TicketInfo::kClassicFixed;
    ShowCoinAward(*pole_, 1);
    RecordingScene::Run(*screen_, 1400);
    EXPECT_EQ(scene_.awardsFinished, 0);
    EXPECT_GT(pole_->GetFlag()->GetAlpha(), 0);
    RecordingScene::Run(*screen_, 200);
    EXPECT_EQ(pole_->GetFlag()->GetY(), 8 - 100 - 20);
    EXPECT_EQ(pole_->GetFlag()->GetAlpha(), 255);
    EXPECT_EQ(scene_.awardsFinished, 1);
}

TEST_F(FlagpoleTest, CoinsAppearInTurnCircleTheFlagAndArriveBeforeTheLevelGoesOn) {
    EXPECT_EQ(CoinAwardDelay(0, 1), 0);
    EXPECT_EQ(CoinAwardDelay(14, 15), 1493);
    RaceConstants::Define("<Vector id=\"COINS_PER_PERFORMANCE\"><Integer value=\"4\"/></Vector>");
    race_.ticket->Rating = 0.0f;
    ShowCoinAward(*pole_, 0);
    // Delays of 0, 400, 800 and 1200 ms once the flag is up.
    const int visibleAt[][2] = {{1500 + 200, 1}, {1500 + 600, 2}, {1500 + 1000, 3}, {1500 + 1400, 4}};
    int elapsed = 0;
    for (const auto& [time, visible] : visibleAt) {
        RecordingScene::Run(*screen_, time - elapsed);
        elapsed = time;
        EXPECT_EQ(VisibleChildren(*scene_.effects), visible) << time;
    }

    RecordingScene::Run(*screen_, 15000);
    EXPECT_EQ(RecordingScene::Children(*scene_.effects), 4);
    EXPECT_EQ(VisibleChildren(*scene_.effects), 0);  // every coin arrived and left
    EXPECT_EQ(scene_.counterRefreshes, 4);
    EXPECT_EQ(scene_.awardsFinished, 1);
    EXPECT_EQ(scene_.levelCoins, 4);
}

}  // namespace
