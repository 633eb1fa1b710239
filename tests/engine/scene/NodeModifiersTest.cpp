#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "ModifierRunner.h"
#include "engine/scene/GameNode.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierCircle.h"
#include "engine/scene/ModifierEaseMove.h"
#include "engine/scene/ModifierFollowPath.h"
#include "engine/scene/ModifierVisibility.h"
#include "engine/scene/ModifierWait.h"

namespace {

using Position = std::pair<int32_t, int32_t>;

class NodeModifiersTest : public ::testing::Test {
protected:
    // Gives the modifier to the node's list (which targets it) and drives it.
    auto Run(Modifier* modifier, int32_t elapsedMs, int limit = 50) {
        node->AddModifier(modifier);
        return RunModifier(*modifier, elapsedMs, limit, [&] { return Position{node->GetX(), node->GetY()}; });
    }

    Ref<GameNode> node{new GameNode};
};

TEST_F(NodeModifiersTest, TimedWaitsFinishOnceLessThanOneMillisecondIsLeft) {
    const struct {
        int32_t time, step;
        int updates;
    } cases[] = {{0, 40, 1}, {1, 40, 1}, {0, 0, 1}, {100, 40, 3}, {100, 99, 2}, {-5, 10, 1}};
    for (const auto& c : cases) {
        Ref<ModifierWait> wait(new ModifierWait(c.time));
        EXPECT_TRUE(wait->HasOption(Modifier::kBlockFollowing));
        EXPECT_EQ(Run(wait.Get(), c.step).updates, c.updates) << c.time << " by " << c.step;
    }
}

TEST_F(NodeModifiersTest, WaitsForAModifierOrForANodeToRunOutOfModifiers) {
    Ref<GameNode> other(new GameNode);
    Ref<ModifierWait> busy(new ModifierWait(1000));
    other->AddModifier(busy.Get());

    Ref<ModifierWait> forModifier(new ModifierWait(busy.Get()));
    Ref<ModifierWait> forNode(new ModifierWait(other.Get()));
    forModifier->Update(5000);
    forNode->Update(5000);
    EXPECT_FALSE(forModifier->IsFinished());
    EXPECT_FALSE(forNode->IsFinished());

    other->UpdateModifiers(1000);  // the busy wait finishes and leaves the list
    forModifier->Update(0);
    forNode->Update(0);
    EXPECT_TRUE(forModifier->IsFinished());
    EXPECT_TRUE(forNode->IsFinished());
}

// A wait may hold a finished modifier after its node is gone; the modifier
// must then no longer point at the freed node.
TEST_F(NodeModifiersTest, AFinishedModifierHeldElsewhereOutlivesItsNode) {
    Ref<GameNode> other(new GameNode);
    Ref<ModifierWait> brief(new ModifierWait(10));
    other->AddModifier(brief.Get());
    Ref<ModifierWait> forModifier(new ModifierWait(brief.Get()));
    brief = nullptr;

    other->UpdateModifiers(10);
    other = nullptr;
    forModifier->Update(0);
    EXPECT_TRUE(forModifier->IsFinished());
    forModifier = nullptr;  // releases the awaited modifier; under the sanitizer a freed target shows here
}

TEST_F(NodeModifiersTest, VisibilityModesHideShowOrToggle) {
    const struct {
        int32_t mode;
        bool before, after;
    } cases[] = {{4, false, false}, {4, true, false}, {5, false, true}, {5, true, true},
                 {3, false, true},  {3, true, false}, {0, true, false}};
    for (const auto& c : cases) {
        node->SetVisible(c.before);
        Ref<ModifierVisibility> visibility(new ModifierVisibility(c.mode));
        EXPECT_EQ(Run(visibility.Get(), 10).updates, 1);
        EXPECT_EQ(node->IsVisible(), c.after) << "mode " << c.mode << " from " << c.before;
    }
}

TEST_F(NodeModifiersTest, CallbackRunsOnceWithItsValueAndTarget) {
    std::vector<std::pair<uint32_t, GameNode*>> calls;
    Ref<ModifierCallback> callback(
        new ModifierCallback([&](uint32_t value, GameNode* target) { calls.emplace_back(value, target); }, 7));
    EXPECT_EQ(Run(callback.Get(), 10).updates, 1);
    EXPECT_EQ(calls, (std::vector<std::pair<uint32_t, GameNode*>>{{7, node.Get()}}));
}

TEST_F(NodeModifiersTest, EaseMoveShowsTheStartFirstAndSnapsToTheEndOneUpdateLate) {
    Ref<ModifierEaseMove> linear(new ModifierEaseMove(0.0f, 50.0f, 100, 10, 100));
    EXPECT_EQ(Run(linear.Get(), 40).seen, (std::vector<Position>{{0, 50}, {40, 34}, {80, 18}, {100, 10}}));

    // Smoothstep is half-way at half time; only x moves.
    node->SetPosition(0, 7);
    Ref<ModifierEaseMove> eased(new ModifierEaseMove(0.0f, 0.0f, 100, 100, 100, true, false, Smoothstep));
    EXPECT_EQ(Run(eased.Get(), 25).seen,
              (std::vector<Position>{{0, 7}, {15, 7}, {50, 7}, {84, 7}, {100, 7}}));

    Ref<ModifierEaseMove> instant(new ModifierEaseMove(0.0f, 0.0f, 30, 40, 0));
    EXPECT_EQ(Run(instant.Get(), 16).seen, (std::vector<Position>{{30, 40}}));
}

TEST_F(NodeModifiersTest, CircleRunsRadiusAndAngleOnTheirOwnClocks) {
    constexpr float kPi = std::numbers::pi_v<float>;
    ModifierCircle::Settings settings;
    settings.centreX = 100;
    settings.centreY = 200;
    settings.startRadius = 10;
    settings.endRadius = 20;
    settings.radiusDurationMs = 100;
    settings.startAngle = 0;
    settings.endAngle = kPi;
    settings.angleDurationMs = 200;
    Ref<ModifierCircle> circle(new ModifierCircle(settings));
    const auto run = Run(circle.Get(), 100);
    // Radius 10 at angle 0; radius 20 at a quarter turn; the half turn
    // (truncated: sin(pi) is not exactly 0) written by the finishing update.
    EXPECT_EQ(run.seen, (std::vector<Position>{{110, 200}, {100, 220}, {80, 200}}));
    EXPECT_TRUE(run.finished);
}

TEST_F(NodeModifiersTest, FollowPathMovesAtConstantSpeedAndEndsOnTheLastPoint) {
    Ref<Path> path(new Path);
    for (const PointF p : {PointF{0, 0}, PointF{30, 0}, PointF{30, 0}, PointF{30, 10}}) {
        path->Append(p);
    }
    Ref<ModifierFollowPath> follow(new ModifierFollowPath(path.Get(), 0, 40));
    // 40 pixels in 40 ms, across a segment of no length.
    EXPECT_EQ(Run(follow.Get(), 10).seen, (std::vector<Position>{{0, 0}, {10, 0}, {20, 0}, {30, 0}, {30, 10}}));

    Ref<ModifierFollowPath> instant(new ModifierFollowPath(path.Get(), 0, 0, false, true));
    node->SetPosition(-1, -1);
    EXPECT_EQ(Run(instant.Get(), 10).seen, (std::vector<Position>{{-1, 10}}));
}

TEST_F(NodeModifiersTest, FollowPathEndsOnDegeneratePaths) {
    Ref<Path> still(new Path);
    for (int i = 0; i < 4; ++i) {
        still->Append({5, 5});
    }
    for (const Ref<Path>& path : {still, Ref<Path>(new Path)}) {
        Ref<ModifierFollowPath> follow(new ModifierFollowPath(path.Get(), 2, 30));
        node->SetPosition(0, 0);
        const auto run = Run(follow.Get(), 10);
        EXPECT_TRUE(run.finished);
        EXPECT_EQ(run.updates, 4);
        EXPECT_EQ(run.seen.back(), (path->Count() > 0 ? Position{5, 5} : Position{0, 0}));
    }
}

}  // namespace
