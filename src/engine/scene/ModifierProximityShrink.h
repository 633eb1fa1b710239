#pragma once

#include "engine/foundation/Ref.h"
#include "engine/media/Rect.h"
#include "engine/scene/GameNode.h"
#include "engine/scene/Modifier.h"

// Shrinks the target sprite while a watched node comes near it: inside the
// radius the scale falls with the squared distance, down to the minimum at
// distance 0. The scale only ever shrinks; it never finishes by itself.
class ModifierProximityShrink : public Modifier {
    ENGINE_CLASS(ModifierProximityShrink, Modifier)

public:
    ModifierProximityShrink(GameNode* watched, float radius, float minimumScale, PointF offset)
        : watched_(watched), radius_(radius), minimumScale_(minimumScale), offset_(offset) {}

    void Update(int32_t elapsedMs) override;

private:
    Ref<GameNode> watched_;
    float radius_;
    float minimumScale_;
    PointF offset_;
};
