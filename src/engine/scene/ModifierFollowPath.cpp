#include "engine/scene/ModifierFollowPath.h"

#include <algorithm>

#include "engine/media/Canvas.h"
#include "engine/scene/GameNode.h"
#include "engine/scene/Geometry.h"

ModifierFollowPath::ModifierFollowPath(Path* path, int32_t startIndex, int32_t durationMs, bool moveX, bool moveY)
    : path_(path != nullptr ? path : new Path),
      pathLength_(path_->GetLength()),
      segmentIndex_(std::clamp(startIndex, 0, std::max(path_->Count() - 1, 0))),
      clock_(durationMs),
      moveX_(moveX),
      moveY_(moveY) {
    if (path_->Count() > 0) {
        position_ = path_->Point(segmentIndex_);
    }
}

int32_t ModifierFollowPath::NextIndex(int32_t index) const {
    if (index + 1 < path_->Count()) {
        return index + 1;
    }
    return path_->IsClosed() ? 0 : index;
}

void ModifierFollowPath::WalkTo(double distance) {
    // Each segment is passed at most once per update, so rounding can never
    // keep the walk going round a closed path.
    for (int32_t walked = 0; walked < path_->Count(); ++walked) {
        const int32_t next = NextIndex(segmentIndex_);
        if (next == segmentIndex_) {
            position_ = path_->Point(segmentIndex_);
            return;
        }
        const PointF from = path_->Point(segmentIndex_);
        const PointF to = path_->Point(next);
        const double length = LengthOf(to - from);
        if (distance <= segmentStart_ + length) {
            if (length > 0.0) {
                const auto along = static_cast<float>((distance - segmentStart_) / length);
                position_ = from + (to - from) * along;
            }
            return;
        }
        segmentStart_ += length;
        segmentIndex_ = next;
    }
}

void ModifierFollowPath::MoveTarget() const {
    GameNode* target = GetTarget();
    if (target == nullptr) {
        return;
    }
    if (moveX_) {
        target->SetX(RoundToInt(position_.x));
    }
    if (moveY_) {
        target->SetY(RoundToInt(position_.y));
    }
}

void ModifierFollowPath::Update(int32_t elapsedMs) {
    if (clock_.HasReachedEnd()) {
        if (path_->Count() > 0) {
            position_ = path_->Last();
        }
        MoveTarget();
        SetFinished();
        return;
    }
    WalkTo(static_cast<double>(clock_.Elapsed()) / clock_.Duration() * pathLength_);
    MoveTarget();
    clock_.Advance(elapsedMs);
}
