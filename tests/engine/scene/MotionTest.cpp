#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/media/CanvasTestSupport.h"
#include "engine/scene/GameNode.h"
#include "engine/scene/Geometry.h"
#include "engine/scene/ModifierImageSweep.h"
#include "engine/scene/ModifierMover.h"
#include "engine/scene/ModifierPathRide.h"
#include "engine/scene/ModifierProximityShrink.h"
#include "engine/scene/MotionForce.h"
#include "engine/scene/NodePlacement.h"
#include "engine/scene/SpeedToTarget.h"
#include "engine/scene/Sprite.h"

namespace {

// Records the step of every Apply.
class RecordingForce : public MotionForce {
    ENGINE_CLASS(RecordingForce, MotionForce)

public:
    explicit RecordingForce(std::vector<float>& steps) : steps_(steps) {}
    void Apply(float seconds, PointF&, const ModifierMover&) override { steps_.push_back(seconds); }

private:
    std::vector<float>& steps_;
};

struct MoverFixture {
    Ref<GameNode> node{new GameNode};
    ModifierMover* mover;

    explicit MoverFixture(float maximumSpeed = 0.0f, PointF start = {}) {
        node->SetPosition(static_cast<int32_t>(start.x), static_cast<int32_t>(start.y));
        mover = new ModifierMover(maximumSpeed);
        node->AddModifier(mover);
    }
};

}  // namespace

TEST(ModifierMoverTest, AccelerationFromRestMovesByTheSumOfTheSpeeds) {
    MoverFixture f;
    f.mover->AddForce(new ForceAcceleration(0.0f, 100.0f));
    for (int step = 0; step < 10; ++step) {
        f.mover->Update(100);
    }
    EXPECT_FLOAT_EQ(f.mover->GetVelocity().y, 100.0f);
    EXPECT_EQ(f.node->GetY(), 55);
    EXPECT_EQ(f.node->GetX(), 0);
    EXPECT_FALSE(f.mover->IsFinished());
}

TEST(ModifierMoverTest, ATimedForceAppliesForItsTimeThenLeaves) {
    MoverFixture f;
    std::vector<float> steps;
    auto* force = new RecordingForce(steps);
    force->SetRemainingTime(250);
    f.mover->AddForce(force);
    f.mover->SetFinishWithoutForces(true);
    for (int step = 0; step < 4 && !f.mover->IsFinished(); ++step) {
        f.mover->Update(100);
    }
    EXPECT_EQ(steps, (std::vector<float>{0.1f, 0.1f, 0.05f}));
    EXPECT_EQ(f.mover->ForceCount(), 0u);
    EXPECT_TRUE(f.mover->IsFinished());
}

TEST(ModifierMoverTest, KeepsAMoveMadeByOtherCodeAndHoldsTheSpeedLimit) {
    MoverFixture f(10.0f);
    f.mover->SetVelocity(PointF{30.0f, 40.0f});
    f.mover->Update(1000);  // limited to (6, 8)
    EXPECT_EQ(f.node->GetX(), 6);
    EXPECT_EQ(f.node->GetY(), 8);
    f.node->SetPosition(50, 50);
    f.mover->Update(500);
    EXPECT_EQ(f.node->GetX(), 53);
    EXPECT_EQ(f.node->GetY(), 54);
}

TEST(MotionForceTest, FrictionSlowsAlongTheDirectionAndNeverReverses) {
    struct Case {
        float friction;
        PointF expected;
    };
    const Case cases[] = {{100.0f, {24.0f, 32.0f}}, {500.0f, {0.0f, 0.0f}}, {1000.0f, {0.0f, 0.0f}}};
    for (const Case& c : cases) {
        MoverFixture f;
        PointF velocity{30.0f, 40.0f};  // speed 50
        ForceFriction(c.friction).Apply(0.1f, velocity, *f.mover);
        EXPECT_FLOAT_EQ(velocity.x, c.expected.x) << c.friction;
        EXPECT_FLOAT_EQ(velocity.y, c.expected.y) << c.friction;
    }
}

