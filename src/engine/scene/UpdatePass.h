#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/foundation/Service.h"

class AnimationTree;
class GameNode;

// A scene's per-frame step: every node in pre-order (its own update, then its
// own modifiers, then its children, skipping suspended or removed subtrees;
// the root always runs), then the scene's animation tree.
class UpdatePass : public Service {
    ENGINE_CLASS(UpdatePass, Service)

public:
    // The tree may be null.
    UpdatePass(GameNode* root, AnimationTree* tree);

    void Update(uint32_t elapsedMs) override;

    static void StepNodeTree(GameNode& node, int32_t elapsedMs);

private:
    Ref<GameNode> root_;
    Ref<AnimationTree> tree_;
};
