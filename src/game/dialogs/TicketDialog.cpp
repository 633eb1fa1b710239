#include "game/dialogs/TicketDialog.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierCropSize.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/SceneResources.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/ControlSupport.h"
#include "engine/ui/Label.h"
#include "game/constants/GameConstants.h"
#include "game/world/SectionList.h"
#include "game/world/TicketSprite.h"
#include "game/world/TrackInfo.h"

namespace {

const ClassRegistration registration("TicketDialog", CreateFromProperty<TicketDialog>);

constexpr const char* kMapSection = "mapscene";
constexpr int32_t kFirstPassengerX = 110;
constexpr int32_t kPassengerSpacing = 13;
constexpr int32_t kPassengerBottom = 55;
// The card must keep this far from the screen's right and top edges.
constexpr int32_t kRightLimit = 780;
constexpr int32_t kTopLimit = 20;
// The card starts growing from a little less than the closed ticket.
constexpr int32_t kOpenStartWidth = 100;
constexpr int32_t kOpenStartHeight = 50;
// The ticket grows under the card to frame it.
constexpr int32_t kTicketFrameWidth = 10;
constexpr int32_t kTicketFrameHeight = 14;

Ref<Surface> FindMapImage(const std::string& name) {
    const Ref<Object> data = FindResourceData(name, kMapSection);
    return ObjectCast<Surface>(data.Get());
}

// The ticket track's length class, 0 when the track is not on the map.
int32_t DistanceOf(const TicketInfo& ticket) {
    const SectionList* map = SectionList::Instance();
    const TrackInfo* track = map != nullptr ? map->FindTrack(TrackRef{ticket.Track, ticket.Section}) : nullptr;
    return track != nullptr ? track->lengthClass : 0;
}

void SetCropAnchor(Sprite& sprite, int32_t x, int32_t y) {
    sprite.SetPivotFollowsAnchor(false);
    sprite.SetPivotKind(Sprite::kExplicitPoint);
    sprite.SetPivotPoint(static_cast<float>(x), static_cast<float>(y));
}

}  // namespace

TicketDialog::TicketDialog(Property* definition) : Dialog(definition) {}

void TicketDialog::OnShow() {
    Dialog::OnShow();
    SetLayoutDirty();
    SetActive(true);
    PlaceAt(this);
    PlayControlSound("SOUND_TICKET_OPENED", kMapSection);
    AddModifier(Ref<Modifier>(new ModifierValue(0, 255, TICKET_DIALOG_POPUP_TIME)).Get());
    AddModifier(Ref<Modifier>(new ModifierCropSize(kOpenStartWidth, kOpenStartHeight, GetWidth(), GetHeight(),
                                                   TICKET_DIALOG_POPUP_TIME))
                    .Get());
    if (ticketSprite_) {
        ticketSprite_->AddModifier(
            Ref<Modifier>(new ModifierCropSize(ticketSprite_->GetWidth(), ticketSprite_->GetHeight(),
                                               GetWidth() + kTicketFrameWidth, GetHeight() + kTicketFrameHeight,
                                               TICKET_DIALOG_POPUP_TIME))
                .Get());
    }
}

void TicketDialog::Close(TicketDialog* dialog) {
    if (dialog == nullptr) {
        return;
    }
    PlayControlSound("SOUND_TICKET_CLOSED", kMapSection);
    dialog->AddModifier(Ref<Modifier>(new ModifierValue(255, 0, TICKET_DIALOG_POPUP_TIME)).Get());
    const Ref<Modifier> shrink(new ModifierCropSize(dialog->GetWidth(), dialog->GetHeight(), kClosedWidth,
                                                    kClosedHeight, TICKET_DIALOG_POPUP_TIME));
    shrink->SetOptions(Modifier::kBlockFollowing);
    dialog->AddModifier(shrink.Get());
    if (TicketSprite* ticket = dialog->ticketSprite_.Get()) {
        ticket->AddModifier(Ref<Modifier>(new ModifierCropSize(
                                              dialog->GetWidth() + kTicketFrameWidth,
                                              dialog->GetHeight() + kTicketFrameHeight, ticket->GetWidth(),
                                              ticket->GetHeight(), TICKET_DIALOG_POPUP_TIME))
                                .Get());
    }
    dialog->AddModifier(Ref<Modifier>(new ModifierCallback(
                                          [](uint32_t, GameNode* target) {
                                              // Keeps the dialog alive through its removal from the scene.
                                              const Ref<GameNode> keep(target);
                                              Dialog::CloseDialog(ObjectCast<Dialog>(target));
                                          },
                                          0))
                            .Get());
}

