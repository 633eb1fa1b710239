#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "ModifierRunner.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/ModifierColorCycle.h"
#include "engine/scene/ModifierCropSize.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/ModifierPulse.h"
#include "engine/scene/ModifierRotate.h"
#include "engine/scene/ModifierRotateScale.h"
#include "engine/scene/ModifierScaleBounce.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierZoom.h"
#include "engine/scene/Sprite.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

class SpriteModifiersTest : public ::testing::Test {
protected:
    // A 40 x 10 sprite without an image, cut into four 10 x 10 frames.
    SpriteModifiersTest() { sprite->SetFrameCount(4, true); }

    template <typename Observe>
    auto Run(Modifier* modifier, int32_t elapsedMs, int limit, Observe observe) {
        sprite->AddModifier(modifier);
        return RunModifier(*modifier, elapsedMs, limit, observe);
    }
    auto RunAlpha(Modifier* modifier, int32_t elapsedMs, int limit = 50) {
        return Run(modifier, elapsedMs, limit, [&] { return sprite->GetAlpha(); });
    }
    auto RunFrames(Modifier* modifier, int32_t elapsedMs, int limit = 50) {
        return Run(modifier, elapsedMs, limit, [&] { return sprite->GetCurrentFrame(); });
    }

    Ref<Sprite> sprite{new Sprite(0, 0, 40, 10)};
};

TEST_F(SpriteModifiersTest, ValueFadesAlphaByTheTimeBeforeEachFrame) {
    Ref<ModifierValue> fade(new ModifierValue(0, 255, 100));
    const auto run = RunAlpha(fade.Get(), 40);
    EXPECT_EQ(run.seen, (std::vector<int32_t>{0, 102, 204, 255}));
    EXPECT_TRUE(run.finished);

    Ref<ModifierValue> instant(new ModifierValue(255, 30, 0));
    EXPECT_EQ(RunAlpha(instant.Get(), 40).seen, (std::vector<int32_t>{30}));
}

TEST_F(SpriteModifiersTest, FrameAnimationStopsByLoopCountAndWrapStyle) {
    const struct {
        int32_t loopCount;
        int32_t wrapStyle;
        std::vector<int32_t> frames;  // after each update, up to the finishing one
    } cases[] = {
        {0, Sprite::kWrapLoop, {0, 1, 2, 3, 3}},
        {1, Sprite::kWrapLoop, {0, 1, 2, 3, 3}},
        {2, Sprite::kWrapLoop, {0, 1, 2, 3, 0, 1, 2, 3, 3}},
        {-1, Sprite::kWrapOnce, {0, 1, 2, 3, 3}},
        // Switch runs back after the last frame; the end going forward is
        // frame 3, going backward frame 0.
        {1, Sprite::kWrapSwitch, {0, 1, 2, 3, 3}},
        {2, Sprite::kWrapSwitch, {0, 1, 2, 3, 2, 1, 0, 0}},
    };
    for (const auto& c : cases) {
        sprite->SetFrame(0);
        sprite->SetReverse(0);
        sprite->SetWrapStyle(c.wrapStyle);
        Ref<ModifierFrame> animation(new ModifierFrame(c.loopCount, 100));
        const auto run = RunFrames(animation.Get(), 100);
        EXPECT_EQ(run.seen, c.frames) << c.loopCount << " loops, style " << c.wrapStyle;
        EXPECT_TRUE(run.finished);
    }
}

TEST_F(SpriteModifiersTest, EndlessFrameAnimationNeverFinishesEvenWithoutAFrameTime) {
    Ref<ModifierFrame> endless(new ModifierFrame(ModifierFrame::kEndless, 100));
    const auto run = RunFrames(endless.Get(), 100, 9);
    EXPECT_FALSE(run.finished);
    EXPECT_EQ(run.seen, (std::vector<int32_t>{0, 1, 2, 3, 0, 1, 2, 3, 0}));

    // A frame time of 0 counts as 1 ms: ten steps in a 10 ms update.
    sprite->SetFrame(0);
    Ref<ModifierFrame> hurried(new ModifierFrame(ModifierFrame::kEndless, 0));
    EXPECT_EQ(RunFrames(hurried.Get(), 10, 2).seen, (std::vector<int32_t>{0, 2}));
}

TEST_F(SpriteModifiersTest, FrameAnimationFromADefinitionAndFromASpriteKey) {
    Ref<PropertyNode> definition(new PropertyNode("", "ModifierFrame"));
    definition->Add(PropertyValue::FromInteger("loopcount", 1, true));
    definition->Add(PropertyValue::FromInteger("frametime", 50, true));
    Ref<Object> built(ClassFactory::Instance().Create(definition.Get()));
    auto* animation = ObjectCast<ModifierFrame>(built.Get());
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(RunFrames(animation, 50).seen, (std::vector<int32_t>{0, 1, 2, 3, 3}));

    Ref<PropertyNode> spriteDefinition(new PropertyNode("", "Sprite"));
    spriteDefinition->Add(PropertyValue::FromInteger("frametime", 30, true));
    Ref<Sprite> animated(new Sprite(spriteDefinition.Get()));
    ASSERT_EQ(animated->GetModifiers().size(), 1u);
    EXPECT_NE(ObjectCast<ModifierFrame>(animated->GetModifiers()[0].Get()), nullptr);
}

