#include "engine/scene/GameNode.h"

#include <algorithm>

#include "engine/foundation/MediaNumbers.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/scene/Modifier.h"

namespace {

const ClassRegistration registration("GameNode", CreateFromProperty<GameNode>);

// Builds one element of a "children" or "modifiers" vector by its type name;
// null, with a log line, when the registry builds nothing of the wanted kind.
template <typename T>
T* CreateElement(Property* element, const char* listName) {
    PropertyNode& definition = Property::NodeOf(element);
    Ref<Object> created(ClassFactory::Instance().Create(&definition));
    T* built = ObjectCast<T>(created.Get());
    if (built == nullptr) {
        ENGINE_LOG(1, "GameNode: %s element of type \"%s\" builds nothing usable", listName,
                   definition.TypeName().c_str());
        return nullptr;
    }
    // The list takes its own reference; the holder above lets go without destroying it.
    built->AddRef();
    created.Reset();
    return built;
}

}  // namespace

GameNode::GameNode(Property* definition) {
    Property* node = &Property::NodeOf(definition);
    if (Property* name = Property::Child(node, "name")) {
        name_ = Property::AsString(name);
    }
    if (Property* x = Property::Child(node, "x")) {
        x_ = media_numbers::Position(x);
    }
    if (Property* y = Property::Child(node, "y")) {
        y_ = media_numbers::Position(y);
    }
    if (Property* suspended = Property::Child(node, "suspended")) {
        suspended_ = Property::AsBool(suspended);
    }
    if (Property* visible = Property::Child(node, "visible")) {
        visible_ = Property::AsBool(visible);
    }
    BuildChildren(node);
    BuildModifiers(node);
}

GameNode::GameNode(const GameNode& other) : Object(other), x_(other.GetX()), y_(other.GetY()) {}

GameNode::~GameNode() {
    if (parent_ != nullptr) {
        UnlinkFromParent();
    }
    if (firstChild_ != nullptr) {
        GameNode* first = std::exchange(firstChild_, nullptr);
        lastChild_ = nullptr;
        ReleaseChain(first);
    }
    for (const Ref<Modifier>& modifier : modifiers_) {
        // A modifier that outlives its list must not point at a freed node.
        if (modifier->GetTarget() == this && modifier->ReferenceCount() > 1) {
            modifier->target_ = nullptr;
        }
    }
    modifiers_.clear();
    // The tree lets go of the animations aimed at this node; their target is
    // forgotten first, so that leaving the tree does not touch this node.
    for (Modifier* dropped : std::exchange(droppedAnimations_, {})) {
        dropped->target_ = nullptr;
    }
    const std::vector<Modifier*> animations = std::exchange(animations_, {});
    // Held while the tree lets go: letting go of one entry releases its
    // subtree, which may hold other animations of this node.
    std::vector<Ref<Modifier>> held(animations.begin(), animations.end());
    for (Modifier* animation : animations) {
        animation->target_ = nullptr;
    }
    for (Modifier* animation : animations) {
        if (animation->IsInTree() && animation->GetTreeParent() != nullptr) {
            animation->LeaveTree();
            animation->Release();
        }
    }
}

void GameNode::BuildChildren(Property* definition) {
    Property* children = Property::Child(definition, "children");
    if (children == nullptr) {
        return;
    }
    const std::vector<Ref<Property>> elements = Property::VectorOf(children).Items();
    for (const Ref<Property>& element : elements) {
        if (GameNode* child = CreateElement<GameNode>(element.Get(), "children")) {
            AddChild(child);
            // AddChild's Detach gave the parent a reference of its own.
            child->Release();
        }
    }
}

void GameNode::BuildModifiers(Property* definition) {
    Property* modifiers = Property::Child(definition, "modifiers");
    if (modifiers == nullptr) {
        return;
    }
    const std::vector<Ref<Property>> elements = Property::VectorOf(modifiers).Items();
    for (const Ref<Property>& element : elements) {
        if (Modifier* modifier = CreateElement<Modifier>(element.Get(), "modifiers")) {
            AddModifier(modifier, true);
            modifier->Release();
        }
    }
}

void GameNode::SetPosition(int32_t x, int32_t y) {
    SetX(x);
    SetY(y);
}

void GameNode::Update(int32_t elapsedMs) {
    static_cast<void>(elapsedMs);
}

void GameNode::Detach() {
    SetRemoved(false);
    if (parent_ != nullptr) {
        UnlinkFromParent();
    } else {
        AddRef();
    }
}

void GameNode::RemoveFromParent() {
    if (parent_ != nullptr) {
        Detach();
        Release();
    }
}

void GameNode::RemoveChildren() {
    while (firstChild_ != nullptr) {
        firstChild_->RemoveFromParent();
    }
}

void GameNode::AddChild(GameNode* child) {
    if (child == nullptr || child->IsSelfOrAncestor(this)) {
        ENGINE_LOG(1, "GameNode: refused to make a node a child of itself or of its own subtree");
        return;
    }
    child->Detach();
    LinkChild(child, lastChild_);
    child->SetRemoved(false);
}

void GameNode::AddChildFront(GameNode* child) {
    if (child == nullptr || child->IsSelfOrAncestor(this)) {
        ENGINE_LOG(1, "GameNode: refused to make a node a child of itself or of its own subtree");
        return;
    }
    child->Detach();
    LinkChild(child, nullptr);
    child->SetRemoved(false);
}

void GameNode::InsertBefore(GameNode* sibling) {
    if (sibling == nullptr || nextSibling_ == sibling) {
        return;
    }
    GameNode* parent = sibling->parent_;
    if (parent == nullptr || sibling == this || IsSelfOrAncestor(parent)) {
        ENGINE_LOG(1, "GameNode: cannot insert before a node without a parent or inside the own subtree");
        return;
    }
    Detach();
    parent->LinkChild(this, parent->PredecessorOf(sibling));
    SetRemoved(false);
}

