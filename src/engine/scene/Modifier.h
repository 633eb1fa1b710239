#pragma once

#include <cstdint>
#include <string>

#include "engine/foundation/Object.h"

class GameNode;

// A time-driven action on one node. It runs either in a node's own modifier
// list, where its options sequence it against its neighbours, or as an entry
// of a scene's animation tree, where a child starts once its parent has
// finished.
class Modifier : public Object {
    ENGINE_CLASS(Modifier, Object)

public:
    // Option bits.
    static constexpr uint32_t kBlockFollowing = 0x1;       // while unfinished, the modifiers behind it wait
    static constexpr uint32_t kRemoveNodeAtEnd = 0x2;      // finishing flags the target node for removal
    static constexpr uint32_t kReleasePreceding = 0x4;     // finishing ends the modifiers in front of it too
    static constexpr uint32_t kStopEnclosingGroup = 0x8;   // finishing in the tree stops the group around it
    static constexpr uint32_t kRemoveTargetOnDestroy = 0x10;  // leaving the tree flags the target for removal
    // State bits.
    static constexpr uint32_t kFinished = 0x1;

    Modifier() = default;
    Modifier(const Modifier&) = delete;
    Modifier& operator=(const Modifier&) = delete;
    ~Modifier() override;

    // One step of `elapsedMs` milliseconds; sets the finished bit when the action is over.
    virtual void Update(int32_t elapsedMs) = 0;
    virtual void SetTarget(GameNode* node) { target_ = node; }
    GameNode* GetTarget() const { return target_; }

    uint32_t GetOptions() const { return options_; }
    void SetOptions(uint32_t options) { options_ = options; }
    bool HasOption(uint32_t option) const { return (options_ & option) != 0; }
    uint32_t GetState() const { return state_; }
    void SetState(uint32_t state) { state_ = state; }
    bool IsFinished() const { return (state_ & kFinished) != 0; }
    void SetFinished() { state_ |= kFinished; }

    // A cancelled entry of the animation tree is skipped with its subtree
    // and let go by the tree's next delete walk.
    bool IsCancelled() const { return cancelled_; }
    void SetCancelled(bool cancelled) { cancelled_ = cancelled; }
    // The tree does not step a held entry; a held group holds its subtree back.
    bool IsHeld() const { return held_; }
    void SetHeld(bool held) { held_ = held; }

    const std::string& GetName() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    bool IsInTree() const { return inTree_; }
    void SetInTree(bool inTree) { inTree_ = inTree; }

    Modifier* GetTreeParent() const { return treeParent_; }
    Modifier* GetNextSibling() const { return nextSibling_; }
    Modifier* GetFirstChild() const { return firstChild_; }

private:
    friend class AnimationTree;
    friend class GameNode;

    // Takes the entry out of the tree when the tree lets go of it: a target
    // is flagged for removal under option 0x10, the entry leaves its parent
    // and its target's animation list, and its children are released.
    void LeaveTree();
    // Unlinks the entry from its parent's children; parent and next cleared.
    void UnlinkFromParent();
    // Leaves the target's animation list and forgets the target.
    void DropTarget();
    // Releases the children, each after its following siblings.
    void ReleaseChildren();

    GameNode* target_ = nullptr;
    uint32_t options_ = 0;
    uint32_t state_ = 0;
    bool cancelled_ = false;
    bool held_ = false;
    Modifier* treeParent_ = nullptr;
    Modifier* nextSibling_ = nullptr;
    Modifier* firstChild_ = nullptr;
    std::string name_;
    bool inTree_ = false;
};

// For a modifier on its way into a node's list, as in
// `node.AddModifier(Blocking(new ModifierWait(500)))`: each adds its option
// to those the modifier has and hands the modifier back.
Modifier* Blocking(Modifier* modifier);           // kBlockFollowing
Modifier* RemovingNodeAtEnd(Modifier* modifier);  // kRemoveNodeAtEnd

// Easing functions of the tweens, over t in 0..1.
using EasingFunction = float (*)(float t);
float LinearStep(float t);
// (3 - 2t) t t, computed as (3 - t - t) t t.
float Smoothstep(float t);

// The clock of a tween. Each update computes its value from the time
// accumulated before the frame, writes it, and only then adds the frame's
// time; once the accumulated time has reached the duration, the next update
// writes the end value and finishes. So the first update shows the start
// value.
class TweenClock {
public:
    explicit TweenClock(int32_t durationMs) : duration_(durationMs) {}

    // Whether the accumulated time has reached the duration; a duration of 0
    // or less has reached it from the start.
    bool HasReachedEnd() const { return elapsed_ >= duration_; }
    // The accumulated time over the duration, as a float quotient; 1 once
    // the end is reached.
    float Progress() const;
    // Adds a frame's time after the value was written; the sum stops at the
    // duration, so that a long run never overflows.
    void Advance(int32_t elapsedMs);

    int32_t Elapsed() const { return elapsed_; }
    int32_t Duration() const { return duration_; }

private:
    int32_t elapsed_ = 0;
    int32_t duration_;
};
