#include <gtest/gtest.h>

#include "HudFixture.h"
#include "engine/scene/DialogTable.h"
#include "game/world/Carriage.h"
#include "game/world/PlayerTrain.h"

namespace {

class CarriageRace : public RecordingRace {
public:
    int32_t CarriageSize() const override { return carriageSize; }

    int32_t carriageSize = 0;
};

// A carriage of size 3 (setup x -68, y 2) with a back picture 60 px wide;
// passenger kind k is 5 + k px wide. The ticket seats kinds 0, 3, 5, 1, 2.
class CarriageTest : public testing::Test {
protected:
    CarriageTest() {
        race_.images["CARRIAGE_BACK3"] = {60, 24};
        for (int kind = 0; kind <= 5; ++kind) {
            race_.images["PASSENGER" + std::to_string(kind)] = {5 + kind, 10};
        }
        race_.ticket->Passengers = {0, 3, 5, 1, 2};
        race_.ticket->Rating = 0.5f;
        screen_->AddChild(scene_.effects.Get());
    }

    Ref<Carriage> Build(float rating = 0.5f) {
        race_.ticket->Rating = rating;
        Ref<Carriage> carriage(ObjectCast<Carriage>(DialogTable::Instance()->CreateObject("CARRIAGE")));
        carriage->Build(-100, -8, 3);
        screen_->AddChild(carriage.Get());
        return carriage;
    }