void TicketDialog::Fill(const TicketInfo& ticket, TicketDialog* dialog) {
    if (dialog == nullptr) {
        return;
    }
    const Ref<Surface> background = FindMapImage("DIALOG_TICKET_" + std::to_string(ticket.GameType));
    if (background.Get() != dialog->GetBackground()) {
        dialog->SetBackground(background.Get());
        dialog->SetLayoutDirty();
        dialog->SetDirty(true);
    }
    dialog->ReplacePassengers(ticket);
    if (auto* distance = ObjectCast<Label>(dialog->FindChild("LABEL_DISTANCE_LEFT"))) {
        const Defines* defines = Defines::Instance();
        distance->SetText(defines != nullptr
                              ? defines->GetText("TEXT_TICKET_DISTANCE" + std::to_string(DistanceOf(ticket)))
                              : std::wstring());
    }
    dialog->SetDirty(true);
}

void TicketDialog::ReplacePassengers(const TicketInfo& ticket) {
    // A reused card would otherwise pile a new row of seats on the old ones.
    for (const Ref<Sprite>& old : passengers_) {
        RemoveChild(old.Get());
    }
    passengers_.clear();
    const auto names = TicketSprite::PassengerIconNames(ticket);
    for (int32_t i = 0; i < kPassengerSlots; ++i) {
        Ref<Sprite> seat(new Sprite);
        if (const Ref<Surface> image = FindMapImage(names[static_cast<size_t>(i)])) {
            seat->SetImage(image.Get());
        }
        seat->SetAnchorKind(Sprite::kBottomLeft);
        seat->SetPivotKind(Sprite::kBottomLeft);
        seat->SetPosition(kFirstPassengerX + i * kPassengerSpacing, kPassengerBottom);
        AddChild(seat.Get());
        passengers_.push_back(seat);
    }
}

void TicketDialog::PlaceAt(TicketDialog* dialog) {
    if (dialog == nullptr) {
        return;
    }
    dialog->SetCropWidth(kClosedWidth);
    dialog->SetCropHeight(kClosedHeight);
    dialog->SetAlpha(0);
    TicketSprite* ticket = dialog->ticketSprite_.Get();
    if (ticket == nullptr || ticket->GetTicket() == nullptr) {
        return;
    }
    Fill(*ticket->GetTicket(), dialog);

    const int32_t x = ticket->GetAbsoluteX();
    const int32_t y = ticket->GetAbsoluteY();
    const int32_t left = x - ticket->GetWidth() / 2;
    const int32_t right = x + ticket->GetWidth() / 2;
    const int32_t top = y - ticket->GetHeight();
    const int32_t bottom = y;
    const int32_t width = dialog->GetWidth();
    const int32_t height = dialog->GetHeight();
    const bool fitsRight = left + width <= kRightLimit;
    const bool fitsAbove = bottom - height >= kTopLimit;

    dialog->SetPosition(fitsRight ? left - 1 : right - width - 1, fitsAbove ? bottom - height + 3 : top + 2);
    // The corner at which card and ticket meet stays put while both grow.
    SetCropAnchor(*dialog, fitsRight ? 6 : width, fitsAbove ? 114 : 0);
    SetCropAnchor(*ticket, fitsRight ? (fitsAbove ? 8 : 9) : 113, fitsAbove ? 51 : 2);
}