TEST_F(SpriteModifiersTest, CropTweenRoundsItsSizesAndDropsTheCropAtFullSize) {
    // The sprite shows one 10 x 10 frame.
    Ref<ModifierCropSize> grow(new ModifierCropSize(4, 2, 10, 10, 90));
    const auto run = Run(grow.Get(), 30, 10, [&] {
        const auto& crop = sprite->GetCropRect();
        return crop ? std::vector<int32_t>{crop->w, crop->h} : std::vector<int32_t>{};
    });
    // 2 + 8 x 1/3 = 4.67 rounds to 5; the last update restores the full size.
    EXPECT_EQ(run.seen, (std::vector<std::vector<int32_t>>{{4, 2}, {6, 5}, {8, 7}, {}}));

    Ref<ModifierCropSize> shrink(new ModifierCropSize(10, 10, 5, 10, 0, true, false));
    Run(shrink.Get(), 30, 10, [] { return 0; });
    ASSERT_TRUE(sprite->GetCropRect());
    EXPECT_EQ(sprite->GetCropRect()->w, 5);
}

TEST_F(SpriteModifiersTest, ScaleAndRotationTweensEndExactly) {
    Ref<ModifierZoom> zoom(new ModifierZoom(100, 1.0f, 2.0f, true));
    sprite->SetDirty(false);
    EXPECT_EQ(Run(zoom.Get(), 50, 10, [&] { return sprite->GetScale(); }).seen, (std::vector<float>{1.0f, 1.5f, 2.0f}));
    EXPECT_FALSE(sprite->IsDirty());  // the zoom writes the scale alone

    Ref<ModifierRotateScale> turn(new ModifierRotateScale(0.0f, kPi, 2.0f, 1.0f, 100));
    const auto run = Run(turn.Get(), 25, 10, [&] {
        return std::vector<float>{sprite->GetRotation(), sprite->GetScale()};
    });
    ASSERT_EQ(run.updates, 5);
    EXPECT_FLOAT_EQ(run.seen[1][0], kPi / 4);
    EXPECT_FLOAT_EQ(run.seen[1][1], 1.75f);
    EXPECT_EQ(run.seen.back(), (std::vector<float>{kPi, 1.0f}));

    sprite->SetScale(3.0f);
    Ref<ModifierRotateScale> turnOnly(new ModifierRotateScale(0.0f, 1.0f, 0.5f, 0.5f, 10, false));
    Run(turnOnly.Get(), 25, 10, [] { return 0; });
    EXPECT_EQ(sprite->GetScale(), 3.0f);
    EXPECT_EQ(sprite->GetRotation(), 1.0f);
}

TEST_F(SpriteModifiersTest, PulseRampsHoldsAndEndsOnTheFirstValue) {
    Ref<ModifierPulse> pulse(
        new ModifierPulse(0, 100, {.rampUpMs = 100, .rampDownMs = 50, .holdSecondMs = 50, .holdFirstMs = 50}, 1));
    const auto run = RunAlpha(pulse.Get(), 25);
    // Entering the hold at the first value completes the only loop.
    EXPECT_EQ(run.seen, (std::vector<int32_t>{0, 25, 50, 75, 100, 100, 100, 50, 0}));
    EXPECT_TRUE(run.finished);
}

TEST_F(SpriteModifiersTest, PulseWithoutDurationsStillEndsEachUpdateAndDrivesItsNodeList) {
    Ref<Sprite> other(new Sprite(0, 0, 4, 4));
    Ref<ModifierPulse> pulse(new ModifierPulse(10, 200, {}, 0, {Ref<GameNode>(other.Get())}));
    sprite->SetAlpha(77);
    const auto run = Run(pulse.Get(), 1, 8, [&] { return other->GetAlpha(); });
    EXPECT_FALSE(run.finished);
    // Each phase lasts 1 ms: up (from the start), hold high, down (from the top), hold low.
    EXPECT_EQ(run.seen, (std::vector<int32_t>{10, 200, 200, 10, 10, 200, 200, 10}));
    EXPECT_EQ(sprite->GetAlpha(), 77);  // the target is left alone
}

// A table image of colours in reading order.
Ref<MemorySurface> Table(const std::vector<uint32_t>& colours, int32_t width) {
    Ref<MemorySurface> table(new MemorySurface(width, static_cast<int32_t>(colours.size()) / width));
    for (size_t i = 0; i < colours.size(); ++i) {
        table->Pixels32()[table->PixelIndex(static_cast<int32_t>(i) % width, static_cast<int32_t>(i) / width)] =
            colours[i];
    }
    return table;
}