TEST(MotionForceTest, SeekPullsOrPushesWithinItsReach) {
    struct Case {
        const char* what;
        float radius;
        float strength;
        int32_t mode;
        float expectedX;
    };
    // The mover at (0, 0), the point at (10, 0), a step of 0.1 s: a = 0.1 x strength.
    const Case cases[] = {
        {"everywhere", -1.0f, 100.0f, ForceSeek::kAttract, 10.0f},
        {"half way into the reach", 20.0f, 100.0f, ForceSeek::kAttract, 5.0f},
        {"outside the reach", 5.0f, 100.0f, ForceSeek::kAttract, 0.0f},
        {"at most the squared distance", -1.0f, 5000.0f, ForceSeek::kAttract, 100.0f},
        {"repel is not capped", -1.0f, 5000.0f, ForceSeek::kRepel, -500.0f},
        {"radius 0 is off", 0.0f, 100.0f, ForceSeek::kAttract, 0.0f},
    };
    for (const Case& c : cases) {
        MoverFixture f;
        PointF velocity{};
        ForceSeek(PointF{10.0f, 0.0f}, c.radius, c.strength, c.mode).Apply(0.1f, velocity, *f.mover);
        EXPECT_FLOAT_EQ(velocity.x, c.expectedX) << c.what;
        EXPECT_EQ(velocity.y, 0.0f) << c.what;
    }
}

TEST(MotionForceTest, AReachedSeekEndsTheMoverAndItsNode) {
    MoverFixture f(0.0f, PointF{0.0f, 0.0f});
    f.mover->SetOptions(Modifier::kRemoveNodeAtEnd);
    f.mover->AddForce(new ForceSeek(PointF{20.0f, 0.0f}, -1.0f, 200.0f, ForceSeek::kAttract, true));
    f.mover->AddForce(new ForceFriction(100.0f));
    int steps = 0;
    while (!f.mover->IsFinished() && steps < 500) {
        f.mover->Update(16);
        ++steps;
    }
    EXPECT_TRUE(f.mover->IsFinished());
    EXPECT_LT(std::abs(f.mover->GetPosition().x - 20.0f), 3.0f);
    EXPECT_TRUE(f.node->IsRemoved());
}

TEST(MotionForceTest, SeekNodeAimsAtTheNodeInTheMoversParentCoordinates) {
    const Ref<GameNode> root(new GameNode);
    auto* parent = new GameNode;
    parent->SetPosition(100, 0);
    root->AddChild(parent);
    auto* moved = new GameNode;
    parent->AddChild(moved);
    auto* followed = new GameNode;
    followed->SetPosition(130, 40);
    root->AddChild(followed);
    auto* mover = new ModifierMover;
    moved->AddModifier(mover);
    ForceSeekNode seek(followed, PointF{0.0f, -40.0f}, -1.0f, 100.0f);
    PointF velocity{};
    seek.Apply(0.1f, velocity, *mover);
    EXPECT_EQ(seek.GetTargetPoint(), (PointF{30.0f, 0.0f}));
    EXPECT_FLOAT_EQ(velocity.x, 10.0f);
}

TEST(SpeedToTargetTest, EndsExactlyOnTheTargetWithoutOvershooting) {
    float position = 0.0f;
    float speed = 0.0f;
    float furthest = 0.0f;
    int steps = 0;
    do {
        SpeedToTarget(16, 100.0f, 50.0f, 100.0f, 100.0f, false, position, speed);
        furthest = std::max(furthest, position);
        ASSERT_LE(speed, 50.0f);
    } while ((speed != 0.0f || position != 100.0f) && ++steps < 1000);
    EXPECT_EQ(position, 100.0f);
    EXPECT_EQ(speed, 0.0f);
    EXPECT_LE(furthest, 100.0f);
}

TEST(SpeedToTargetTest, GoesBackOnlyWhenReversingIsAllowed) {
    for (const bool reverse : {false, true}) {
        float position = 10.0f;
        float speed = 0.0f;
        SpeedToTarget(100, 0.0f, 50.0f, 100.0f, 100.0f, reverse, position, speed);
        EXPECT_EQ(speed, reverse ? -10.0f : 0.0f);
        EXPECT_FLOAT_EQ(position, reverse ? 9.0f : 10.0f);
    }
}

