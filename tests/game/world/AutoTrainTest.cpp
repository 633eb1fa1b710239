#include <gtest/gtest.h>

#include <cstdint>

#include "RaceFixture.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/RandomGenerator.h"
#include "game/world/AutoTrain.h"
#include "game/world/Landscape.h"
#include "game/world/PlayerTrain.h"

namespace {

class AutoTrainTest : public testing::Test {
protected:
    AutoTrainTest() : train_(new AutoTrain) { train_->SetUnitsToTravel(100); }

    RaceConstants constants_;
    RecordingRace race_;
    Ref<AutoTrain> train_;
};

TEST_F(AutoTrainTest, RunsTheWholeTrackInTheGameTime) {
    for (int i = 0; i < 625; ++i) {  // 625 x 16 ms = 10 s
        train_->Update(16);
    }
    EXPECT_EQ(train_->GetRealX(), 1000.0f);
    EXPECT_EQ(train_->GetX(), 1000);
    train_->Update(500);
    EXPECT_EQ(train_->GetRealX(), 1000.0f);
}

TEST_F(AutoTrainTest, AStopCoalHaltsItAndItReturnsWithItsSound) {
    train_->Update(1000);
    train_->SetOut(2000);
    train_->Update(1000);
    train_->Update(999);
    EXPECT_EQ(train_->GetProgress(), 1000);
    EXPECT_EQ(race_.Count("SOUND_OPPONENT_RETURNS"), 0);
    train_->Update(1);  // the halt runs out: the sound, but no progress yet
    EXPECT_EQ(race_.Count("SOUND_OPPONENT_RETURNS"), 1);
    EXPECT_EQ(train_->GetProgress(), 1000);
    train_->Update(100);
    EXPECT_EQ(train_->GetProgress(), 1100);
    EXPECT_EQ(train_->GetRealX(), 110.0f);
}

TEST_F(AutoTrainTest, StandsStillWhenPausedOrHiddenAndPuffsFirstAfter100Ms) {
    RandomGenerator::SetGlobal(new RandomGenerator(7, 0));
    race_.paused = true;
    train_->Update(500);
    race_.paused = false;
    train_->SetVisible(false);
    train_->Update(500);
    EXPECT_EQ(train_->GetProgress(), 0);
    EXPECT_TRUE(race_.smoke.empty());
    EXPECT_TRUE(race_.sounds.empty());

    train_->SetVisible(true);
    train_->Update(99);
    EXPECT_TRUE(race_.smoke.empty());
    train_->Update(1);
    EXPECT_EQ(race_.smoke, std::vector<std::wstring>{L"ooo"});
    EXPECT_GE(train_->GetSmokeTimer(), 3000);
    EXPECT_LT(train_->GetSmokeTimer(), 43000);
    RandomGenerator::SetGlobal(nullptr);
}

TEST_F(AutoTrainTest, ChuffsLouderTheNearerItRunsToThePlayer) {
    // The strip's scroll node stands at x 100; both bodies are 100 wide.
    struct Case {
        const char* what;
        int progressMs;  // 10 ms per pixel
        float playerX;
        int volume;  // 0: silent
    };
    const Case cases[] = {
        {"behind: r x 120 / p", 0, 400.0f, 48},  // s 100, r 200, p 500
        {"alongside", 3000, 250.0f, 120},
        {"ahead: (800 - s) x 120 / (800 - q)", 3000, 0.0f, 80},  // s 400, q 200
        {"off the right edge", 7000, 0.0f, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Ref<Landscape> landscape(new Landscape);
        landscape->CreateTrains();
        AutoTrain& opponent = *landscape->GetAutoTrain();
        opponent.SetUnitsToTravel(100);
        opponent.Advance(c.progressMs);
        opponent.SetOut(1000000);  // held in place while it chuffs
        landscape->GetPlayerTrain()->SetRealX(c.playerX);
        race_.TakeSounds();
        opponent.Update(16);
        const std::vector<std::string> sounds = race_.TakeSounds();
        if (c.volume == 0) {
            EXPECT_TRUE(sounds.empty());
        } else {
            ASSERT_EQ(sounds.size(), 1u);
            EXPECT_EQ(sounds[0].rfind("SOUND_TRAIN_MOVING_0 " + std::to_string(c.volume) + " ", 0), 0u) << sounds[0];
        }
    }
}

// A save game may give a race longer than 32-bit pixels: an opponent far
// along it stands at the end of the range, as far right as a sprite goes.
TEST_F(AutoTrainTest, ASavedOpponentBeyondThePixelRangeStandsAtItsEnd) {
    PropertyNode saved("at", "AutoTrain");
    saved.Add(PropertyValue::FromInteger("UnitsToTravel", INT32_MAX, false));
    saved.Add(PropertyValue::FromInteger("prog", 10000, false));
    const Ref<AutoTrain> train(new AutoTrain(&saved));
    EXPECT_GT(train->GetRealX(), 2147483647.0f);
    EXPECT_EQ(train->GetX(), INT32_MAX);
}

TEST_F(AutoTrainTest, SaveAndLoadKeepProgressAndHalt) {
    train_->Update(2500);
    train_->SetOut(700);
    train_->SetFinish(9000);
    PropertyNode saved("ot", "");
    train_->Save(saved);
    EXPECT_EQ(saved.TypeName(), "AutoTrain");
    const Ref<AutoTrain> loaded(new AutoTrain(&saved));
    EXPECT_EQ(loaded->GetProgress(), 2500);
    EXPECT_EQ(loaded->GetOut(), 700);
    EXPECT_EQ(loaded->GetRealX(), 250.0f);
    EXPECT_EQ(loaded->GetY(), 90);
    EXPECT_EQ(loaded->GetFinish(), 9000);
    loaded->Reset();
    EXPECT_EQ(loaded->GetProgress(), 0);
    EXPECT_EQ(loaded->GetOut(), 0);
    EXPECT_EQ(loaded->GetFinish(), Train::kNotFinished);
}

}  // namespace
