#include "engine/scene/ModifierVisibility.h"

#include "engine/scene/GameNode.h"

void ModifierVisibility::Update(int32_t) {
    SetFinished();
    GameNode* target = GetTarget();
    if (target == nullptr) {
        return;
    }
    switch (mode_) {
        case kHide:
            target->SetVisible(false);
            break;
        case kShow:
            target->SetVisible(true);
            break;
        default:
            target->SetVisible(!target->IsVisible());
            break;
    }
}