    HudConstants constants_;
    CarriageRace race_;
    RecordingScene scene_;
    Ref<GameNode> screen_ = new GameNode();
};

TEST_F(CarriageTest, BuildShowsItsSizeBehindTheHitch) {
    const Ref<Carriage> carriage = Build();
    for (int i = 0; i < Carriage::kMaximumSize; ++i) {
        EXPECT_EQ(carriage->GetWindow(i)->IsVisible(), i < 3) << i;
        EXPECT_EQ(carriage->GetWindow(i)->GetX(), 2 + 14 * i) << i;
    }
    EXPECT_EQ(carriage->GetBack()->GetWidth(), 60);
    EXPECT_EQ(carriage->GetFront()->GetX(), 60);
    EXPECT_EQ(carriage->GetDoor()->GetX(), 58);
    EXPECT_EQ(carriage->GetX(), -100 + 68);
    EXPECT_EQ(carriage->GetY(), -8 - 2);
    ASSERT_EQ(carriage->GetWheels().size(), 3U);
    const std::pair<int, int> wheels[] = {{-58, -6}, {-18, -6}, {-6, -7}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(carriage->GetWheels()[i]->GetX(), wheels[i].first);
        EXPECT_EQ(carriage->GetWheels()[i]->GetY(), wheels[i].second);
        EXPECT_EQ(carriage->GetWheels()[i]->GetParent(), carriage.Get());
    }

    for (Sprite* wheel : carriage->GetWheels()) {
        wheel->SetFrameCount(4, false);
    }
    carriage->AnimateWheels(130);
    for (Sprite* wheel : carriage->GetWheels()) {
        EXPECT_EQ(wheel->GetCurrentFrame(), (130 / 25) % 4);
    }
}

TEST_F(CarriageTest, TheRatingSeatsPassengersOfTheTicketsKinds) {
    struct Case {
        float rating;
        int seated;
    };
    for (const Case c : {Case{0.1f, 0}, Case{0.5f, 3}, Case{0.9f, 5}, Case{1.0f, 5}, Case{1.7f, 5}}) {
        SCOPED_TRACE(c.rating);
        const Ref<Carriage> carriage = Build(c.rating);
        EXPECT_EQ(carriage->ShownPassengers(), c.seated);
        for (int i = 0; i < c.seated; ++i) {
            const Sprite& passenger = *carriage->GetPassenger(i);
            EXPECT_EQ(passenger.GetWidth(), 5 + race_.ticket->Passengers[static_cast<size_t>(i)]);
            EXPECT_EQ(passenger.GetX(), 14 * i);
            EXPECT_EQ(passenger.GetAnchorKind(), Sprite::kTop);
            EXPECT_EQ(passenger.GetParent(), carriage->GetPassengersNode());
        }
    }
}

TEST_F(CarriageTest, PassengersLeaveLastFirstAndEachPaysItsCoins) {
    const Ref<Carriage> carriage = Build(0.5f);
    carriage->UnloadPassengers(3.0f);
    EXPECT_EQ(scene_.awardResets, 1);
    // Two coins each, thrown from where each passenger stops (the
    // passengers' origin is the carriage's place plus (4, -22)); a coin
    // shows 20 px above its point.
    ASSERT_EQ(RecordingScene::Children(*scene_.effects), 6);
    EXPECT_EQ(scene_.CoinsInFlight(), 6);
    const int originX = -32 + 4;
    const int originY = -10 - 22;
    const int order[] = {2, 2, 1, 1, 0, 0};
    const GameNode* coin = scene_.effects->GetFirstChild();
    for (const int passenger : order) {
        SCOPED_TRACE(passenger);
        EXPECT_EQ(coin->GetX(), originX + passenger * 14 + 60 + 10);
        EXPECT_EQ(coin->GetY(), originY - 20);
        coin = coin->GetNextSibling();
    }

    RecordingScene::Run(*screen_, 300);
    EXPECT_GT(carriage->GetPassenger(2)->GetX(), 28);
    EXPECT_EQ(carriage->GetPassenger(1)->GetX(), 14);
    EXPECT_EQ(carriage->GetPassenger(0)->GetX(), 0);
    // No coin shows before its passenger has stopped.
    EXPECT_EQ(static_cast<const Sprite*>(scene_.effects->GetFirstChild())->GetAlpha(), 0);
    RecordingScene::Run(*screen_, 1000);
    EXPECT_EQ(carriage->GetPassenger(2)->GetX(), 2 * 14 + 70);
    EXPECT_EQ(carriage->GetPassenger(1)->GetX(), 14 + 70);
    EXPECT_EQ(scene_.unloadingsFinished, 0);
    RecordingScene::Run(*screen_, 1000);
    EXPECT_EQ(carriage->GetPassenger(0)->GetX(), 70);
    // The end waits for the last coin to reach the counter.
    for (int i = 0; i < 100 && scene_.unloadingsFinished == 0; ++i) {
        EXPECT_GT(scene_.CoinsInFlight(), 0);
        RecordingScene::Run(*screen_, 100);
    }
    EXPECT_EQ(scene_.unloadingsFinished, 1);
    EXPECT_EQ(scene_.CoinsInFlight(), 0);
}

TEST_F(CarriageTest, UnloadingNeverReachesBeyondThePassengersShown) {
    struct Case {
        float count;
        int leaving;
    };
    for (const Case c : {Case{0.7f, 0}, Case{-3.0f, 0}, Case{5.0f, 3}, Case{40.0f, 3}}) {
        SCOPED_TRACE(c.count);
        scene_.unloadingsFinished = 0;
        const int coinsBefore = RecordingScene::Children(*scene_.effects);
        const Ref<Carriage> carriage = Build(0.5f);
        carriage->UnloadPassengers(c.count);
        EXPECT_EQ(RecordingScene::Children(*scene_.effects) - coinsBefore, 2 * c.leaving);
        RecordingScene::Run(*screen_, 10000);
        // Nobody moves who does not leave, and the end is signalled either way.
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(carriage->GetPassenger(i)->GetX() != 14 * i, i < c.leaving) << i;
        }
        EXPECT_EQ(scene_.unloadingsFinished, 1);
    }
}

TEST_F(CarriageTest, ThePlayersTrainPullsACarriageOnlyOnMapTickets) {
    struct Case {
        int mode;
        int size;
        bool pulls;
    };
    for (const Case c : {Case{TicketInfo::kMapTicket, 3, true}, Case{TicketInfo::kMapTicket, 0, false},
                         Case{TicketInfo::kClassicFixed, 3, false}}) {
        SCOPED_TRACE(c.mode * 10 + c.size);
        race_.ticket->GameMode = c.mode;
        race_.carriageSize = c.size;
        const Ref<PlayerTrain> train(new PlayerTrain());
        ASSERT_EQ(train->GetCarriage() != nullptr, c.pulls);
        if (c.pulls) {
            const Carriage& carriage = *train->GetCarriage();
            EXPECT_EQ(carriage.GetParent(), train.Get());
            EXPECT_EQ(carriage.GetSize(), 3);
            // The model has no "cx" and "cy": the hitch is the background's left edge.
            EXPECT_EQ(carriage.GetX(), -100 + 68);
            EXPECT_EQ(carriage.GetY(), 0 - 2);
        }
    }
}

}  // namespace
