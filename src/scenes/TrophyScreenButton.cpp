#include "scenes/TrophyScreenButton.h"

#include "engine/scene/ModifierFrame.h"

TrophyScreenButton::TrophyScreenButton(Sprite* star, Sprite* trophy, Surface* hitMask)
    : Button(star->GetAbsoluteX(), star->GetAbsoluteY(), nullptr, nullptr, nullptr), star_(star), trophy_(trophy) {
    SetSize(star->GetWidth(), star->GetHeight());
    SetHitMask(hitMask);
}

void TrophyScreenButton::SetState(int32_t state) {
    if (state == GetState()) {
        return;
    }
    switch (state) {
        case kNormal:
            star_->ClearModifiers();
            star_->SetFrame(0);
            trophy_->SetFrame(0);
            break;
        case kOver:
            // Hovering again while the star spins must not stack a second spin.
            if (!star_->HasModifiers()) {
                const Ref<Modifier> spin(new ModifierFrame(-1, kStarFrameMs));
                star_->AddModifier(spin.Get());
            }
            trophy_->SetFrame(1);
            break;
        case kPressed: trophy_->SetFrame(2); break;
        default: break;
    }
    Button::SetState(state);
}
