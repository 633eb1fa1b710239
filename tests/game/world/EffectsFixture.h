#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

#include "engine/foundation/RandomGenerator.h"
#include "engine/foundation/Ref.h"
#include "engine/scene/AnimationTree.h"
#include "engine/scene/GameNode.h"
#include "engine/scene/Sprite.h"
#include "game/world/EffectsContext.h"
#include "support/TempFolder.h"

// A game scene stand-in for the effects: a root with the effect layer at
// (10, 20), a 40 x 30 coin counter and a 300 x 60 word queue, an animation
// tree, fixed score answers, pictures of the sizes in `images`, the dialog
// table's effect objects and a seeded shared random generator. Installed
// while it lives.
class EffectsFixture : public ::testing::Test, public EffectsContext {
protected:
    static constexpr uint32_t kSeed = 1234;

    EffectsFixture();
    ~EffectsFixture() override;

    GameNode* EffectLayer() const override { return layer.Get(); }
    WordScore LastWordScore() const override { return score; }
    bool HighQuality() const override { return highQuality; }
    Sprite* CoinCounter() const override { return counter.Get(); }
    Sprite* WordQueue() const override { return queue.Get(); }
    void ContinueLevelEnd() override { ++levelEndSteps; }
    void RefreshCoinCounter() override { ++counterRefreshes; }
    Ref<Object> FindResource(const std::string& name, const std::string& section) const override;

    // Steps the scene and its animation tree, then sweeps removed nodes, in
    // frames of `frameMs` up to `totalMs`.
    void Run(int32_t totalMs, int32_t frameMs = 10);
    // A generator seeded like the shared one, to predict its draws.
    static Ref<RandomGenerator> SameDraws() { return Ref<RandomGenerator>(new RandomGenerator(kSeed, 0)); }
    static int CountChildren(const GameNode& node);
    // Flagged for removal, or already swept out of the scene.
    static bool Gone(const GameNode& node) { return node.IsRemoved() || node.GetParent() == nullptr; }

    Ref<GameNode> root;
    Ref<GameNode> layer;
    Ref<Sprite> counter;
    Ref<Sprite> queue;
    Ref<AnimationTree> tree;
    WordScore score;
    bool highQuality = true;
    int levelEndSteps = 0;
    int counterRefreshes = 0;
    std::map<std::string, std::pair<int32_t, int32_t>> images;

private:
    TempFolder folder_;
};
