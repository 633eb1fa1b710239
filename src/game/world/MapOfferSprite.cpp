#include "game/world/MapOfferSprite.h"

#include "game/constants/GameConstants.h"
#include "game/world/MapSpriteHost.h"

namespace {

constexpr uint32_t kLeftButtonHeld = 0x1;

}  // namespace

MapOfferSprite::MapOfferSprite(MapSpriteHost* host)
    : Button(0, 0, nullptr, nullptr, nullptr), host_(host), attentionTimer_(TICKET_ANIM_DURATION) {
    StandOnBottomCentre();
}

MapOfferSprite::MapOfferSprite(Property* definition) : Button(definition), attentionTimer_(TICKET_ANIM_DURATION) {
    StandOnBottomCentre();
}

void MapOfferSprite::StandOnBottomCentre() {
    SetAnchorKind(kBottom);
    SetPivotFollowsAnchor(false);
    SetPivotKind(kCenter);
}

void MapOfferSprite::Update(int32_t elapsedMs) {
    Button::Update(elapsedMs);
    attentionTimer_ -= elapsedMs;
    if (attentionTimer_ > 0) {
        return;
    }
    attentionTimer_ = TICKET_ANIM_DURATION;
    if (host_ != nullptr && host_->InteractionState() == MapSpriteHost::kIdle && GetCurrentFrame() == 0) {
        SetPivotKind(kCenter);
        host_->PlayWobble(*this);
    }
}

bool MapOfferSprite::OverHighlight(int32_t x, int32_t y) const {
    return highlight_ && highlight_->HitTest(x, y);
}

bool MapOfferSprite::OnMouseMove(int32_t x, int32_t y, uint32_t flags) {
    if (!highlight_ || highlight_->GetCurrentFrame() == kHighlightPressed) {
        return false;
    }
    const bool handled = Button::OnMouseMove(x, y, flags);
    const bool over = OverHighlight(x, y);
    if ((flags & kLeftButtonHeld) == 0) {
        highlight_->SetFrame(over ? kHighlightOver : kHighlightOff);
    } else if (over && highlight_->GetCurrentFrame() == kHighlightOver) {
        highlight_->SetFrame(kHighlightPressed);
    }
    // Hovering either lights both.
    if (GetState() == kOver) {
        highlight_->SetFrame(kHighlightOver);
    } else if (highlight_->GetCurrentFrame() == kHighlightOver) {
        SetState(kOver);
    }
    return handled;
}

bool MapOfferSprite::OnLButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick) {
    const bool byButton = Button::OnLButtonDown(x, y, flags, doubleClick);
    if (!byButton && !OverHighlight(x, y)) {
        return false;
    }
    if (highlight_) {
        highlight_->SetFrame(kHighlightPressed);
    }
    SetState(kPressed);
    return true;
}

bool MapOfferSprite::OnLButtonUp(int32_t x, int32_t y, uint32_t flags) {
    const bool byButton = Button::OnLButtonUp(x, y, flags);
    const bool onHighlight = OverHighlight(x, y) && highlight_->GetCurrentFrame() == kHighlightPressed;
    const bool handled = Activate(byButton, onHighlight);
    if (highlight_) {
        highlight_->SetFrame(kHighlightOff);
        SetState(kNormal);
    }
    return handled;
}
