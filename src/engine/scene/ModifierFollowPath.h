#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/media/Rect.h"
#include "engine/scene/Modifier.h"
#include "engine/scene/Path.h"

// Moves its target along a path at constant speed, from a start point to the
// path's last point, in a given time.
class ModifierFollowPath : public Modifier {
    ENGINE_CLASS(ModifierFollowPath, Modifier)

public:
    ModifierFollowPath(Path* path, int32_t startIndex, int32_t durationMs, bool moveX = true, bool moveY = true);

    void Update(int32_t elapsedMs) override;

private:
    // Walks on from the current segment to the one holding `distance` and
    // places the position there.
    void WalkTo(double distance);
    int32_t NextIndex(int32_t index) const;
    void MoveTarget() const;

    Ref<Path> path_;
    double pathLength_;
    PointF position_;
    int32_t segmentIndex_;
    double segmentStart_ = 0.0;
    TweenClock clock_;
    bool moveX_;
    bool moveY_;
};