void GameNode::ReleaseChain(GameNode* node) {
    // Gathered first, so that a long chain needs no deep recursion.
    std::vector<GameNode*> chain;
    for (GameNode* n = node; n != nullptr; n = n->nextSibling_) {
        chain.push_back(n);
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        GameNode* n = *it;
        n->nextSibling_ = nullptr;
        n->parent_ = nullptr;
        n->Release();
    }
}

int32_t GameNode::GetAbsoluteX() const {
    int32_t x = 0;
    for (const GameNode* n = this; n != nullptr; n = n->parent_) {
        x += n->GetX();
    }
    return x;
}

int32_t GameNode::GetAbsoluteY() const {
    int32_t y = 0;
    for (const GameNode* n = this; n != nullptr; n = n->parent_) {
        y += n->GetY();
    }
    return y;
}

Modifier* GameNode::AddModifier(Modifier* modifier, bool append) {
    if (modifier == nullptr) {
        return nullptr;
    }
    modifier->SetInTree(false);
    if (IndexOfModifier(modifier) >= 0) {
        return modifier;
    }
    if (append) {
        modifiers_.emplace_back(modifier);
    } else {
        modifiers_.emplace(modifiers_.begin(), modifier);
    }
    modifier->SetTarget(this);
    return modifier;
}

void GameNode::ClearModifiers() {
    // Moved out first: a modifier's destruction may reach this node again.
    std::vector<Ref<Modifier>> released = std::exchange(modifiers_, {});
    released.clear();
}

bool GameNode::AddAnimation(Modifier* modifier) {
    if (modifier == nullptr || std::find(animations_.begin(), animations_.end(), modifier) != animations_.end()) {
        return false;
    }
    animations_.push_back(modifier);
    return true;
}

void GameNode::RemoveAnimation(Modifier* modifier) {
    std::erase(animations_, modifier);
    std::erase(droppedAnimations_, modifier);
}

void GameNode::RemoveAnimationsUpTo(Modifier* modifier) {
    for (size_t i = 0; i < animations_.size(); ++i) {
        animations_[i]->SetCancelled(true);
        if (animations_[i] == modifier) {
            const auto end = animations_.begin() + static_cast<std::ptrdiff_t>(i) + 1;
            droppedAnimations_.insert(droppedAnimations_.end(), animations_.begin(), end);
            animations_.erase(animations_.begin(), end);
            return;
        }
    }
}

void GameNode::UpdateModifiers(int32_t elapsedMs) {
    Update(elapsedMs);
    size_t index = 0;
    while (index < modifiers_.size()) {
        // Held for the step: the step may change the list or let go of it.
        const Ref<Modifier> current = modifiers_[index];
        if (!current->IsFinished()) {
            current->Update(elapsedMs);
        }
        const int position = IndexOfModifier(current.Get());
        if (position < 0) {
            return;  // the step took it out of the list; go on next frame
        }
        index = static_cast<size_t>(position);
        if (current->IsFinished()) {
            if (current->HasOption(Modifier::kRemoveNodeAtEnd)) {
                SetRemoved(true);
            }
            const size_t first = current->HasOption(Modifier::kReleasePreceding) ? 0 : index;
            // Released after the list is consistent again.
            std::vector<Ref<Modifier>> released(std::make_move_iterator(modifiers_.begin() + first),
                                                std::make_move_iterator(modifiers_.begin() + index + 1));
            modifiers_.erase(modifiers_.begin() + first, modifiers_.begin() + index + 1);
            for (const Ref<Modifier>& done : released) {
                // One held elsewhere (a wait on it) may outlive this node.
                if (done->GetTarget() == this && !done->IsInTree() && done->ReferenceCount() > 1) {
                    done->DropTarget();
                }
            }
            index = first;
        } else if (current->HasOption(Modifier::kBlockFollowing)) {
            return;
        } else {
            ++index;
        }
    }
}

void GameNode::LinkChild(GameNode* child, GameNode* predecessor) {
    child->parent_ = this;
    GameNode*& link = predecessor == nullptr ? firstChild_ : predecessor->nextSibling_;
    child->nextSibling_ = link;
    link = child;
    if (child->nextSibling_ == nullptr) {
        lastChild_ = child;
    }
}

void GameNode::UnlinkFromParent() {
    GameNode* predecessor = nullptr;
    if (parent_->firstChild_ == this) {
        parent_->firstChild_ = nextSibling_;
    } else if ((predecessor = parent_->PredecessorOf(this)) != nullptr) {
        predecessor->nextSibling_ = nextSibling_;
    }
    if (parent_->lastChild_ == this) {
        parent_->lastChild_ = predecessor;
    }
    parent_ = nullptr;
    nextSibling_ = nullptr;
}

GameNode* GameNode::PredecessorOf(const GameNode* child) const {
    for (GameNode* n = firstChild_; n != nullptr; n = n->nextSibling_) {
        if (n->nextSibling_ == child) {
            return n;
        }
    }
    return nullptr;
}

bool GameNode::IsSelfOrAncestor(const GameNode* node) const {
    for (const GameNode* n = node; n != nullptr; n = n->parent_) {
        if (n == this) {
            return true;
        }
    }
    return false;
}

int GameNode::IndexOfModifier(const Modifier* modifier) const {
    for (size_t i = 0; i < modifiers_.size(); ++i) {
        if (modifiers_[i].Get() == modifier) {
            return static_cast<int>(i);
        }
    }
    return -1;
}
