#include "engine/scene/NodePlacement.h"

#include <cmath>

#include "engine/scene/GameNode.h"
#include "engine/scene/Sprite.h"

void ReparentKeepingPosition(GameNode& node, GameNode& newParent) {
    const int32_t dx = node.GetParentAbsoluteX() - newParent.GetAbsoluteX();
    const int32_t dy = node.GetParentAbsoluteY() - newParent.GetAbsoluteY();
    node.SetPosition(node.GetX() + dx, node.GetY() + dy);
    newParent.AddChild(&node);
}

void SetAnchorKindKeepingPlace(Sprite& sprite, int32_t kind) {
    const float oldX = sprite.GetAnchorX();
    const float oldY = sprite.GetAnchorY();
    sprite.SetAnchorKind(kind);
    sprite.SetPosition(sprite.GetX() + static_cast<int32_t>(std::trunc(sprite.GetAnchorX() - oldX)),
                       sprite.GetY() + static_cast<int32_t>(std::trunc(sprite.GetAnchorY() - oldY)));
}
