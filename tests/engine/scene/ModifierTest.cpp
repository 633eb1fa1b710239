#include <gtest/gtest.h>

#include "engine/scene/Modifier.h"
#include "engine/scene/ModifierWait.h"

namespace {

TEST(ModifierTest, EasingFunctions) {
    const float points[] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f};
    const float smooth[] = {0.0f, 0.15625f, 0.5f, 0.84375f, 1.0f};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(LinearStep(points[i]), points[i]);
        EXPECT_FLOAT_EQ(Smoothstep(points[i]), smooth[i]);
    }
}

TEST(ModifierTest, OptionHelpersAddTheirOptionKeepTheOthersAndHandTheModifierBack) {
    const Ref<Modifier> wait = new ModifierWait(10);
    wait->SetOptions(Modifier::kReleasePreceding);
    EXPECT_EQ(RemovingNodeAtEnd(wait.Get()), wait.Get());
    EXPECT_EQ(wait->GetOptions(), Modifier::kReleasePreceding | Modifier::kRemoveNodeAtEnd);
    EXPECT_EQ(Blocking(wait.Get()), wait.Get());
    EXPECT_EQ(wait->GetOptions(),
              Modifier::kReleasePreceding | Modifier::kRemoveNodeAtEnd | Modifier::kBlockFollowing);
}

TEST(ModifierTest, TweenClockShowsTheStartFirstAndReachesTheEndOneUpdateAfterTheDuration) {
    // A 100 ms tween stepped by 40 ms: each update reads the time before its
    // own frame, so the values run 0, 0.4, 0.8, then the end.
    TweenClock clock(100);
    std::vector<float> seen;
    int updates = 0;
    while (true) {
        ++updates;
        if (clock.HasReachedEnd()) {
            break;
        }
        seen.push_back(clock.Progress());
        clock.Advance(40);
    }
    EXPECT_EQ(seen, (std::vector<float>{0.0f, 0.4f, 0.8f}));
    EXPECT_EQ(updates, 4);
    EXPECT_EQ(clock.Elapsed(), 100);  // held at the duration

    TweenClock empty(0);
    EXPECT_TRUE(empty.HasReachedEnd());
    EXPECT_EQ(empty.Progress(), 1.0f);
    TweenClock negative(-5);
    EXPECT_TRUE(negative.HasReachedEnd());

    TweenClock longRun(2000000000);
    longRun.Advance(1500000000);
    longRun.Advance(1500000000);  // no overflow past the duration
    EXPECT_EQ(longRun.Elapsed(), 2000000000);
}

}  // namespace
