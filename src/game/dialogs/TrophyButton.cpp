#include "game/dialogs/TrophyButton.h"

#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/SectionManager.h"
#include "engine/media/ChannelMap.h"
#include "engine/media/ImageTools.h"
#include "engine/media/Surface.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/ui/ControlSupport.h"
#include "game/words/TicketConstants.h"

namespace {

constexpr int32_t kStarFrames = 5;
constexpr int32_t kStarFrameMs = 30;
constexpr uint8_t kOpaque = 0x80;
constexpr int32_t kAlphaChannel = 0;

Surface* TrophyImage(const std::string& name) {
    SectionManager* sections = SectionManager::Instance();
    if (name.empty() || sections == nullptr) {
        return nullptr;
    }
    auto* image = ObjectCast<Surface>(sections->GetLoadedResource(name, "trophy"));
    if (image == nullptr) {
        ENGINE_LOG(1, "TrophyButton: no picture \"%s\" in section \"trophy\"", name.c_str());
    }
    return image;
}

}  // namespace

TrophyButton::TrophyButton(int32_t trophy, int32_t x, int32_t y) : Button(x, y, nullptr, nullptr, nullptr) {
    const Property* entry = Property::At(ticket_constants::List("TROPHY_DIALOG_BUTTONS"), trophy);
    const auto anchorX = static_cast<float>(Property::AsInt(Property::Child(entry, "aX")));
    const auto anchorY = static_cast<float>(Property::AsInt(Property::Child(entry, "aY")));

    star_ = new Sprite(0, 0, TrophyImage(Property::AsString(Property::Child(entry, "star"))));
    star_->SetFrameCount(kStarFrames, false);
    star_->SetAnchorKind(Sprite::kCenter);
    GameNode::AddChild(star_.Get());

    Surface* picture = TrophyImage(Property::AsString(Property::Child(entry, "button")));
    picture_ = new Sprite(0, 0, picture);
    picture_->SetAnchorPoint(anchorX, anchorY);
    GameNode::AddChild(picture_.Get());

    SetAnchorPoint(anchorX, anchorY);
    SetSize(picture_->GetWidth(), picture_->GetHeight());
    if (picture != nullptr) {
        hitMask_ = ExtractChannelMap(*picture, kAlphaChannel);
    }
}

TrophyButton::~TrophyButton() = default;

bool TrophyButton::HitTest(int32_t x, int32_t y) const {
    // A trophy not won is drawn fully transparent: blank parchment takes no mouse.
    if (!hitMask_ || GetAlpha() == 0) {
        return false;
    }
    const int32_t localX = TruncateToInt(static_cast<double>(x) - GetAbsoluteX() + GetAnchorX());
    const int32_t localY = TruncateToInt(static_cast<double>(y) - GetAbsoluteY() + GetAnchorY());
    // The mask is the picture's size, which may differ from the button's.
    if (localX < 0 || localY < 0 || localX >= hitMask_->GetWidth() || localY >= hitMask_->GetHeight()) {
        return false;
    }
    return hitMask_->GetBytes()[static_cast<size_t>(localY) * static_cast<size_t>(hitMask_->GetWidth()) +
                                static_cast<size_t>(localX)] > kOpaque;
}

void TrophyButton::SetState(int32_t state) {
    if (state != GetState()) {
        if (state == kNormal) {
            star_->ClearModifiers();
            star_->SetFrame(0);
        } else if (state == kOver && !star_->HasModifiers()) {
            star_->AddModifier(new ModifierFrame(ModifierFrame::kEndless, kStarFrameMs));
        }
    }
    Button::SetState(state);
}

void TrophyButton::SetAlpha(int32_t alpha) {
    Button::SetAlpha(alpha);
    star_->SetAlpha(alpha);
    picture_->SetAlpha(alpha);
}
