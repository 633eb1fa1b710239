#include <cmath>
#include <numbers>
#include <vector>

#include "EffectsFixture.h"
#include "engine/scene/ModifierWait.h"
#include "game/world/OneShotEffects.h"

namespace {

using OneShotEffectsTest = EffectsFixture;

std::vector<Ref<Sprite>> Children(const GameNode& node) {
    std::vector<Ref<Sprite>> sprites;
    for (GameNode* child = node.GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
        sprites.emplace_back(ObjectCast<Sprite>(child));
    }
    return sprites;
}

TEST_F(OneShotEffectsTest, BonusSparksFallFromRandomPointsInCallOrder) {
    SpawnBonusSpark(*layer, 100, 200, 0);
    SpawnBonusSpark(*layer, 300, 200, 50);
    const std::vector<Ref<Sprite>> sparks = Children(*layer);
    ASSERT_EQ(sparks.size(), 20u);
    const Ref<RandomGenerator> draws = SameDraws();
    std::vector<std::pair<int32_t, int32_t>> points;
    for (int call = 0; call < 2; ++call) {
        for (int k = 0; k < 10; ++k) {
            const int32_t x = 100 + 200 * call - 25 + static_cast<int32_t>(draws->Next() % 50);
            const int32_t y = 200 - 20 + static_cast<int32_t>(draws->Next() % 20);
            points.emplace_back(x, y);
        }
    }
    // Spark k of the first call leaves at 140 k ms; the second call's 50 ms later.
    for (size_t i = 0; i < sparks.size(); ++i) {
        EXPECT_EQ(sparks[i]->GetAlpha(), 0);
        EXPECT_EQ(sparks[i]->GetX(), i < 10 ? 100 : 300);
    }
    Run(20);
    EXPECT_EQ(sparks[0]->GetX(), points[0].first);
    EXPECT_EQ(sparks[0]->GetY(), points[0].second);
    EXPECT_NE(points[0], points[10]);
    EXPECT_EQ(sparks[1]->GetAlpha(), 0);
    Run(620);
    EXPECT_EQ(sparks[0]->GetY(), points[0].second + 40);
    Run(60);
    EXPECT_TRUE(Gone(*sparks[0]));
    EXPECT_FALSE(Gone(*sparks[19]));
    Run(1300 + 50 + 700 - 700);
    EXPECT_TRUE(Gone(*sparks[19]));
}

TEST_F(OneShotEffectsTest, FlyingStarEndsItsFlight530PixelsAway) {
    const struct {
        float angle;
        int32_t endX, endY;
    } cases[] = {
        {0.0f, 100, 730},                                  // straight down
        {std::numbers::pi_v<float> / 2, 630, 200},          // to the right
        {std::numbers::pi_v<float>, 100, -330},             // up
        {std::numbers::pi_v<float> / 4, 100 + 374, 200 + 374},  // 530 / sqrt 2, truncated
    };
    for (const auto& c : cases) {
        Modifier* flight = SpawnStar(*layer, tree.Get(), 100, 200, c.angle, 0, false);
        ASSERT_NE(flight, nullptr);
        const Ref<Sprite> star(Children(*layer).back());
        Run(590);
        EXPECT_FALSE(Gone(*star));
        Run(30);
        EXPECT_EQ(star->GetX(), c.endX) << c.angle;
        EXPECT_EQ(star->GetY(), c.endY) << c.angle;
        EXPECT_TRUE(Gone(*star));
    }
}

TEST_F(OneShotEffectsTest, FlyingStarWaitsForItsParentModifier) {
    Ref<GameNode> holder(new GameNode());
    root->AddChild(holder.Get());
    Modifier* before = AnimationTree::Add(tree.Get(), new ModifierWait(300), holder.Get());
    Modifier* flight = SpawnStar(*layer, before, 100, 200, 0.0f, 100, true);
    ASSERT_NE(flight, nullptr);
    EXPECT_EQ(flight->GetTreeParent()->GetTreeParent(), before);
    const Ref<Sprite> star(Children(*layer).back());
    Run(390);
    EXPECT_EQ(star->GetY(), 200);
    Run(100);
    EXPECT_GT(star->GetY(), 200);
    EXPECT_EQ(SpawnStar(*layer, nullptr, 0, 0, 0.0f, 0, false), nullptr);
}

TEST_F(OneShotEffectsTest, TheStarBurstThrowsNineRingsOneAfterAnother) {
    for (const bool silver : {false, true}) {
        BurstStarRings(*layer, tree.Get(), 400, 300, silver);
        const std::vector<Ref<Sprite>> stars = Children(*layer);
        ASSERT_EQ(stars.size(), 90u);
        for (const Ref<Sprite>& star : stars) {
            EXPECT_EQ(star->GetWidth(), silver ? 12 : 16) << "the fixture's silver star is the smaller one";
        }
        // The first star of each ring: when it leaves and which way it flies.
        std::vector<int32_t> leftAt(9, -1);
        std::vector<double> degrees(9, 0.0);
        for (int32_t t = 10; t <= 1000; t += 10) {
            Run(10);
            for (size_t ring = 0; ring < 9; ++ring) {
                const Sprite& first = *stars[ring * 10];
                const int32_t dx = first.GetX() - 400;
                const int32_t dy = first.GetY() - 300;
                if (leftAt[ring] < 0 && (dx != 0 || dy != 0)) {
                    leftAt[ring] = t;
                }
                if (dy > 100 && !Gone(first)) {
                    degrees[ring] = std::atan2(dx, dy) * 180.0 / std::numbers::pi;
                }
            }
        }
        for (size_t ring = 0; ring < 9; ++ring) {
            const int32_t delay = 40 + 95 * static_cast<int32_t>(ring);
            EXPECT_GT(leftAt[ring], delay) << silver << " ring " << ring;
            EXPECT_LE(leftAt[ring], delay + 20) << silver << " ring " << ring;
            EXPECT_NEAR(degrees[ring], 12.0 * static_cast<double>(ring % 3), 1.0) << silver << " ring " << ring;
        }
        Run(600);
        EXPECT_EQ(CountChildren(*layer), 0);
    }
}

TEST_F(OneShotEffectsTest, TrainGlowFlashesTwiceAndGoes) {
    ShowTrainGlow(*layer, 50, 60);
    const std::vector<Ref<Sprite>> sprites = Children(*layer);
    ASSERT_EQ(sprites.size(), 2u);
    const Ref<Sprite>& dark = sprites[0];
    const Ref<Sprite>& glow = sprites[1];
    EXPECT_EQ(dark->GetAnchorKind(), Sprite::kCenter);
    int32_t darkPeak = 0;
    int32_t glowPeak = 0;
    for (int i = 0; i < 60 && !(Gone(*dark) && Gone(*glow)); ++i) {
        Run(10);
        darkPeak = std::max(darkPeak, dark->GetAlpha());
        glowPeak = std::max(glowPeak, glow->GetAlpha());
        if (i < 14) {
            EXPECT_EQ(dark->GetAlpha(), 0) << i;
        }
    }
    EXPECT_EQ(darkPeak, 60);
    EXPECT_EQ(glowPeak, 220);
    EXPECT_TRUE(Gone(*dark));
    EXPECT_TRUE(Gone(*glow));
}

TEST_F(OneShotEffectsTest, WobbleStepsPlayOneAfterAnotherEachTime) {
    Ref<Sprite> node(new Sprite(0, 0, 10, 10));
    root->AddChild(node.Get());
    PlayZoomWobble(*node);
    PlayZoomWobble(*node);
    EXPECT_EQ(node->GetModifiers().size(), 8u);
    // Each step ends in the frame after its time has run out, the frame in
    // which the next step writes its start: 1.04 jumps to 1.05.
    const struct {
        int32_t afterMs;
        float scale;
    } steps[] = {{130, 1.05f}, {80, 0.96f}, {80, 1.02f}, {100, 1.0f}, {120, 1.05f}, {80, 0.96f}, {80, 1.02f},
                 {100, 1.0f}};
    for (const auto& step : steps) {
        Run(step.afterMs);
        EXPECT_FLOAT_EQ(node->GetScale(), step.scale);
    }
    EXPECT_FALSE(node->HasModifiers());
}

}  // namespace
