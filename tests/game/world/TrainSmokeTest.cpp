#include "EffectsFixture.h"
#include "engine/ui/SpriteLabel.h"
#include "engine/ui/UiTestSupport.h"
#include "game/world/TrainSmoke.h"

namespace {

// The smoke label's font lives in the tiny-font section "fonts".
class TrainSmokeTest : public EffectsFixture {
protected:
    TrainSmokeTest() : train(new Sprite(300, 200, 100, 40)) {
        root->AddChild(train.Get());
        root->AddChild(new GameNode());
    }

    SpriteLabel* SmokeLabel() const {
        for (GameNode* child = root->GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
            if (auto* label = ObjectCast<SpriteLabel>(child)) {
                return label;
            }
        }
        return nullptr;
    }

    UiResources resources;
    Ref<Sprite> train;
};

TEST_F(TrainSmokeTest, TheLabelStandsBehindTheTrainAndTakesThreeDraws) {
    SpawnTrainSmoke(*train, L"rail", 0, 80, -40);
    const Ref<SpriteLabel> label(SmokeLabel());
    ASSERT_TRUE(label);
    EXPECT_EQ(label->GetNextSibling(), train.Get());
    EXPECT_EQ(label->GetX(), 80);
    EXPECT_EQ(label->GetY(), -40);
    ASSERT_EQ(label->GetGlyphSprites().size(), 4u);
    const Ref<RandomGenerator> draws = SameDraws();
    for (int i = 0; i < 3; ++i) {
        draws->Next();
    }
    EXPECT_EQ(RandomGenerator::Global()->Next(), draws->Next());
}

// A long word: the label's fade from 1700 ms must not show the letters that
// have not left the chimney yet, and from the sixteenth on none ever shows.
TEST_F(TrainSmokeTest, LettersShow160MsApartAndAllIsGoneAt2700Ms) {
    SpawnTrainSmoke(*train, L"transcontinental", 100, 80, -40);
    const Ref<SpriteLabel> label(SmokeLabel());
    ASSERT_TRUE(label);
    const std::vector<Ref<Sprite>> glyphs = label->GetGlyphSprites();
    ASSERT_EQ(glyphs.size(), 16u);
    std::vector<int32_t> shownAt(glyphs.size(), -1);
    std::vector<int32_t> puffAt(glyphs.size(), -1);
    for (int32_t now = 10; now <= 2660; now += 10) {
        Run(10);
        for (size_t i = 0; i < glyphs.size(); ++i) {
            if (shownAt[i] < 0 && glyphs[i]->GetAlpha() > 0) {
                shownAt[i] = now;
                // On its way back along the curve, never down.
                EXPECT_LT(glyphs[i]->GetX(), 0) << i;
                EXPECT_LT(glyphs[i]->GetY(), 0) << i;
            }
            const GameNode* puff = glyphs[i]->GetFirstChild();
            if (puffAt[i] < 0 && puff != nullptr && puff->IsVisible()) {
                puffAt[i] = now;
            }
        }
    }
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const auto leaves = 100 + 160 * static_cast<int32_t>(i);
        EXPECT_NEAR(puffAt[i], leaves, 20) << i;
        if (i < 15) {
            EXPECT_NEAR(shownAt[i], leaves + 320, 30) << i;
        } else {
            EXPECT_EQ(shownAt[i], -1) << i;
        }
    }
    Run(20);
    EXPECT_FALSE(Gone(*label));
    Run(60);
    EXPECT_TRUE(Gone(*label));
}

TEST_F(TrainSmokeTest, AnEmptyTextStillFadesAway) {
    SpawnTrainSmoke(*train, L"", 0, 80, -40);
    const Ref<SpriteLabel> label(SmokeLabel());
    ASSERT_TRUE(label);
    EXPECT_TRUE(label->GetGlyphSprites().empty());
    Run(2740);
    EXPECT_TRUE(Gone(*label));
}

TEST_F(TrainSmokeTest, ATrainOutsideTheSceneBlowsNoSmoke) {
    Ref<Sprite> loose(new Sprite(0, 0, 10, 10));
    SpawnTrainSmoke(*loose, L"rail", 0, 0, 0);
    EXPECT_EQ(loose->GetParent(), nullptr);
    EXPECT_EQ(CountChildren(*root), 5);
}

}  // namespace
