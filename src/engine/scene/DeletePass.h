#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/foundation/Service.h"

class AnimationTree;
class GameNode;

// A scene's end-of-frame clean-up: every node flagged for removal is
// unlinked and released (post-order, so its children are looked at first),
// then the animation tree lets go of its finished entries. A released node
// that someone else still holds survives and can be linked again.
class DeletePass : public Service {
    ENGINE_CLASS(DeletePass, Service)

public:
    // The tree may be null.
    DeletePass(GameNode* root, AnimationTree* tree);

    void Update(uint32_t elapsedMs) override;

    static void SweepNodeTree(GameNode& node);

private:
    Ref<GameNode> root_;
    Ref<AnimationTree> tree_;
};
