#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "RaceFixture.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "game/world/PlayerTrain.h"

namespace {

class PlayerTrainTest : public testing::Test {
protected:
    PlayerTrainTest() { race_.ticket->Units = {3, 20, 30, 40, 10}; }

    // A saved train holding boost time and turbo turns.
    static Ref<PlayerTrain> TrainWith(int boostMs, int turboTurns) {
        PropertyNode saved("pt", "PlayerTrain");
        saved.Add(PropertyValue::FromInteger("boost", boostMs, false));
        saved.Add(PropertyValue::FromInteger("turbo", turboTurns, false));
        saved.Add(PropertyValue::FromInteger("UnitsToTravel", 1000, false));
        return Ref<PlayerTrain>(new PlayerTrain(&saved));
    }

    static RaceWord Word(int letters, int multiplier = 1, bool turboCoal = false) {
        return RaceWord{std::string(static_cast<size_t>(letters), 'a'), letters, multiplier, turboCoal};
    }

    // Updates in 16 ms frames until the train stands on its target, at most `frames`.
    static void DriveToRest(PlayerTrain& train, int frames = 2000) {
        const float target = static_cast<float>(std::min(train.GetUnitsTravelled(), train.GetUnitsToTravel()) * 10);
        for (int i = 0; i < frames && !(train.GetSpeed() <= 0.0f && train.GetRealX() == target); ++i) {
            train.Update(16);
        }
    }

