#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/MediaNumbers.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/scene/GameNode.h"
#include "engine/scene/SceneTestSupport.h"

namespace {

using testing::ElementsAre;

std::vector<const GameNode*> Children(const GameNode& parent) {
    std::vector<const GameNode*> children;
    for (const GameNode* c = parent.GetFirstChild(); c != nullptr; c = c->GetNextSibling()) {
        EXPECT_EQ(c->GetParent(), &parent);
        children.push_back(c);
    }
    return children;
}

TEST(GameNodeTest, AddChildMovesANodeBetweenParentsWithoutChangingItsCount) {
    const Ref<GameNode> first(new GameNode);
    const Ref<GameNode> second(new GameNode);
    auto* a = new GameNode;
    auto* b = new GameNode;
    first->AddChild(a);
    first->AddChild(b);
    EXPECT_EQ(a->ReferenceCount(), 1);  // a fresh child is owned by its parent alone
    EXPECT_THAT(Children(*first), ElementsAre(a, b));

    a->SetRemoved(true);
    second->AddChild(a);
    EXPECT_EQ(a->ReferenceCount(), 1);
    EXPECT_FALSE(a->IsRemoved());
    EXPECT_THAT(Children(*first), ElementsAre(b));
    EXPECT_THAT(Children(*second), ElementsAre(a));

    second->AddChildFront(b);
    EXPECT_THAT(Children(*second), ElementsAre(b, a));
    EXPECT_EQ(first->GetFirstChild(), nullptr);

    // Re-adding under the same parent moves it to the end.
    second->AddChild(b);
    EXPECT_THAT(Children(*second), ElementsAre(a, b));
}

TEST(GameNodeTest, RemovingFromTheParentLetsGoOfTheParentsReferenceOnly) {
    const Ref<GameNode> parent(new GameNode);
    const Ref<GameNode> held(new GameNode);
    const Ref<GameNode> orphan(new GameNode);
    parent->AddChild(held.Get());
    parent->AddChild(new GameNode);
    parent->AddChild(new GameNode);
    EXPECT_EQ(held->ReferenceCount(), 2);

    held->RemoveFromParent();
    EXPECT_EQ(held->ReferenceCount(), 1);
    EXPECT_EQ(held->GetParent(), nullptr);
    EXPECT_EQ(Children(*parent).size(), 2u);

    // Without a parent nothing changes; no reference is handed out.
    orphan->RemoveFromParent();
    EXPECT_EQ(orphan->ReferenceCount(), 1);

    parent->AddChild(held.Get());
    parent->RemoveChildren();
    EXPECT_EQ(parent->GetFirstChild(), nullptr);
    EXPECT_EQ(held->ReferenceCount(), 1);
}

TEST(GameNodeTest, InsertBeforeLinksInPlaceAndDoesNothingWhenAlreadyThere) {
    const Ref<GameNode> parent(new GameNode);
    auto* a = new GameNode;
    auto* b = new GameNode;
    auto* c = new GameNode;
    parent->AddChild(a);
    parent->AddChild(b);
    parent->AddChild(c);

    a->SetRemoved(true);
    a->InsertBefore(b);  // already right before b: not even the flag changes
    EXPECT_TRUE(a->IsRemoved());
    EXPECT_THAT(Children(*parent), ElementsAre(a, b, c));

    c->SetRemoved(true);
    c->InsertBefore(a);
    EXPECT_THAT(Children(*parent), ElementsAre(c, a, b));
    EXPECT_FALSE(c->IsRemoved());  // a moved node is rescued
    a->InsertBefore(b);
    EXPECT_THAT(Children(*parent), ElementsAre(c, a, b));

    // A node from elsewhere keeps one reference, now held by the new parent.
    auto* d = new GameNode;
    const Ref<GameNode> other(new GameNode);
    other->AddChild(d);
    d->InsertBefore(b);
    EXPECT_THAT(Children(*parent), ElementsAre(c, a, d, b));
    EXPECT_EQ(d->ReferenceCount(), 1);
}

// Appending goes after whatever is last now, however the chain got there:
// the last child moved, taken out or put in front, or every child gone.
TEST(GameNodeTest, AddChildAppendsAfterTheCurrentLastChild) {
    const Ref<GameNode> parent(new GameNode);
    const Ref<GameNode> elsewhere(new GameNode);
    auto* a = new GameNode;
    auto* b = new GameNode;
    auto* c = new GameNode;
    for (GameNode* child : {a, b, c}) {
        parent->AddChild(child);
    }
    elsewhere->AddChild(c);
    auto* d = new GameNode;
    parent->AddChild(d);
    EXPECT_THAT(Children(*parent), ElementsAre(a, b, d));
    d->InsertBefore(a);
    parent->AddChild(c);
    EXPECT_THAT(Children(*parent), ElementsAre(d, a, b, c));
    c->InsertBefore(d);
    parent->AddChildFront(b);
    b->RemoveFromParent();  // b's reference went with it
    auto* e = new GameNode;
    parent->AddChild(e);
    EXPECT_THAT(Children(*parent), ElementsAre(c, d, a, e));
    parent->RemoveChildren();
    auto* f = new GameNode;
    parent->AddChild(f);
    EXPECT_THAT(Children(*parent), ElementsAre(f));
    EXPECT_THAT(Children(*elsewhere), ElementsAre());
}

// A saved game of a million letters makes a million sprites: appending one
// must not walk the siblings before it.
TEST(GameNodeTest, AppendingManyChildrenTakesLinearTime) {
    constexpr int kChildren = 100000;
    const Ref<GameNode> parent(new GameNode);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kChildren; ++i) {
        auto* child = new GameNode;
        child->SetX(i);
        parent->AddChild(child);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    int expected = 0;
    for (const GameNode* c = parent->GetFirstChild(); c != nullptr; c = c->GetNextSibling(), ++expected) {
        ASSERT_EQ(c->GetX(), expected);
    }
    EXPECT_EQ(expected, kChildren);
}

TEST(GameNodeTest, TreeOperationsRefuseCycles) {
    const Ref<GameNode> root(new GameNode);
    auto* child = new GameNode;
    root->AddChild(child);
    child->AddChild(root.Get());
    child->AddChild(child);
    root->InsertBefore(child);
    EXPECT_EQ(root->GetParent(), nullptr);
    EXPECT_THAT(Children(*root), ElementsAre(child));
    EXPECT_EQ(child->GetFirstChild(), nullptr);
    EXPECT_EQ(root->ReferenceCount(), 1);
}

TEST(GameNodeTest, AbsolutePositionSumsTheAncestors) {
    const Ref<GameNode> root(new GameNode);
    root->SetPosition(10, 20);
    auto* child = new GameNode;
    child->SetPosition(-3, 4);
    auto* grandchild = new GameNode;
    grandchild->SetPosition(1, 1);
    root->AddChild(child);
    child->AddChild(grandchild);
    EXPECT_EQ(grandchild->GetAbsoluteX(), 8);
    EXPECT_EQ(grandchild->GetAbsoluteY(), 25);
    EXPECT_EQ(grandchild->GetParentAbsoluteX(), 7);
    EXPECT_EQ(grandchild->GetParentAbsoluteY(), 24);
}

TEST(GameNodeTest, AddModifierIsIdempotentAndPutsAtEitherEnd) {
    auto log = std::make_shared<StepLog>();
    const Ref<GameNode> node(new GameNode);
    auto* back = new StepModifier(log, "back", 0);
    auto* front = new StepModifier(log, "front", 0);
    back->SetInTree(true);
    EXPECT_EQ(node->AddModifier(back, true), back);
    EXPECT_FALSE(back->IsInTree());
    EXPECT_EQ(node->AddModifier(back, false), back);
    node->AddModifier(front, false);
    EXPECT_EQ(back->ReferenceCount(), 1);
    EXPECT_EQ(back->TargetCalls(), 1);
    EXPECT_EQ(back->GetTarget(), node.Get());
    node->UpdateModifiers(10);
    EXPECT_THAT(log->Take(), ElementsAre("front", "back"));

    node->ClearModifiers();
    EXPECT_FALSE(node->HasModifiers());
    EXPECT_THAT(log->destroyed, ElementsAre("front", "back"));
}

TEST(GameNodeTest, OptionsSequenceTheOwnModifierList) {
    struct Spec {
        const char* name;
        int steps;
        uint32_t options;
    };
    struct Case {
        const char* what;
        std::vector<Spec> modifiers;
        int frames;
        std::vector<std::string> steps;
        std::vector<std::string> destroyed;
        bool nodeRemoved;
    };
    const Case cases[] = {
        {"a blocker holds the others back until the frame in which it finishes",
         {{"wait", 3, Modifier::kBlockFollowing}, {"x", 0, 0}, {"y", 0, 0}},
         4,
         {"wait", "wait", "wait", "x", "y", "x", "y"},
         {"wait"},
         false},
        {"finished modifiers leave and the walk goes on in the same frame",
         {{"one", 1, 0}, {"two", 1, 0}, {"three", 2, 0}},
         2,
         {"one", "two", "three", "three"},
         {"one", "two", "three"},
         false},
        {"0x4 releases the modifiers in front of it, finished or not",
         {{"endless", 0, 0}, {"blocker", 0, Modifier::kBlockFollowing}, {"end", 1, Modifier::kReleasePreceding},
          {"after", 0, 0}},
         2,
         {"endless", "blocker", "endless", "blocker"},
         {},
         false},
        {"0x4 behind a finished blocker ends everything in front",
         {{"endless", 0, 0}, {"go", 1, Modifier::kBlockFollowing}, {"end", 1, Modifier::kReleasePreceding},
          {"after", 0, 0}},
         2,
         {"endless", "go", "end", "after", "after"},
         {"go", "endless", "end"},
         false},
        {"0x2 flags the node for removal when it finishes",
         {{"fade", 2, Modifier::kRemoveNodeAtEnd}, {"other", 0, 0}},
         2,
         {"fade", "other", "fade", "other"},
         {"fade"},
         true},
    };
    for (const Case& c : cases) {
        auto log = std::make_shared<StepLog>();
        {
            const Ref<GameNode> node(new GameNode);
            for (const Spec& spec : c.modifiers) {
                node->AddModifier(new StepModifier(log, spec.name, spec.steps, spec.options));
            }
            for (int frame = 0; frame < c.frames; ++frame) {
                node->UpdateModifiers(16);
            }
            EXPECT_EQ(log->steps, c.steps) << c.what;
            EXPECT_EQ(log->destroyed, c.destroyed) << c.what;
            EXPECT_EQ(node->IsRemoved(), c.nodeRemoved) << c.what;
        }
    }
}

// Clears its own node's list from inside its step.
class ClearingModifier : public Modifier {
    ENGINE_CLASS(ClearingModifier, Modifier)

public:
    void Update(int32_t) override { GetTarget()->ClearModifiers(); }
};

TEST(GameNodeTest, AModifierThatEmptiesItsListDuringTheWalkEndsTheWalkSafely) {
    auto log = std::make_shared<StepLog>();
    const Ref<GameNode> node(new GameNode);
    node->AddModifier(new ClearingModifier);
    node->AddModifier(new StepModifier(log, "behind", 0));
    node->UpdateModifiers(10);
    EXPECT_FALSE(node->HasModifiers());
    EXPECT_TRUE(log->steps.empty());
    EXPECT_THAT(log->destroyed, ElementsAre("behind"));
}

TEST(GameNodeTest, DestructionReleasesChildrenAndModifiersAndForgetsTheTarget) {
    auto log = std::make_shared<StepLog>();
    const Ref<Modifier> kept(new StepModifier(log, "kept", 0));
    Ref<GameNode> child(new GameNode);
    {
        const Ref<GameNode> root(new GameNode);
        root->AddChild(child.Get());
        root->GetFirstChild()->AddChild(new GameNode);
        root->AddModifier(kept.Get());
        root->AddModifier(new StepModifier(log, "owned", 0));
    }
    // The child survives its parent through our own reference, unlinked.
    EXPECT_EQ(child->GetParent(), nullptr);
    EXPECT_EQ(child->ReferenceCount(), 1);
    EXPECT_THAT(log->destroyed, ElementsAre("owned"));
    EXPECT_EQ(kept->GetTarget(), nullptr);
}

const ClassRegistration stepRegistration("TestStepModifier", [](Property* definition) -> Object* {
    static const auto log = std::make_shared<StepLog>();
    return new StepModifier(log, Property::AsString(Property::Child(definition, "name")), 0);
});

TEST(GameNodeTest, BuildsFromADefinitionWithChildrenAndModifiers) {
    const Ref<PropertyFile> file = ParseDefinitions(
        "<root><GameNode id=\"n\" name=\"holder\" x=\"7\" y=\"-2\" suspended=\"true\" visible=\"false\">"
        "<Vector id=\"children\"><GameNode name=\"a\" x=\"1\"/><Unknown name=\"skipped\"/>"
        "<TestStepModifier name=\"not a node\"/><GameNode name=\"b\"/></Vector>"
        "<Vector id=\"modifiers\"><TestStepModifier name=\"m1\"/><GameNode name=\"not a modifier\"/>"
        "<TestStepModifier name=\"m2\"/></Vector>"
        "</GameNode></root>");
    const Ref<Object> built(ClassFactory::Instance().Create(Property::Child(file.Get(), "n")));
    auto* node = ObjectCast<GameNode>(built.Get());
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->GetName(), "holder");
    EXPECT_EQ(node->GetX(), 7);
    EXPECT_EQ(node->GetY(), -2);
    EXPECT_TRUE(node->IsSuspended());
    EXPECT_FALSE(node->IsVisible());
    const std::vector<const GameNode*> children = Children(*node);
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(children[0]->GetName(), "a");
    EXPECT_EQ(children[0]->GetX(), 1);
    EXPECT_EQ(children[0]->ReferenceCount(), 1);
    EXPECT_EQ(children[1]->GetName(), "b");
    ASSERT_EQ(node->GetModifiers().size(), 2u);
    EXPECT_EQ(node->GetModifiers()[0]->GetName(), "m1");
    EXPECT_EQ(node->GetModifiers()[1]->GetName(), "m2");
    EXPECT_EQ(node->GetModifiers()[0]->ReferenceCount(), 1);

    // Positions beyond any screen are read as the nearest one nodes can sum.
    const Ref<PropertyFile> far = ParseDefinitions(R"(<root><GameNode id="n" x="2147483647" y="-2147483648"/></root>)");
    const Ref<GameNode> held(new GameNode(Property::Child(far.Get(), "n")));
    EXPECT_EQ(held->GetX(), media_numbers::kPositionLimit);
    EXPECT_EQ(held->GetY(), -media_numbers::kPositionLimit);

    // A definition that is not a node reads as all defaults.
    const Ref<GameNode> plain(new GameNode(&Property::DummyValue()));
    EXPECT_TRUE(plain->IsVisible());
    EXPECT_EQ(plain->GetX(), 0);
}

}  // namespace
