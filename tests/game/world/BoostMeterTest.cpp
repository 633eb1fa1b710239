#include <gtest/gtest.h>

#include <cmath>

#include "HudFixture.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/scene/Modifier.h"
#include "game/world/BoostMeter.h"
#include "game/world/PlayerTrain.h"

namespace {

constexpr const char* kDefinition =
    "<root><BoostMeter id=\"BOOSTMETER\" x=\"700\" y=\"300\">"
    "<Sprite id=\"top\" y=\"92\" width=\"30\" height=\"24\"/>"
    "<Sprite id=\"fill\" width=\"30\" height=\"100\"/>"
    "<Sprite id=\"overlay\"/></BoostMeter></root>";

// Model 0 holds 3 coals of 1000 ms with its empty mark at 92 and an overlay
// 80 px high (a range of 81 px); model 1 holds 4 coals, empty at 100.
class BoostMeterTest : public testing::Test {
protected:
    BoostMeterTest() {
        race_.images.insert({{"BOOSTMETER1", {40, 120}},
                             {"BOOSTMETER2", {40, 130}},
                             {"BOOSTMETER_OVERLAY1", {30, 80}},
                             {"BOOSTMETER_OVERLAY2", {30, 88}},
                             {"BOOSTMETER_GLOW1", {50, 50}},
                             {"BOOSTMETER_GLOW2", {60, 60}}});
        definitions_ = new PropertyFile();
        definitions_->LoadFromMemory(kDefinition, std::char_traits<char>::length(kDefinition), "meter");
        screen_->AddChild(scene_.glow.Get());
        screen_->AddChild(hud_.Get());
    }

    Ref<BoostMeter> MakeMeter() {
        Ref<BoostMeter> meter(new BoostMeter(Property::Child(definitions_.Get(), "BOOSTMETER")));
        hud_->AddChild(meter.Get());
        return meter;
    }

    void SetBoost(int boostMs) {
        PropertyNode saved("pt", "PlayerTrain");
        saved.Add(PropertyValue::FromInteger("boost", boostMs, false));
        train_ = new PlayerTrain(&saved);
        scene_.train = train_.Get();
    }

