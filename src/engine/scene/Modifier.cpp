#include "engine/scene/Modifier.h"

#include <vector>

#include "engine/scene/GameNode.h"

Modifier::~Modifier() {
    LeaveTree();
    // A modifier taken out of the tree by other means may still be listed
    // at its target.
    if (target_ != nullptr) {
        target_->RemoveAnimation(this);
    }
}

void Modifier::LeaveTree() {
    if (!inTree_) {
        return;
    }
    inTree_ = false;
    if (HasOption(kRemoveTargetOnDestroy) && target_ != nullptr) {
        target_->SetRemoved(true);
    }
    UnlinkFromParent();
    DropTarget();
    ReleaseChildren();
}

void Modifier::UnlinkFromParent() {
    if (treeParent_ != nullptr) {
        if (treeParent_->firstChild_ == this) {
            treeParent_->firstChild_ = nextSibling_;
        } else {
            for (Modifier* m = treeParent_->firstChild_; m != nullptr; m = m->nextSibling_) {
                if (m->nextSibling_ == this) {
                    m->nextSibling_ = nextSibling_;
                    break;
                }
            }
        }
    }
    treeParent_ = nullptr;
    nextSibling_ = nullptr;
}

void Modifier::DropTarget() {
    if (target_ != nullptr) {
        target_->RemoveAnimation(this);
        target_ = nullptr;
    }
}

void Modifier::ReleaseChildren() {
    std::vector<Modifier*> children;
    for (Modifier* m = std::exchange(firstChild_, nullptr); m != nullptr; m = m->nextSibling_) {
        children.push_back(m);
    }
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        Modifier* child = *it;
        child->treeParent_ = nullptr;
        child->nextSibling_ = nullptr;
        child->Release();
    }
}

Modifier* Blocking(Modifier* modifier) {
    modifier->SetOptions(modifier->GetOptions() | Modifier::kBlockFollowing);
    return modifier;
}

Modifier* RemovingNodeAtEnd(Modifier* modifier) {
    modifier->SetOptions(modifier->GetOptions() | Modifier::kRemoveNodeAtEnd);
    return modifier;
}

float LinearStep(float t) {
    return t;
}

float Smoothstep(float t) {
    // The constant is a double, so the product is formed in double precision.
    return static_cast<float>((3.0 - t - t) * t * t);
}

float TweenClock::Progress() const {
    if (HasReachedEnd()) {
        return 1.0f;
    }
    return static_cast<float>(elapsed_) / static_cast<float>(duration_);
}

void TweenClock::Advance(int32_t elapsedMs) {
    if (elapsedMs <= 0 || HasReachedEnd()) {
        return;
    }
    elapsed_ = elapsedMs >= duration_ - elapsed_ ? duration_ : elapsed_ + elapsedMs;
}
