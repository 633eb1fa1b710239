#include "engine/scene/AnimationTree.h"

#include "engine/foundation/Logger.h"
#include "engine/foundation/Ref.h"
#include "engine/scene/GameNode.h"

AnimationTree::AnimationTree() {
    SetInTree(true);
    SetName("AnimationTree");
}

Modifier* AnimationTree::Add(Modifier* parent, Modifier* modifier, GameNode* node) {
    if (modifier == nullptr) {
        return nullptr;
    }
    modifier->SetTarget(node);
    AddChild(parent, modifier);
    return modifier;
}

void AnimationTree::AddChild(Modifier* parent, Modifier* modifier) {
    if (parent == nullptr || modifier == nullptr) {
        ENGINE_LOG(1, "AnimationTree: an entry needs a parent entry");
        return;
    }
    for (const Modifier* m = parent; m != nullptr; m = m->treeParent_) {
        if (m == modifier) {
            ENGINE_LOG(1, "AnimationTree: refused to put an entry under itself");
            return;
        }
    }
    Detach(modifier);
    modifier->treeParent_ = parent;
    Modifier** link = &parent->firstChild_;
    while (*link != nullptr) {
        link = &(*link)->nextSibling_;
    }
    *link = modifier;
    if (GameNode* target = modifier->GetTarget()) {
        target->AddAnimation(modifier);
    }
}

void AnimationTree::Detach(Modifier* modifier) {
    modifier->SetInTree(true);
    if (modifier->treeParent_ == nullptr) {
        modifier->AddRef();
        return;
    }
    modifier->UnlinkFromParent();
    modifier->DropTarget();
}

void AnimationTree::UpdateTree(int32_t elapsedMs) {
    if (IsCancelled() || IsHeld()) {
        return;
    }
    Modifier* entry = GetFirstChild();
    while (entry != nullptr) {
        // Held for its step, which may rearrange the tree around it.
        const Ref<Modifier> stepped(entry);
        const bool enter = StepEntry(*entry, elapsedMs);
        if (entry->GetTreeParent() == nullptr) {
            return;  // the step took it out of the tree; the walk goes on next frame
        }
        entry = enter ? entry->GetFirstChild() : NextAfterSubtree(entry);
    }
}

bool AnimationTree::StepEntry(Modifier& entry, int32_t elapsedMs) {
    if (entry.IsCancelled()) {
        return false;
    }
    if (!entry.IsHeld() && !entry.IsFinished()) {
        entry.Update(elapsedMs);
    }
    if (entry.IsCancelled() || !entry.IsFinished() || entry.GetFirstChild() == nullptr) {
        return false;
    }
    return !(entry.IsHeld() && entry.IsKindOf(&ModifierGroup::classInfo));
}

Modifier* AnimationTree::NextAfterSubtree(Modifier* entry) const {
    for (Modifier* m = entry; m != nullptr && m != this; m = m->GetTreeParent()) {
        if (m->GetNextSibling() != nullptr) {
            return m->GetNextSibling();
        }
    }
    return nullptr;
}

void AnimationTree::DeleteFinished() {
    DeleteWalk(*this);
}

void AnimationTree::DeleteWalk(Modifier& entry) {
    // The child and the sibling after it are held, since letting go of
    // entries can free nodes whose animations leave the tree in turn; an
    // entry that left meanwhile is not looked at again.
    Ref<Modifier> child(entry.GetFirstChild());
    while (child) {
        const Ref<Modifier> following(child->GetNextSibling());
        DeleteWalk(*child);
        if (child->GetTreeParent() == &entry) {
            if (child->IsCancelled()) {
                LetGo(*child);
            } else if (child->IsFinished() && !child->IsKindOf(&ModifierGroup::classInfo)) {
                RetireFinished(*child);
            }
        }
        if (following && following->GetTreeParent() != &entry) {
            return;
        }
        child = following;
    }
}

void AnimationTree::RetireFinished(Modifier& entry) {
    if (GameNode* target = entry.GetTarget()) {
        if (entry.HasOption(kStopEnclosingGroup)) {
            for (Modifier* m = entry.GetTreeParent(); m != nullptr && m->GetTreeParent() != nullptr;
                 m = m->GetTreeParent()) {
                if (m->IsKindOf(&ModifierGroup::classInfo)) {
                    m->SetCancelled(true);
                    break;
                }
            }
        }
        if (entry.HasOption(kRemoveNodeAtEnd)) {
            target->SetRemoved(true);
        }
        if (entry.HasOption(kReleasePreceding)) {
            target->RemoveAnimationsUpTo(&entry);
        }
    }
    SpliceOut(entry);
}

void AnimationTree::SpliceOut(Modifier& entry) {
    Modifier* const parent = entry.treeParent_;
    Modifier* const first = std::exchange(entry.firstChild_, nullptr);
    Modifier** link = &parent->firstChild_;
    while (*link != &entry) {
        link = &(*link)->nextSibling_;
    }
    if (first == nullptr) {
        *link = entry.nextSibling_;
    } else {
        Modifier* last = first;
        for (Modifier* m = first; m != nullptr; m = m->nextSibling_) {
            m->treeParent_ = parent;
            last = m;
        }
        last->nextSibling_ = entry.nextSibling_;
        *link = first;
    }
    entry.treeParent_ = nullptr;
    entry.nextSibling_ = nullptr;
    entry.DropTarget();
    entry.SetInTree(false);
    entry.Release();
}

void AnimationTree::LetGo(Modifier& entry) {
    entry.LeaveTree();
    entry.Release();
}
