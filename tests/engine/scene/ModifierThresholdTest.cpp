#include <gtest/gtest.h>

#include "engine/foundation/Ref.h"
#include "engine/scene/ModifierRunner.h"
#include "engine/scene/ModifierThreshold.h"
#include "engine/scene/ThresholdSprite.h"

namespace {

struct ThresholdCase {
    int32_t durationMs;
    int32_t stepMs;
    std::vector<float> thresholds;  // after each update, the last one finishing
};

TEST(ModifierThresholdTest, RisesToExactlyOneInTheUpdateAfterTheDuration) {
    const ThresholdCase cases[] = {
        {500, 100, {0.0f, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f}},
        {500, 300, {0.0f, 0.6f, 1.0f}},
        // No duration: whole at the first update instead of 0/0.
        {0, 100, {1.0f}},
        {-5, 100, {1.0f}},
    };
    for (const ThresholdCase& c : cases) {
        SCOPED_TRACE(c.durationMs);
        const Ref<ThresholdSprite> sprite(new ThresholdSprite);
        const Ref<Modifier> modifier(new ModifierThreshold(c.durationMs));
        sprite->AddModifier(modifier.Get());
        const auto run = RunModifier(*modifier, c.stepMs, 20, [&] { return sprite->GetThreshold(); });
        EXPECT_TRUE(run.finished);
        ASSERT_EQ(run.seen.size(), c.thresholds.size());
        for (size_t i = 0; i < c.thresholds.size(); ++i) {
            EXPECT_FLOAT_EQ(run.seen[i], c.thresholds[i]) << "update " << i;
        }
    }
}

TEST(ModifierThresholdTest, MarksTheSpriteChangedOnlyWhenTheThresholdMoves) {
    const Ref<ThresholdSprite> sprite(new ThresholdSprite);
    const Ref<Modifier> modifier(new ModifierThreshold(100));
    sprite->AddModifier(modifier.Get());
    sprite->SetDirty(false);
    modifier->Update(0);  // still 0
    EXPECT_FALSE(sprite->IsDirty());
    modifier->Update(50);
    modifier->Update(0);
    EXPECT_TRUE(sprite->IsDirty());
    EXPECT_FLOAT_EQ(sprite->GetThreshold(), 0.5f);
}

}  // namespace
