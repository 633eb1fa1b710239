#include "engine/scene/UpdatePass.h"

#include "engine/scene/AnimationTree.h"
#include "engine/scene/GameNode.h"

namespace {

// The child that follows `child` under `parent` once the child's subtree has
// run: its next sibling while it still stands there, else the sibling it had
// before its step, if that one still stands under the parent.
GameNode* FollowingChild(const GameNode& parent, const GameNode& child, GameNode* before) {
    if (child.GetParent() == &parent) {
        return child.GetNextSibling();
    }
    return before != nullptr && before->GetParent() == &parent ? before : nullptr;
}

}  // namespace

UpdatePass::UpdatePass(GameNode* root, AnimationTree* tree) : root_(root), tree_(tree) {}

void UpdatePass::Update(uint32_t elapsedMs) {
    const auto elapsed = static_cast<int32_t>(elapsedMs);
    if (root_) {
        StepNodeTree(*root_, elapsed);
    }
    if (tree_) {
        tree_->UpdateTree(elapsed);
    }
}

void UpdatePass::StepNodeTree(GameNode& node, int32_t elapsedMs) {
    node.UpdateModifiers(elapsedMs);
    // Each child and the sibling after it are held while the child's subtree
    // runs, so that a step which unlinks either never leaves the walk on a
    // freed node.
    Ref<GameNode> child(node.GetFirstChild());
    while (child) {
        const Ref<GameNode> before(child->GetNextSibling());
        if (!child->IsSuspended() && !child->IsRemoved()) {
            StepNodeTree(*child, elapsedMs);
        }
        child = FollowingChild(node, *child, before.Get());
    }
}
