#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"
#include "engine/scene/Modifier.h"

class Property;

// The element of every scene: a named node with an integer position relative
// to its parent, the flags removed, suspended and visible, an ordered tree of
// children and two modifier lists: its own (counted), which it steps every
// frame, and the animations of the scene's animation tree that target it (not
// counted).
//
// The child chain owns the children: each child is held by one reference that
// belongs to its parent; the parent and sibling links carry none. A new node
// has no reference; the first holder takes one.
class GameNode : public Object {
    ENGINE_CLASS(GameNode, Object)

public:
    GameNode() = default;
    // Keys "name", "x", "y", "suspended", "visible", "children" and
    // "modifiers", each read only when present.
    explicit GameNode(Property* definition);
    // Copies only the position.
    GameNode(const GameNode& other);
    GameNode& operator=(const GameNode&) = delete;
    ~GameNode() override;

    virtual int32_t GetX() const { return x_; }
    virtual void SetX(int32_t x) { x_ = x; }
    virtual int32_t GetY() const { return y_; }
    virtual void SetY(int32_t y) { y_ = y; }
    // SetX then SetY, so that overrides run.
    virtual void SetPosition(int32_t x, int32_t y);
    // Takes the node out of the running scene: it is neither stepped nor
    // drawn, and the delete pass unlinks and releases it at the frame's end.
    virtual void SetRemoved(bool removed) { removed_ = removed; }
    virtual void SetVisible(bool visible) { visible_ = visible; }
    // The node's own step of each frame; nothing here.
    virtual void Update(int32_t elapsedMs);

    bool IsRemoved() const { return removed_; }
    bool IsSuspended() const { return suspended_; }
    void SetSuspended(bool suspended) { suspended_ = suspended; }
    bool IsVisible() const { return visible_; }
    const std::string& GetName() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    GameNode* GetParent() const { return parent_; }
    GameNode* GetNextSibling() const { return nextSibling_; }
    GameNode* GetFirstChild() const { return firstChild_; }

    // Unlinks the node from its parent, whose reference passes to the
    // caller; a node without a parent gets a reference instead. Either way
    // the caller owns one reference more. Clears the removed flag.
    void Detach();
    // Unlinks the node from its parent and lets go of the parent's
    // reference, which may free the node; nothing happens without a parent.
    void RemoveFromParent();
    // Removes every child that way.
    void RemoveChildren();
    // Moves the child (detached from wherever it stood) to the end of this
    // node's children; the parent keeps the reference that Detach gave.
    void AddChild(GameNode* child);
    // The same, as the first child.
    void AddChildFront(GameNode* child);
    // Moves this node right before `sibling`, under the sibling's parent;
    // nothing happens when it already stands there.
    void InsertBefore(GameNode* sibling);
    // Releases the node and all its following siblings, the last first.
    static void ReleaseChain(GameNode* node);

    // The position plus that of every ancestor.
    int32_t GetAbsoluteX() const;
    int32_t GetAbsoluteY() const;
    // The parent's absolute position; (0, 0) without a parent.
    int32_t GetParentAbsoluteX() const { return parent_ != nullptr ? parent_->GetAbsoluteX() : 0; }
    int32_t GetParentAbsoluteY() const { return parent_ != nullptr ? parent_->GetAbsoluteY() : 0; }

    // Puts the modifier at the back (append) or the front of the own list,
    // targets this node and takes a reference; a modifier already in the list
    // stays where it is. Clears the modifier's in-tree flag. Returns it.
    Modifier* AddModifier(Modifier* modifier, bool append = true);
    void ClearModifiers();
    const std::vector<Ref<Modifier>>& GetModifiers() const { return modifiers_; }
    bool HasModifiers() const { return !modifiers_.empty(); }

    // Enters a modifier of the animation tree that targets this node; false
    // when it is there already. No reference is taken.
    bool AddAnimation(Modifier* modifier);
    void RemoveAnimation(Modifier* modifier);
    // Cancels the animations from the front up to and including `modifier`
    // and drops them from the list; when it is not in the list, every
    // animation is cancelled and none dropped.
    void RemoveAnimationsUpTo(Modifier* modifier);
    const std::vector<Modifier*>& GetAnimations() const { return animations_; }

    // The frame step: Update, then the own modifiers front to back. A
    // finished one leaves the list (option 0x2 flags this node for removal,
    // option 0x4 ends every modifier in front of it too) and the walk goes
    // on; an unfinished one with option 0x1 ends the walk for this frame.
    void UpdateModifiers(int32_t elapsedMs);

private:
    // Links a detached node into this node's chain after `predecessor`
    // (null: as the first child).
    void LinkChild(GameNode* child, GameNode* predecessor);
    // Unlinks this node from its parent's chain; parent and next cleared.
    void UnlinkFromParent();
    GameNode* PredecessorOf(const GameNode* child) const;
    // Whether `node` is this node or one of its ancestors.
    bool IsSelfOrAncestor(const GameNode* node) const;
    int IndexOfModifier(const Modifier* modifier) const;
    void BuildChildren(Property* definition);
    void BuildModifiers(Property* definition);

    GameNode* parent_ = nullptr;
    GameNode* nextSibling_ = nullptr;
    GameNode* firstChild_ = nullptr;
    // The chain's tail, so that appending a child never walks its siblings.
    GameNode* lastChild_ = nullptr;
    int32_t x_ = 0;
    int32_t y_ = 0;
    bool removed_ = false;
    bool suspended_ = false;
    bool visible_ = true;
    std::vector<Ref<Modifier>> modifiers_;
    std::vector<Modifier*> animations_;
    // Animations dropped from the list by RemoveAnimationsUpTo that still
    // aim at this node until the tree lets go of them; forgotten by them
    // when this node goes first.
    std::vector<Modifier*> droppedAnimations_;
    std::string name_;
};