TEST_F(SpriteModifiersTest, ColourCycleWalksTheTablePerPeriod) {
    const Ref<MemorySurface> table = Table({0xFF000001, 0xFF000002, 0x00000003, 0x12000004}, 2);
    const auto colour = [&] { return sprite->GetColor(); };

    Ref<ModifierColorCycle> once(new ModifierColorCycle(table.Get(), 400, 1));
    const auto run = Run(once.Get(), 100, 20, colour);
    // The fourth colour stays through the end of the period, is written again
    // once the period is over, and the modifier finishes one update later.
    EXPECT_EQ(run.seen, (std::vector<int32_t>{1, 2, 3, 4, 4, 4, 4}));
    EXPECT_TRUE(run.finished);

    Ref<ModifierColorCycle> endless(new ModifierColorCycle(table.Get(), 400, 0));
    EXPECT_FALSE(Run(endless.Get(), 100, 20, colour).finished);

    // A period of 0 counts as 1 ms and ends each update.
    Ref<ModifierColorCycle> hurried(new ModifierColorCycle(table.Get(), 0, 3));
    EXPECT_TRUE(Run(hurried.Get(), 1, 20, colour).finished);
}

TEST_F(SpriteModifiersTest, EasedTurnIsHalfWayAtHalfTimeAndExactOneUpdateAfterTheEnd) {
    Ref<ModifierRotate> eased(new ModifierRotate(1.0f, 3.0f, 100));
    eased->SetEased(true);
    const auto run = Run(eased.Get(), 25, 10, [&] { return sprite->GetRotation(); });
    ASSERT_EQ(run.updates, 5);
    EXPECT_FLOAT_EQ(run.seen[1], 1.0f + 2.0f * 0.15625f);  // slow start
    EXPECT_FLOAT_EQ(run.seen[2], 2.0f);
    EXPECT_EQ(run.seen[4], 3.0f);

    // One long step: the last interpolated angle, then the exact end.
    Ref<ModifierRotate> jump(new ModifierRotate(0.0f, 0.3f, 100));
    EXPECT_EQ(Run(jump.Get(), 1000, 10, [&] { return sprite->GetRotation(); }).seen, (std::vector<float>{0.0f, 0.3f}));

    Ref<ModifierRotate> instant(new ModifierRotate(0.0f, 2.0f, 0));
    EXPECT_EQ(Run(instant.Get(), 10, 10, [&] { return sprite->GetRotation(); }).seen, (std::vector<float>{2.0f}));
}

TEST_F(SpriteModifiersTest, SpinKeepsTurningPastAFullCircle) {
    Ref<ModifierRotate> spin(new ModifierRotate(400, 1.0f));
    const auto run = Run(spin.Get(), 100, 7, [&] { return sprite->GetRotation(); });
    EXPECT_FALSE(run.finished);
    EXPECT_FLOAT_EQ(run.seen[4], 1.0f + 2 * kPi);
    EXPECT_FLOAT_EQ(run.seen[6], 1.0f + 3 * kPi);
}

TEST_F(SpriteModifiersTest, BounceOvershootsSettlesAndNeverWritesANegativeScale) {
    const struct {
        float start, target, speed, acceleration, damping;
        bool overshoots, settlesEarly;
    } cases[] = {
        // Swings about the target until the four-second stop.
        {0.0f, 1.0f, 4.0f, 30.0f, 6.0f, true, false},
        // Pulled hard below zero, the scale written stays at 0.
        {0.5f, 0.1f, -8.0f, 40.0f, 4.0f, true, false},
        // No pull: it stops once damping has eaten the speed, wherever it is.
        {0.0f, 1.0f, 2.0f, 0.0f, 20.0f, true, true},
    };
    for (const auto& c : cases) {
        sprite->SetScale(c.start);
        Ref<ModifierScaleBounce> bounce(new ModifierScaleBounce(c.start, c.target, c.speed, c.acceleration, c.damping));
        const auto run = Run(bounce.Get(), 20, 300, [&] { return sprite->GetScale(); });
        ASSERT_TRUE(run.finished) << c.speed;
        EXPECT_LE(run.updates, 201) << c.speed;  // 4000 ms at most, plus the finishing update
        for (const float scale : run.seen) {
            EXPECT_GE(scale, 0.0f) << c.speed;
        }
        EXPECT_EQ(run.seen.back(), c.target) << c.speed;
        EXPECT_EQ(run.updates < 200, c.settlesEarly) << c.speed;
        EXPECT_EQ(*std::max_element(run.seen.begin(), run.seen.end()) > c.target, c.overshoots) << c.speed;
    }
}

TEST_F(SpriteModifiersTest, BounceThatNeverSettlesStopsAfterFourSecondsOnTheTarget) {
    sprite->SetScale(1.0f);
    // No damping: it would swing for ever.
    Ref<ModifierScaleBounce> bounce(new ModifierScaleBounce(1.0f, 1.5f, 3.0f, 20.0f, 0.0f));
    const auto run = Run(bounce.Get(), 40, 500, [&] { return sprite->GetScale(); });
    EXPECT_EQ(run.updates, 101);
    EXPECT_EQ(run.seen.back(), 1.5f);
    EXPECT_GT(*std::max_element(run.seen.begin(), run.seen.end()), 1.5f);
}

}  // namespace
