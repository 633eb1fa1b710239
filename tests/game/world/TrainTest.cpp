#include <gtest/gtest.h>

#include <cmath>

#include "RaceFixture.h"
#include "engine/foundation/PropertyNode.h"
#include "game/world/AutoTrain.h"
#include "game/world/PlayerTrain.h"

namespace {

class TrainTest : public testing::Test {
protected:
    RaceConstants constants_;
    RecordingRace race_;
};

// Lays the wheel frames out as a wheel picture strip would.
void LayOutWheelFrames(const Train& train) {
    for (Sprite* wheel : train.GetWheels()) {
        wheel->SetFrameCount(-1, true);
    }
}

TEST_F(TrainTest, WheelsAndRodsFollowX) {
    // Model: background 100 wide, small rod circle at (30 - 100, -12) with
    // radius 4 and 2 px per step, wheels at 30 - 100 with 8 frames of 5 px,
    // big rod radius 6, y offset 4; a centred 16 px wheel stands at y -4.
    struct Case {
        int x;
        int smallX, smallY;
        int frame;
        int bigX, bigY;
    };
    const Case cases[] = {
        {0, -66, -12, 0, -64, -8},   // both rods at angle 0
        {10, -67, -11, 2, -70, -2},  // 5 steps of 100; frame 2 is a quarter turn
        {45, -70, -9, 1, -66, -4},   // 22.5 steps truncate to 22; frame 9 wraps to 1
    };
    const Ref<PlayerTrain> train(new PlayerTrain);
    ASSERT_EQ(train->GetWheels().size(), 2u);
    LayOutWheelFrames(*train);
    EXPECT_EQ(train->GetWheels()[0]->GetX(), -70);
    EXPECT_EQ(train->GetWheels()[0]->GetY(), -4);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        train->SetRealX(static_cast<float>(c.x));
        train->AnimateWheels();
        EXPECT_EQ(train->GetSmallWheelBar()->GetX(), c.smallX);
        EXPECT_EQ(train->GetSmallWheelBar()->GetY(), c.smallY);
        for (const Sprite* wheel : train->GetWheels()) {
            EXPECT_EQ(wheel->GetCurrentFrame(), c.frame);
        }
        EXPECT_EQ(train->GetBigWheelBar()->GetX(), c.bigX);
        EXPECT_EQ(train->GetBigWheelBar()->GetY(), c.bigY);
    }
}

TEST_F(TrainTest, AModelWithoutBigWheelsTurnsOnlyTheSmallRod) {
    race_.boostIndex = 1;
    const Ref<PlayerTrain> train(new PlayerTrain);
    EXPECT_TRUE(train->GetWheels().empty());
    EXPECT_EQ(train->GetBigWheelBar(), nullptr);
    train->SetRealX(10.0f);
    train->AnimateWheels();
    EXPECT_EQ(train->GetSmallWheelBar()->GetX(), -67);
    // "smokey" without "smokex" is not read.
    EXPECT_EQ(train->GetSmokeX(), 0);
    EXPECT_EQ(train->GetSmokeY(), 0);
}

TEST_F(TrainTest, ChuffsWithAnIntervalAndPanFromSpeedAndScreenPlace) {
    // Delays 600 (rest) to 200 (speed 100); the body is 100 wide.
    struct Case {
        int x, spread;
        float speed;
        int pan, interval;
    };
    const Case cases[] = {
        {0, 255, 50.0f, 15, 400},     // 50 x 255 / 800
        {-100, 200, 100.0f, 15, 200}, // 27 + (-50 x 200 / 800 = -12, truncated toward zero)
        {800, 255, 0.5f, 255, 598},   // 270 clamped; 4 x 0.5 truncates to 2
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        const Ref<AutoTrain> train(new AutoTrain);
        train->SetRealX(static_cast<float>(c.x));
        train->PlayMovingSound(1, c.spread, 99, c.speed);
        EXPECT_EQ(race_.TakeSounds(), std::vector<std::string>{"SOUND_TRAIN_MOVING_0 99 " + std::to_string(c.pan)});
        train->PlayMovingSound(c.interval - 1, c.spread, 99, c.speed);
        EXPECT_TRUE(race_.TakeSounds().empty());
        train->PlayMovingSound(1, c.spread, 99, c.speed);
        EXPECT_EQ(race_.TakeSounds(), std::vector<std::string>{"SOUND_TRAIN_MOVING_1 99 " + std::to_string(c.pan)});
    }
}

TEST_F(TrainTest, StandingStillKeepsTheBeatSilentlyAndTurboOutrunsIt) {
    const Ref<AutoTrain> train(new AutoTrain);
    for (int i = 0; i < 7; ++i) {
        train->PlayMovingSound(600, 255, 255, 0.0f);
    }
    EXPECT_TRUE(race_.TakeSounds().empty());
    // The step went round the seven pitches; above the top speed the
    // interval turns negative and is not clamped, so the next call chuffs too.
    train->PlayMovingSound(1, 255, 255, 200.0f);
    train->PlayMovingSound(0, 255, 255, 200.0f);
    const std::vector<std::string> sounds = race_.TakeSounds();
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_EQ(sounds[0].substr(0, 20), "SOUND_TRAIN_MOVING_0");
    EXPECT_EQ(sounds[1].substr(0, 20), "SOUND_TRAIN_MOVING_1");
}

TEST_F(TrainTest, FinishIsNotArrivedUntilRecordedAndSavedExactly) {
    const Ref<PlayerTrain> train(new PlayerTrain);
    EXPECT_EQ(train->GetFinish(), Train::kNotFinished);
    train->SetFinish(123456);
    train->SetUnitsTravelled(7);
    train->SetUnitsToTravel(90);
    PropertyNode saved("pt", "");
    train->Save(saved);
    const Ref<PlayerTrain> loaded(new PlayerTrain(&saved));
    EXPECT_EQ(loaded->GetFinish(), 123456);
    EXPECT_EQ(loaded->GetUnitsTravelled(), 7);
    EXPECT_EQ(loaded->GetUnitsToTravel(), 90);
    // A reset race has no arrival yet, so a later arrival still compares as later.
    loaded->Reset();
    EXPECT_EQ(loaded->GetFinish(), Train::kNotFinished);
    EXPECT_EQ(loaded->GetUnitsTravelled(), 0);
    EXPECT_EQ(loaded->GetRealX(), 0.0f);
}

}  // namespace
