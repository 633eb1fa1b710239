#pragma once

#include <cstdint>

#include "engine/scene/ModifierGroup.h"

class GameNode;

// The root of a scene's tree of modifiers, in which a child starts only once
// its parent has finished and siblings run side by side. The tree holds one
// reference to each entry.
class AnimationTree : public ModifierGroup {
    ENGINE_CLASS(AnimationTree, ModifierGroup)

public:
    // Finished, in the tree and named "AnimationTree".
    AnimationTree();

    // Targets the modifier at `node`, then AddChild. Adding m2 under m1
    // makes m2 run after m1. Returns the modifier, so that calls chain.
    static Modifier* Add(Modifier* parent, Modifier* modifier, GameNode* node);
    // Detaches the modifier and makes it the last child of `parent`; a
    // modifier with a target joins the target's animation list.
    static void AddChild(Modifier* parent, Modifier* modifier);
    // Marks the modifier as in the tree. One without a tree parent is given
    // the reference the tree will hold; one with a parent is unlinked and
    // loses its target (so a modifier moved within the tree arrives without one).
    static void Detach(Modifier* modifier);

    // The frame's walk, pre-order: every entry that is neither cancelled,
    // held nor finished is stepped; a finished entry's children run in the
    // same walk; a cancelled entry or a held group is skipped with its subtree.
    void UpdateTree(int32_t elapsedMs);
    // The end-of-frame walk, post-order: cancelled entries are let go with
    // their subtrees; finished ones apply their options and are spliced out,
    // their children taking their place. Groups stay until cancelled.
    void DeleteFinished();

private:
    // Steps the entry when it should run; whether the walk enters its children.
    static bool StepEntry(Modifier& entry, int32_t elapsedMs);
    // The entry after `entry`'s subtree in pre-order, or null past the end.
    Modifier* NextAfterSubtree(Modifier* entry) const;
    void DeleteWalk(Modifier& entry);
    // A finished entry's options, then the splice.
    static void RetireFinished(Modifier& entry);
    static void SpliceOut(Modifier& entry);
    static void LetGo(Modifier& entry);
};
