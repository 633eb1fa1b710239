#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/scene/AnimationTree.h"
#include "engine/scene/GameNode.h"
#include "engine/scene/SceneTestSupport.h"

namespace {

using testing::ElementsAre;
using testing::IsEmpty;
using testing::UnorderedElementsAre;

class AnimationTreeTest : public testing::Test {
protected:
    StepModifier* Step(const std::string& name, int steps, uint32_t options = 0) {
        return new StepModifier(log_, name, steps, options);
    }
    Modifier* Add(Modifier* parent, Modifier* modifier, GameNode* node = nullptr) {
        return AnimationTree::Add(parent, modifier, node);
    }
    // One frame: the update walk, then the delete walk; what stepped.
    std::vector<std::string> Frame() {
        tree_->UpdateTree(16);
        tree_->DeleteFinished();
        return log_->Take();
    }
    std::vector<Modifier*> Children(const Modifier& parent) {
        std::vector<Modifier*> children;
        for (Modifier* m = parent.GetFirstChild(); m != nullptr; m = m->GetNextSibling()) {
            EXPECT_EQ(m->GetTreeParent(), &parent);
            children.push_back(m);
        }
        return children;
    }

    std::shared_ptr<StepLog> log_ = std::make_shared<StepLog>();
    Ref<AnimationTree> tree_{new AnimationTree};
    Ref<GameNode> node_{new GameNode};
};

TEST_F(AnimationTreeTest, AChainRunsInSeriesEachLinkStartingInTheFrameItsParentEnds) {
    Modifier* first = Add(tree_.Get(), Step("first", 2), node_.Get());
    Modifier* second = Add(first, Step("second", 1));
    Add(second, Step("third", 2));
    Add(tree_.Get(), Step("beside", 3));  // siblings run side by side
    EXPECT_EQ(tree_->GetName(), "AnimationTree");
    EXPECT_THAT(node_->GetAnimations(), ElementsAre(first));
    EXPECT_EQ(first->ReferenceCount(), 1);

    EXPECT_THAT(Frame(), ElementsAre("first", "beside"));
    EXPECT_THAT(Frame(), ElementsAre("first", "second", "third", "beside"));
    EXPECT_THAT(log_->destroyed, ElementsAre("second", "first"));  // post-order
    EXPECT_THAT(node_->GetAnimations(), IsEmpty());
    EXPECT_THAT(Frame(), ElementsAre("third", "beside"));
    EXPECT_THAT(Frame(), IsEmpty());
    EXPECT_EQ(tree_->GetFirstChild(), nullptr);
}

TEST_F(AnimationTreeTest, Option8StopsTheEnclosingGroupAndItsUnfinishedSiblingsNeverRunAgain) {
    auto* group = new ModifierGroup;
    Add(tree_.Get(), group);
    Add(group, Step("quick", 1, Modifier::kStopEnclosingGroup), node_.Get());
    Add(group, Step("slow", 5));
    Add(tree_.Get(), Step("outside", 3));
    EXPECT_THAT(Frame(), ElementsAre("quick", "slow", "outside"));
    EXPECT_EQ(tree_->GetFirstChild()->GetName(), "outside");
    EXPECT_THAT(log_->destroyed, ElementsAre("quick", "slow"));
    EXPECT_THAT(Frame(), ElementsAre("outside"));
}

TEST_F(AnimationTreeTest, AHeldGroupPausesItsSubtreeWhichResumesWhereItWas) {
    auto* group = new ModifierGroup;
    Add(tree_.Get(), group);
    StepModifier* inner = Step("inner", 3);
    Add(group, inner);
    EXPECT_THAT(Frame(), ElementsAre("inner"));
    group->SetHeld(true);
    EXPECT_THAT(Frame(), IsEmpty());
    EXPECT_THAT(Frame(), IsEmpty());
    group->SetHeld(false);
    EXPECT_THAT(Frame(), ElementsAre("inner"));
    EXPECT_EQ(inner->Taken(), 2);

    // A held entry that is not a group is not stepped, and its children wait.
    StepModifier* held = Step("held", 1);
    Add(tree_.Get(), held);
    Add(held, Step("after held", 1));
    held->SetHeld(true);
    EXPECT_THAT(Frame(), ElementsAre("inner"));
    held->SetHeld(false);
    EXPECT_THAT(Frame(), ElementsAre("held", "after held"));
}

TEST_F(AnimationTreeTest, ASplicedEntrysUnfinishedChildrenMoveUpInItsPlace) {
    Modifier* before = Add(tree_.Get(), Step("before", 0));
    Modifier* parent = Add(tree_.Get(), Step("parent", 1));
    Modifier* c1 = Add(parent, Step("c1", 0));
    Modifier* c2 = Add(parent, Step("c2", 0));
    Modifier* after = Add(tree_.Get(), Step("after", 0));
    EXPECT_THAT(Frame(), ElementsAre("before", "parent", "c1", "c2", "after"));
    EXPECT_THAT(Children(*tree_), ElementsAre(before, c1, c2, after));
    EXPECT_THAT(Frame(), ElementsAre("before", "c1", "c2", "after"));
}

TEST_F(AnimationTreeTest, FinishedOptionsActOnTheTarget) {
    // 0x2 flags the node; 0x4 cancels and drops the target's animations up to it.
    Modifier* earlier = Add(tree_.Get(), Step("earlier", 0), node_.Get());
    Add(tree_.Get(), Step("end", 1, Modifier::kRemoveNodeAtEnd | Modifier::kReleasePreceding), node_.Get());
    Modifier* later = Add(tree_.Get(), Step("later", 0), node_.Get());
    EXPECT_THAT(Frame(), ElementsAre("earlier", "end", "later"));
    EXPECT_TRUE(node_->IsRemoved());
    EXPECT_TRUE(earlier->IsCancelled());
    EXPECT_THAT(node_->GetAnimations(), ElementsAre(later));
    EXPECT_THAT(Frame(), ElementsAre("later"));
    EXPECT_THAT(log_->destroyed, ElementsAre("end", "earlier"));

    // 0x10: a modifier that leaves the tree unfinished flags its target.
    const Ref<GameNode> other(new GameNode);
    Modifier* dropped = Add(tree_.Get(), Step("dropped", 0, Modifier::kRemoveTargetOnDestroy), other.Get());
    dropped->SetCancelled(true);
    EXPECT_THAT(Frame(), ElementsAre("later"));
    EXPECT_TRUE(other->IsRemoved());
}

TEST_F(AnimationTreeTest, MovingAnEntryWithinTheTreeDropsItsTarget) {
    Modifier* first = Add(tree_.Get(), Step("first", 0), node_.Get());
    Modifier* moved = Add(tree_.Get(), Step("moved", 0), node_.Get());
    AnimationTree::AddChild(first, moved);
    EXPECT_EQ(moved->GetTarget(), nullptr);
    EXPECT_THAT(node_->GetAnimations(), ElementsAre(first));
    EXPECT_EQ(moved->ReferenceCount(), 1);
    EXPECT_THAT(Children(*first), ElementsAre(moved));

    // Putting an entry under its own subtree is refused.
    AnimationTree::AddChild(moved, first);
    EXPECT_EQ(first->GetTreeParent(), tree_.Get());
}

TEST_F(AnimationTreeTest, ANodeDestroyedWithAnimationsTakesThemOutOfTheTree) {
    Ref<GameNode> doomed(new GameNode);
    Modifier* chained = Add(tree_.Get(), Step("on doomed", 0, Modifier::kRemoveTargetOnDestroy), doomed.Get());
    Add(chained, Step("child", 1), doomed.Get());
    Add(tree_.Get(), Step("other", 0));
    doomed.Reset();
    EXPECT_THAT(log_->destroyed, UnorderedElementsAre("child", "on doomed"));
    EXPECT_THAT(Frame(), ElementsAre("other"));
}

TEST_F(AnimationTreeTest, ANodeFreedBeforeTheTreeLetsGoOfItsCancelledAnimationsIsNotTouched) {
    // The usual ending of a throw-away node: the last animation removes the
    // node and ends the earlier ones, which the tree lets go of only in the
    // next frame, after the delete pass has freed the node.
    Ref<GameNode> doomed(new GameNode);
    Add(tree_.Get(), Step("earlier", 0, Modifier::kRemoveTargetOnDestroy), doomed.Get());
    Add(tree_.Get(), Step("last", 1, Modifier::kRemoveNodeAtEnd | Modifier::kReleasePreceding), doomed.Get());
    EXPECT_THAT(Frame(), ElementsAre("earlier", "last"));
    EXPECT_TRUE(doomed->IsRemoved());
    doomed.Reset();
    EXPECT_THAT(Frame(), IsEmpty());
    EXPECT_THAT(log_->destroyed, ElementsAre("last", "earlier"));
}

TEST_F(AnimationTreeTest, DestroyingTheTreeReleasesEveryEntry) {
    Modifier* a = Add(tree_.Get(), Step("a", 0), node_.Get());
    Add(a, Step("b", 0));
    tree_.Reset();
    EXPECT_THAT(log_->destroyed, ElementsAre("a", "b"));
    EXPECT_THAT(node_->GetAnimations(), IsEmpty());
}

}  // namespace
