#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "engine/scene/AnimationTree.h"
#include "engine/scene/DeletePass.h"
#include "engine/scene/GameNode.h"
#include "engine/scene/SceneTestSupport.h"
#include "engine/scene/UpdatePass.h"

namespace {

using testing::ElementsAre;

// A node that logs its own steps, and can run an action in its step.
class LoggingNode : public GameNode {
    ENGINE_CLASS(LoggingNode, GameNode)

public:
    LoggingNode(std::shared_ptr<StepLog> log, std::string name) : log_(std::move(log)) { SetName(std::move(name)); }
    ~LoggingNode() override { log_->destroyed.push_back(GetName()); }

    void Update(int32_t) override {
        log_->steps.push_back(GetName());
        if (action) {
            action();
        }
    }

    std::function<void()> action;

private:
    std::shared_ptr<StepLog> log_;
};

class ScenePassesTest : public testing::Test {
protected:
    LoggingNode* Node(GameNode& parent, const std::string& name) {
        auto* node = new LoggingNode(log_, name);
        parent.AddChild(node);
        return node;
    }

    std::shared_ptr<StepLog> log_ = std::make_shared<StepLog>();
    Ref<LoggingNode> root_{new LoggingNode(log_, "root")};
    Ref<AnimationTree> tree_{new AnimationTree};
    Ref<UpdatePass> update_{new UpdatePass(root_.Get(), tree_.Get())};
    Ref<DeletePass> remove_{new DeletePass(root_.Get(), tree_.Get())};
};

TEST_F(ScenePassesTest, UpdateWalksPreOrderSkippingSuspendedAndRemovedSubtrees) {
    LoggingNode* a = Node(*root_, "a");
    Node(*a, "a1");
    LoggingNode* b = Node(*root_, "b");
    Node(*b, "b1");
    LoggingNode* c = Node(*root_, "c");
    Node(*c, "c1");
    Node(*root_, "d");
    b->SetSuspended(true);
    c->SetRemoved(true);
    root_->SetSuspended(true);  // the root always runs
    auto* modifier = new StepModifier(log_, "a.modifier", 0);
    a->AddModifier(modifier);
    update_->Update(16);
    EXPECT_THAT(log_->Take(), ElementsAre("root", "a", "a.modifier", "a1", "d"));
}

TEST_F(ScenePassesTest, TheUpdateWalkSurvivesNodesUnlinkedAndFreedDuringIt) {
    LoggingNode* a = Node(*root_, "a");
    LoggingNode* b = Node(*root_, "b");
    Node(*root_, "c");
    LoggingNode* a1 = Node(*a, "a1");
    // a's step frees its next sibling: the walk goes on with the one after it.
    a->action = [b] {
        b->Detach();
        b->Release();
    };
    update_->Update(16);
    EXPECT_THAT(log_->Take(), ElementsAre("root", "a", "a1", "c"));
    EXPECT_THAT(log_->destroyed, ElementsAre("b"));

    // a1's step unlinks its own parent: the walk goes on with a's old sibling.
    a->action = nullptr;
    Ref<GameNode> keptA;
    a1->action = [a, &keptA] {
        keptA = a;
        a->Detach();
        a->Release();
    };
    update_->Update(16);
    EXPECT_THAT(log_->Take(), ElementsAre("root", "a", "a1", "c"));
    EXPECT_EQ(keptA->GetParent(), nullptr);
}

TEST_F(ScenePassesTest, DeletePassReleasesFlaggedNodesAfterTheirChildren) {
    LoggingNode* a = Node(*root_, "a");
    LoggingNode* a1 = Node(*a, "a1");
    Node(*a, "a2");
    LoggingNode* b = Node(*root_, "b");
    LoggingNode* c = Node(*root_, "c");
    LoggingNode* d = Node(*root_, "d");
    const Ref<GameNode> heldElsewhere(d);

    a->SetRemoved(true);
    a1->SetRemoved(true);
    b->SetRemoved(true);
    b->SetRemoved(false);  // rescued before the pass
    c->SetSuspended(true);
    c->SetRemoved(true);  // suspended nodes are still cleaned up
    d->SetRemoved(true);
    remove_->Update(16);

    EXPECT_THAT(log_->destroyed, ElementsAre("a1", "a", "a2", "c"));  // a2 goes with its parent
    EXPECT_EQ(root_->GetFirstChild(), b);
    EXPECT_EQ(b->GetNextSibling(), nullptr);
    // The node held elsewhere survives, unlinked and unflagged, and can be linked again.
    EXPECT_EQ(d->ReferenceCount(), 1);
    EXPECT_EQ(d->GetParent(), nullptr);
    EXPECT_FALSE(d->IsRemoved());
    root_->AddChild(d);
    EXPECT_EQ(b->GetNextSibling(), d);
}

TEST_F(ScenePassesTest, AModifierWithOption2TakesItsNodeOutAtTheEndOfTheSameFrame) {
    LoggingNode* a = Node(*root_, "a");
    a->AddModifier(new StepModifier(log_, "fade", 1, Modifier::kRemoveNodeAtEnd));
    update_->Update(16);
    EXPECT_TRUE(a->IsRemoved());
    remove_->Update(16);
    EXPECT_THAT(log_->destroyed, ElementsAre("fade", "a"));
    EXPECT_EQ(root_->GetFirstChild(), nullptr);
}

TEST_F(ScenePassesTest, TheAnimationTreeRunsAfterTheNodesAndIsCleanedByTheDeletePass) {
    Node(*root_, "a");
    AnimationTree::Add(tree_.Get(), new StepModifier(log_, "anim", 1), root_.Get());
    update_->Update(16);
    EXPECT_THAT(log_->Take(), ElementsAre("root", "a", "anim"));
    remove_->Update(16);
    EXPECT_THAT(log_->destroyed, ElementsAre("anim"));
    EXPECT_EQ(tree_->GetFirstChild(), nullptr);
    EXPECT_TRUE(root_->GetAnimations().empty());
}

}  // namespace