    HudConstants constants_;
    RecordingRace race_;
    RecordingScene scene_;
    Ref<PropertyFile> definitions_;
    // The screen holds the glow, then the meter's own layer.
    Ref<GameNode> screen_ = new GameNode();
    Ref<GameNode> hud_ = new GameNode();
    Ref<PlayerTrain> train_;
};

TEST_F(BoostMeterTest, TheLevelAimsAtTheShareOfTheCapacityTheBoostFills) {
    struct Case {
        int boostMs;
        float target;
    };
    for (const Case c : {Case{0, 92.0f}, Case{3000, 92.0f - 81.0f}, Case{1500, 92.0f - 40.5f}}) {
        SCOPED_TRACE(c.boostMs);
        SetBoost(c.boostMs);
        const Ref<BoostMeter> meter = MakeMeter();
        meter->Build();
        EXPECT_EQ(meter->GetCapacityValue(), 3000);
        EXPECT_EQ(meter->GetRange(), 81);
        meter->Update(10);
        EXPECT_FLOAT_EQ(meter->GetTargetLevel(), c.target);
    }
}

TEST_F(BoostMeterTest, TheLevelRisesAndDrainsSmoothlyAtMost500PixelsASecond) {
    SetBoost(3000);
    const Ref<BoostMeter> meter = MakeMeter();
    meter->Build();
    float previous = meter->GetLevel();
    float largestStep = 0.0f;
    for (int frame = 0; frame < 300; ++frame) {
        meter->Update(10);
        largestStep = std::max(largestStep, std::fabs(meter->GetLevel() - previous));
        previous = meter->GetLevel();
    }
    EXPECT_NEAR(meter->GetLevel(), 11.0f, 0.5f);
    // Full: the top edge has shrunk away.
    EXPECT_LE(meter->GetTop()->GetClipRect()->h, 0);
    EXPECT_EQ(meter->GetFill()->GetClipRect()->y, static_cast<int32_t>(meter->GetLevel()));

    SetBoost(0);
    for (int frame = 0; frame < 300; ++frame) {
        meter->Update(10);
        largestStep = std::max(largestStep, std::fabs(meter->GetLevel() - previous));
        previous = meter->GetLevel();
    }
    EXPECT_NEAR(meter->GetLevel(), 92.0f, 0.5f);
    EXPECT_LE(largestStep, 5.0f + 1e-3f);
    EXPECT_EQ(meter->GetFill()->GetClipRect()->h, 0);
    EXPECT_EQ(meter->GetTop()->GetClipRect()->h, 600);
}

TEST_F(BoostMeterTest, TheUpgradeShowPlaysOnceForANewModelOnMapTickets) {
    struct Case {
        const char* what;
        int model;
        int oldModel;
        bool keepsOld;
        int gameMode;
        bool shows;
        int oldAfter;
    };
    const Case cases[] = {
        {"first model", 0, 0, false, TicketInfo::kMapTicket, false, 0},
        {"new model", 1, 0, false, TicketInfo::kMapTicket, true, 1},
        {"seen before", 1, 1, false, TicketInfo::kMapTicket, false, 1},
        {"kept back", 1, 0, true, TicketInfo::kMapTicket, true, 0},
        {"classic ticket", 1, 0, false, TicketInfo::kClassicFixed, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        race_.boostIndex = c.model;
        race_.ticket->GameMode = c.gameMode;
        scene_.oldBoostIndex = c.oldModel;
        scene_.keepsOldBoostIndex = c.keepsOld;
        SetBoost(0);
        const Ref<BoostMeter> meter = MakeMeter();
        EXPECT_EQ(meter->Build() != nullptr, c.shows);
        EXPECT_EQ(hud_->GetFirstChild() != meter.Get(), c.shows);
        EXPECT_EQ(meter->GetAlpha(), c.shows ? 0 : 255);
        EXPECT_EQ(scene_.oldBoostIndex, c.oldAfter);
        hud_->SetRemoved(true);
        hud_ = new GameNode();
        screen_->AddChild(hud_.Get());
    }
}

TEST_F(BoostMeterTest, TheUpgradeShowCrossFadesToTheNewMeterAndItsGlow) {
    race_.boostIndex = 1;
    SetBoost(0);
    const Ref<BoostMeter> meter = MakeMeter();
    const Ref<Modifier> lastStep(meter->Build());
    ASSERT_TRUE(lastStep);
    const Ref<GameNode> oldMeter(hud_->GetFirstChild());
    ASSERT_NE(oldMeter.Get(), meter.Get());
    EXPECT_EQ(static_cast<Sprite&>(*oldMeter).GetHeight(), 120);
    EXPECT_FALSE(meter->GetOverlay()->IsVisible());
    EXPECT_EQ(scene_.glow->GetHeight(), 50);
    EXPECT_EQ(scene_.glow->GetY(), 30);

    RecordingScene::Run(*screen_, 500);
    EXPECT_TRUE(oldMeter->IsRemoved());
    EXPECT_FALSE(lastStep->IsFinished());
    RecordingScene::Run(*screen_, 2500);
    EXPECT_TRUE(lastStep->IsFinished());
    EXPECT_EQ(meter->GetAlpha(), 255);
    EXPECT_EQ(meter->GetFill()->GetAlpha(), 255);
    EXPECT_EQ(meter->GetTop()->GetAlpha(), 255);
    EXPECT_TRUE(meter->GetOverlay()->IsVisible());
    EXPECT_EQ(meter->GetOverlay()->GetHeight(), 88);
    // The new model's glow at its own place, pulsed out again.
    EXPECT_EQ(scene_.glow->GetHeight(), 60);
    EXPECT_EQ(scene_.glow->GetY(), 26);
    EXPECT_EQ(scene_.glow->GetAlpha(), 0);
}

}  // namespace
