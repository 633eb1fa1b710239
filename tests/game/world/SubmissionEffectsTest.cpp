#include <cmath>
#include <numbers>

#include "EffectsFixture.h"
#include "engine/scene/ModifierMover.h"
#include "engine/ui/Label.h"
#include "game/world/SubmissionEffects.h"

namespace {

using SubmissionEffectsTest = EffectsFixture;

TEST_F(SubmissionEffectsTest, ScoreTextShowsMultiplierAndBonusOnlyWhenTheyCount) {
    const struct {
        int32_t points, multiplier, bonus;
        const wchar_t* text;
    } cases[] = {
        {30, 2, 50, L"+30x2+50"}, {30, 1, 0, L"+30"}, {12, 3, 0, L"+12x3"}, {5, 1, 20, L"+5+20"}, {0, 0, -5, L"+0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FloatingScoreText(c.points, c.multiplier, c.bonus), c.text);
    }
}

TEST_F(SubmissionEffectsTest, FloatingScoreRisesBesideTheLetterAndGoesAfterTwoSeconds) {
    score = WordScore{30, 50, 2, 5};
    Ref<GameNode> holder(new GameNode());
    Ref<Sprite> letter(new Sprite(40, 50, 20, 20));
    root->AddChild(holder.Get());
    holder->SetPosition(100, 200);
    holder->AddChild(letter.Get());
    ShowFloatingScore(0, letter.Get());
    ASSERT_EQ(CountChildren(*layer), 1);
    const Ref<Label> label(ObjectCast<Label>(layer->GetFirstChild()));
    ASSERT_TRUE(label);
    EXPECT_EQ(label->GetText(), L"+30x2+50");
    EXPECT_EQ(label->GetX(), 165);
    EXPECT_EQ(label->GetY(), 245);
    ASSERT_TRUE(label->GetCropRect());  // grows from nothing
    EXPECT_EQ(label->GetCropRect()->w, 0);

    Run(1500);
    EXPECT_NEAR(label->GetY(), 245 - 100, 1);  // 1/15 px per ms
    Run(450);
    EXPECT_FALSE(Gone(*label));
    Run(150);
    EXPECT_TRUE(Gone(*label));
    EXPECT_EQ(CountChildren(*layer), 0);
}

TEST_F(SubmissionEffectsTest, CoalStarsPerLetterDoubleWithoutHighQuality) {
    const struct {
        int32_t letters;
        bool highQuality;
        int stars;
    } cases[] = {{4, true, 0}, {4, false, 0}, {3, false, 0}, {6, true, 2}, {6, false, 4}, {7, false, 6}};
    Ref<Sprite> letter(new Sprite(300, 100, 20, 20));
    root->AddChild(letter.Get());
    letter->SetColor(1);
    for (const auto& c : cases) {
        score.letters = c.letters;
        highQuality = c.highQuality;
        ThrowCoalScoreStars(0, letter.Get());
        EXPECT_EQ(CountChildren(*layer), c.stars) << c.letters << " " << c.highQuality;
        Run(1800);
    }
}

TEST_F(SubmissionEffectsTest, SparkGroupsDrawOneAngleEachInCallOrder) {
    for (int i = 0; i < 4; ++i) {
        SpawnCoalSparks(*layer, 100 + i, 200);
    }
    ASSERT_EQ(CountChildren(*layer), 4);
    const Ref<RandomGenerator> draws = SameDraws();
    int group = 0;
    for (GameNode* carrier = layer->GetFirstChild(); carrier != nullptr; carrier = carrier->GetNextSibling()) {
        EXPECT_EQ(carrier->GetX(), 100 + group);
        const auto* mover = ObjectCast<ModifierMover>(carrier->GetModifiers().front().Get());
        ASSERT_NE(mover, nullptr);
        const double angle = static_cast<double>(draws->Next() % 3141) * 0.001 - std::numbers::pi / 2;
        EXPECT_NEAR(mover->GetVelocity().x, 300 * std::sin(angle), 0.01) << group;
        EXPECT_NEAR(mover->GetVelocity().y, -300 * std::cos(angle), 0.01) << group;
        EXPECT_EQ(CountChildren(*carrier), 5);
        ++group;
    }
}

TEST_F(SubmissionEffectsTest, SparksShowInTheirOrderAndTheCarrierGoesAt4000Ms) {
    // Each picture its own width, to tell the sprites apart.
    images = {{"SPARK_GLOW1", {11, 4}}, {"SPARK_GLOW2", {12, 4}}, {"COAL_SPARK1", {13, 4}},
              {"COAL_SPARK2", {14, 4}}, {"COAL_SPARK3", {15, 4}}};
    SpawnCoalSparks(*layer, 100, 200);
    const Ref<GameNode> carrier(layer->GetFirstChild());
    std::vector<Ref<Sprite>> sparks;
    for (GameNode* child = carrier->GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
        sparks.emplace_back(ObjectCast<Sprite>(child));
    }
    ASSERT_EQ(sparks.size(), 5u);
    for (size_t i = 0; i < sparks.size(); ++i) {
        EXPECT_EQ(sparks[i]->GetWidth(), 11 + static_cast<int32_t>(i));
        EXPECT_EQ(sparks[i]->GetAnchorKind(), Sprite::kCenter);
    }
    const auto shown = [&] {
        std::string lit;
        for (const Ref<Sprite>& spark : sparks) {
            lit += Gone(*spark) ? 'x' : (spark->GetAlpha() > 0 ? '*' : '.');
        }
        return lit;
    };
    const struct {
        int32_t untilMs;
        const char* lit;
    } timeline[] = {{50, "*.*.."}, {470, "*.**."}, {760, "**x*."}, {1060, "x*xx*"}, {1480, "xxxxx"}};
    int32_t now = 0;
    for (const auto& step : timeline) {
        Run(step.untilMs - now);
        now = step.untilMs;
        EXPECT_EQ(shown(), step.lit) << now;
    }
    EXPECT_FALSE(Gone(*carrier));
    Run(4000 - now + 10);
    EXPECT_TRUE(Gone(*carrier));
}

}  // namespace
