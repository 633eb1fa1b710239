#include "engine/scene/DeletePass.h"

#include "engine/scene/AnimationTree.h"
#include "engine/scene/GameNode.h"

DeletePass::DeletePass(GameNode* root, AnimationTree* tree) : root_(root), tree_(tree) {}

void DeletePass::Update(uint32_t elapsedMs) {
    static_cast<void>(elapsedMs);
    if (root_) {
        SweepNodeTree(*root_);
    }
    if (tree_) {
        tree_->DeleteFinished();
    }
}

void DeletePass::SweepNodeTree(GameNode& node) {
    GameNode* child = node.GetFirstChild();
    while (child != nullptr) {
        // Read before descending: the child may be unlinked and freed below.
        GameNode* const following = child->GetNextSibling();
        SweepNodeTree(*child);
        if (child->IsRemoved()) {
            // Frees the node unless it is held elsewhere.
            child->RemoveFromParent();
        }
        child = following;
    }
}
