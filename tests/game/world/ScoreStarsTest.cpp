#include <cmath>
#include <numbers>

#include "EffectsFixture.h"
#include "engine/scene/ModifierMover.h"
#include "game/world/ScoreStars.h"

namespace {

using ScoreStarsTest = EffectsFixture;

Sprite& Glow(const GameNode& layer, int index) {
    GameNode* node = layer.GetFirstChild();
    for (int i = 0; i < index; ++i) {
        node = node->GetNextSibling();
    }
    return *ObjectCast<Sprite>(node);
}

// The direction of the glow's throw, 0 straight up, positive to the right.
float ThrowAngle(const Sprite& glow) {
    const auto* mover = ObjectCast<ModifierMover>(glow.GetModifiers().front().Get());
    return std::atan2(mover->GetVelocity().x, -mover->GetVelocity().y);
}

float ThrowSpeed(const Sprite& glow) {
    const auto* mover = ObjectCast<ModifierMover>(glow.GetModifiers().front().Get());
    return std::hypot(mover->GetVelocity().x, mover->GetVelocity().y);
}

TEST_F(ScoreStarsTest, NoStarsBelowOneAndOneStarAtTheStart) {
    SpawnScoreStars(*layer, 50, 80, 0, 100, -1);
    SpawnScoreStars(*layer, 50, 80, -2, 100, -1);
    EXPECT_EQ(CountChildren(*layer), 0);

    SpawnScoreStars(*layer, 50, 80, 1, 100, -1);
    ASSERT_EQ(CountChildren(*layer), 1);
    const Sprite& glow = Glow(*layer, 0);
    EXPECT_EQ(glow.GetX(), 50);
    EXPECT_EQ(glow.GetY(), 80);
    EXPECT_EQ(glow.GetAlpha(), 60);
    const auto* star = ObjectCast<Sprite>(glow.GetFirstChild());
    ASSERT_NE(star, nullptr);
    EXPECT_EQ(star->GetFrameCount(), 8);
}

TEST_F(ScoreStarsTest, AFanFromFortyFiveDegreesLeftToRightWithTwoDrawsPerStar) {
    SpawnScoreStars(*layer, 50, 80, 5, 100, -1);
    ASSERT_EQ(CountChildren(*layer), 5);
    const Ref<RandomGenerator> draws = SameDraws();
    for (int i = 0; i < 5; ++i) {
        const Sprite& glow = Glow(*layer, i);
        EXPECT_EQ(glow.GetX(), 50 + 25 * i) << i;
        EXPECT_NEAR(ThrowAngle(glow), (-0.25 + 0.125 * i) * std::numbers::pi, 1e-4) << i;
        draws->Next();  // how long the star lingers
        EXPECT_NEAR(ThrowSpeed(glow), 300.0f + static_cast<float>(draws->Next() % 200), 0.01f) << i;
    }
}

TEST_F(ScoreStarsTest, ASlotTurnsTheFanClockwise) {
    score.letters = 4;
    // 40 pixels over 4 letters: slot 1 covers 10 to 20, a quarter turn on.
    SpawnScoreStars(*layer, 50, 80, 2, 40, 1);
    ASSERT_EQ(CountChildren(*layer), 2);
    EXPECT_EQ(Glow(*layer, 0).GetX(), 55);
    EXPECT_EQ(Glow(*layer, 1).GetX(), 65);
    EXPECT_NEAR(ThrowAngle(Glow(*layer, 0)), std::numbers::pi / 4, 1e-4);
    EXPECT_NEAR(ThrowAngle(Glow(*layer, 1)), 3 * std::numbers::pi / 4, 1e-4);
}

TEST_F(ScoreStarsTest, DegenerateFansStayFinite) {
    score.letters = 0;
    SpawnScoreStars(*layer, 50, 80, 3, 30, 2);
    SpawnScoreStars(*layer, 50, 80, 3, 0, -1);
    ASSERT_EQ(CountChildren(*layer), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(std::isfinite(ThrowAngle(Glow(*layer, i)))) << i;
    }
    Run(100);
}

TEST_F(ScoreStarsTest, EveryStarIsGoneWithin1699Ms) {
    SpawnScoreStars(*layer, 50, 80, 25, 200, -1);
    Run(880);
    EXPECT_EQ(CountChildren(*layer), 25);
    Run(840);
    EXPECT_EQ(CountChildren(*layer), 0);
}

TEST_F(ScoreStarsTest, StarsAtANodeSpanItsWidthInTheEffectLayer) {
    Ref<Sprite> node(new Sprite(300, 100, 80, 20));
    root->AddChild(node.Get());
    ThrowScoreStarsAtNode(0, node.Get());
    ASSERT_EQ(CountChildren(*layer), 25);
    // Half a width left of the node, less the layer's place at (10, 20).
    EXPECT_EQ(Glow(*layer, 0).GetX(), 300 - 40 - 10);
    EXPECT_EQ(Glow(*layer, 24).GetX(), 300 + 40 - 10);
    EXPECT_EQ(Glow(*layer, 0).GetY(), 100 - 20);
}

}  // namespace