    RaceConstants constants_;
    RecordingRace race_;
};

TEST_F(PlayerTrainTest, AWordsUnitsFollowLengthBoostMultipliersAndTurbo) {
    // Units 3, 20, 30, 40, 10 for 3..7 letters; sections of 3, 4, 5 coals of
    // 1000 ms give 0, 50, 100, 200 percent.
    struct Case {
        const char* what;
        int letters, multiplier, boostMs, turbo;
        int expected;
    };
    const Case cases[] = {
        {"base alone", 3, 1, 0, 0, 3},
        {"50% of 3 truncates", 3, 1, 3000, 0, 4},
        {"short of a full section", 3, 1, 2999, 0, 3},
        {"every section full", 4, 1, 12000, 0, 60},
        {"a double coal", 7, 2, 0, 0, 20},
        {"a double and a triple", 7, 6, 0, 0, 60},
        {"double coal and a turbo turn", 7, 2, 0, 1, 30},
        {"too long for the table", 8, 1, 0, 1, 0},
        {"too short for the table", 2, 2, 3000, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(TrainWith(c.boostMs, c.turbo)->GetWordDistance(Word(c.letters, c.multiplier)), c.expected);
    }
}

TEST_F(PlayerTrainTest, TheBoostOfAWordIsTakenBeforeItsOwnCoalsAndDrainsWhileRacing) {
    const Ref<PlayerTrain> train = TrainWith(0, 0);
    train->AddWord(Word(4));  // 20 units at 0%, then 4 coals in the meter
    EXPECT_EQ(train->GetUnitsTravelled(), 20);
    EXPECT_EQ(train->GetBoostTime(), 4000);
    train->AddWord(Word(4));  // 4 coals cover the first section: 50%
    EXPECT_EQ(train->GetUnitsTravelled(), 50);
    EXPECT_EQ(race_.smoke, (std::vector<std::wstring>{L"aaaa", L"aaaa"}));

    train->Update(250);
    EXPECT_EQ(train->GetBoostTime(), 7750);
    race_.paused = true;
    train->Update(250);
    EXPECT_EQ(train->GetBoostTime(), 7750);
    race_.paused = false;
    train->Update(10000);
    EXPECT_EQ(train->GetBoostTime(), 0);

    race_.capacity = 5000;
    train->AddWord(Word(7));
    EXPECT_EQ(train->GetBoostTime(), 5000);
}

TEST_F(PlayerTrainTest, ATurboCoalGivesTheNextWordsTheirTurnsAndASecondOneResetsThem) {
    race_.capacity = 0;  // no boost
    const Ref<PlayerTrain> train = TrainWith(0, 0);
    train->AddWord(Word(3, 1, true));  // no turns yet: the base alone
    EXPECT_EQ(train->GetUnitsTravelled(), 3);
    EXPECT_EQ(train->GetTurboTurns(), 3);
    EXPECT_EQ(race_.Count("SOUND_TURBO_USED"), 1);
    train->Update(0);
    EXPECT_EQ(train->GetMaximumSpeed(), 200.0f);

    train->AddWord(Word(3));  // turn 1 of 3
    EXPECT_TRUE(train->WasTurboUsed());
    EXPECT_EQ(train->GetUnitsTravelled(), 9);
    train->AddWord(Word(3, 1, true));  // turn 2, and the turns start again at 3
    EXPECT_EQ(train->GetUnitsTravelled(), 15);
    EXPECT_EQ(train->GetTurboTurns(), 3);
    EXPECT_EQ(train->GetTurboCoalsUsed(), 2);
    for (int i = 0; i < 3; ++i) {
        train->AddWord(Word(3));
    }
    EXPECT_EQ(train->GetUnitsTravelled(), 33);
    EXPECT_EQ(train->GetTurboTurns(), 0);
    train->Update(0);
    EXPECT_EQ(train->GetMaximumSpeed(), 100.0f);
    train->AddWord(Word(3));
    EXPECT_FALSE(train->WasTurboUsed());
    EXPECT_EQ(train->GetUnitsTravelled(), 36);
}

TEST_F(PlayerTrainTest, TheTrainStopsExactlyOnItsTargetAndAtTheEndOfTheTrack) {
    const Ref<PlayerTrain> train(new PlayerTrain);
    train->SetUnitsToTravel(13);
    train->AddWord(Word(5));  // 30 units, kept to the 13 of the race
    EXPECT_EQ(train->GetUnitsTravelled(), 13);

    race_.state = 1;  // before the race nothing moves
    train->Update(16);
    EXPECT_EQ(train->GetSpeed(), 0.0f);
    race_.state = RaceContext::kRacing;

    DriveToRest(*train);
    EXPECT_EQ(train->GetRealX(), 130.0f);
    EXPECT_EQ(train->GetX(), 130);
    EXPECT_EQ(race_.Count("SOUND_TRAIN_STOPPED"), 1);
    for (int i = 0; i < 50; ++i) {
        train->Update(16);
    }
    EXPECT_EQ(train->GetRealX(), 130.0f);
    EXPECT_EQ(race_.Count("SOUND_TRAIN_STOPPED"), 1);
}

// Units come from save games and may be any number: a race too long for
// 32-bit pixels still lies ahead, and words still take the train on.
TEST_F(PlayerTrainTest, ARaceOfAnyLengthKeepsItsTrainGoingForward) {
    const Ref<PlayerTrain> train(new PlayerTrain);
    train->SetUnitsToTravel(INT32_MAX);
    train->SetUnitsTravelled(INT32_MAX - 1);
    train->AddWord(Word(5));
    EXPECT_EQ(train->GetUnitsTravelled(), INT32_MAX);
    race_.state = RaceContext::kRacing;
    for (int i = 0; i < 10; ++i) {
        train->Update(16);
    }
    EXPECT_GT(train->GetRealX(), 0.0f);
}

TEST_F(PlayerTrainTest, StopsBetweenWordsWithOneSoundEach) {
    const Ref<PlayerTrain> train(new PlayerTrain);
    train->SetUnitsToTravel(100);
    train->AddWord(Word(3));
    DriveToRest(*train);
    EXPECT_EQ(train->GetRealX(), 30.0f);
    train->AddWord(Word(3));
    DriveToRest(*train);
    EXPECT_EQ(train->GetRealX(), 60.0f);
    EXPECT_EQ(race_.Count("SOUND_TRAIN_STOPPED"), 2);
}

TEST_F(PlayerTrainTest, SaveAndLoadKeepTheRaceAndALoadedTrainRunsOn) {
    const Ref<PlayerTrain> train(new PlayerTrain);
    train->SetUnitsToTravel(100);
    train->AddWord(Word(6, 1, true));  // 40 units, 6 coals, turbo
    for (int i = 0; i < 30; ++i) {
        train->Update(16);
    }
    train->SetBonus(true);
    ASSERT_GT(train->GetSpeed(), 0.0f);
    PropertyNode saved("pt", "");
    train->Save(saved);
    EXPECT_EQ(saved.TypeName(), "PlayerTrain");

    const Ref<PlayerTrain> loaded(new PlayerTrain(&saved));
    EXPECT_EQ(loaded->GetRealX(), train->GetRealX());
    EXPECT_EQ(loaded->GetX(), train->GetX());
    EXPECT_EQ(loaded->GetSpeed(), train->GetSpeed());
    EXPECT_EQ(loaded->GetTurboTurns(), 3);
    EXPECT_EQ(loaded->GetBoostTime(), train->GetBoostTime());
    EXPECT_TRUE(loaded->GetBonus());
    EXPECT_EQ(loaded->GetY(), 120);
    race_.TakeSounds();
    DriveToRest(*loaded);
    EXPECT_EQ(loaded->GetRealX(), 400.0f);
    // This approach brakes to a standstill a hair short of 400 and creeps on: one stop all the same.
    EXPECT_EQ(race_.Count("SOUND_TRAIN_STOPPED"), 1);

    loaded->Reset();
    EXPECT_EQ(loaded->GetSpeed(), 0.0f);
    EXPECT_EQ(loaded->GetTurboTurns(), 0);
    EXPECT_EQ(loaded->GetBoostTime(), 0);
    EXPECT_FALSE(loaded->GetBonus());
}

}  // namespace