TEST(ModifierPathRideTest, RidesTheWholePathInItsDuration) {
    const Ref<Path> path(new Path);
    path->Append(PointF{0.0f, 0.0f});
    path->Append(PointF{100.0f, 0.0f});
    path->Append(PointF{100.0f, 50.0f});
    const Ref<GameNode> node(new GameNode);
    auto* ride = new ModifierPathRide(path.Get());
    node->AddModifier(ride);
    std::vector<std::pair<int32_t, int32_t>> seen;
    while (!ride->IsFinished() && seen.size() < 10) {
        ride->Update(1000);
        seen.emplace_back(node->GetX(), node->GetY());
    }
    EXPECT_EQ(seen, (std::vector<std::pair<int32_t, int32_t>>{{0, 0}, {50, 0}, {100, 0}, {100, 50}}));
}

TEST(ModifierProximityShrinkTest, ShrinksWithTheSquaredDistanceAndNeverGrows) {
    const Ref<GameNode> root(new GameNode);
    auto* sprite = new Sprite(0, 0, 4, 4);
    root->AddChild(sprite);
    auto* watched = new GameNode;
    root->AddChild(watched);
    sprite->AddModifier(new ModifierProximityShrink(watched, 10.0f, 0.5f, PointF{0.0f, 0.0f}));
    struct Step {
        int32_t x;
        float scale;
    };
    const Step steps[] = {{20, 1.0f}, {10, 1.0f}, {5, 0.625f}, {8, 0.625f}, {0, 0.5f}, {30, 0.5f}};
    for (const Step& s : steps) {
        watched->SetX(s.x);
        sprite->UpdateModifiers(16);
        EXPECT_FLOAT_EQ(sprite->GetScale(), s.scale) << s.x;
    }
}

TEST(ModifierImageSweepTest, WipesAHoleThatGrowsToItsMaximumAndFinishes) {
    const Ref<MemorySurface> map = FilledSurface(21, 21, 0xFF336699);
    const Ref<MemorySurface> brush = FilledSurface(10, 10, 0x00000000);
    const Ref<GameNode> node(new GameNode);
    auto* sweep = new ModifierImageSweep(1.0f, 200, map.Get(), brush.Get(), 10, 10);
    node->AddModifier(sweep);
    int updates = 0;
    while (!sweep->IsFinished() && updates < 10) {
        sweep->Update(100);
        ++updates;
    }
    EXPECT_EQ(updates, 3);
    EXPECT_LT(PixelAt(*map, 10, 10) >> 24, 0xFFu);
    EXPECT_EQ(PixelAt(*map, 10, 10) & 0xFFFFFF, 0x336699u);  // only alpha changes
    EXPECT_EQ(PixelAt(*map, 0, 0), 0xFF336699u);
}

TEST(NodePlacementTest, ReparentingAndReanchoringKeepThePlaceOnScreen) {
    const Ref<GameNode> root(new GameNode);
    auto* from = new GameNode;
    from->SetPosition(10, 20);
    root->AddChild(from);
    auto* to = new GameNode;
    to->SetPosition(-5, 100);
    root->AddChild(to);
    auto* sprite = new Sprite(3, 4, 5, 7);
    from->AddChild(sprite);
    ReparentKeepingPosition(*sprite, *to);
    EXPECT_EQ(sprite->GetParent(), to);
    EXPECT_EQ(sprite->GetAbsoluteX(), 13);
    EXPECT_EQ(sprite->GetAbsoluteY(), 24);

    SetAnchorKindKeepingPlace(*sprite, Sprite::kBottomRight);
    EXPECT_EQ(sprite->GetAnchorKind(), Sprite::kBottomRight);
    EXPECT_EQ(sprite->GetX() - static_cast<int32_t>(sprite->GetAnchorX()), 18);
    EXPECT_EQ(sprite->GetY() - static_cast<int32_t>(sprite->GetAnchorY()), -76);
}
