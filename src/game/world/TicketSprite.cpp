#include "game/world/TicketSprite.h"

#include <algorithm>

#include "engine/foundation/ClassFactory.h"
#include "engine/media/Canvas.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/SceneResources.h"
#include "game/world/MapSpriteHost.h"
#include "game/world/SectionList.h"

namespace {

constexpr const char* kMapSection = "mapscene";
constexpr int32_t kFirstIconX = -30;
constexpr int32_t kIconSpacing = 13;
constexpr int32_t kIconBottom = -11;
constexpr int32_t kButtonFrames = 3;

const ClassRegistration registration("TicketSprite", CreateFromProperty<TicketSprite>);

Ref<Surface> FindMapImage(const std::string& name) {
    const Ref<Object> data = FindResourceData(name, kMapSection);
    return ObjectCast<Surface>(data.Get());
}

}  // namespace

int32_t TicketSprite::PassengerCount(const TicketInfo& ticket) {
    const auto earned = static_cast<int32_t>(std::max(0.0f, ticket.Rating) * 6.0f);
    return std::min(earned, kPassengerSlots);
}

std::array<std::string, TicketSprite::kPassengerSlots> TicketSprite::PassengerIconNames(const TicketInfo& ticket) {
    const std::string type = std::to_string(ticket.GameType);
    const int32_t passengers = PassengerCount(ticket);
    std::array<std::string, kPassengerSlots> names;
    for (int32_t i = 0; i < kPassengerSlots; ++i) {
        names[static_cast<size_t>(i)] =
            i < passengers ? type + "_PASSENGER" + std::to_string(ticket.Passengers[static_cast<size_t>(i)])
                           : type + "_PASSENGER_EMPTY";
    }
    return names;
}

CityInfo* TicketSprite::Destination(const TicketInfo& ticket, const SectionList& map) {
    const TrackInfo* track = map.FindTrack(TrackRef{ticket.Track, ticket.Section});
    if (track == nullptr) {
        return nullptr;
    }
    return map.FindCity(track->ends[ticket.City == 0 ? 1 : 0]);
}

void TicketSprite::SetTicket(TicketInfo* ticket, const SectionList& map) {
    ticket_ = ticket;
    if (ticket == nullptr) {
        return;
    }
    if (const Ref<Surface> image = FindMapImage("TICKET_" + std::to_string(ticket->GameType))) {
        SetImage(image.Get());
        BakePassengerIcons(*ticket);
    }
    if (const CityInfo* city = Destination(*ticket, map)) {
        SetPosition(city->ticketX, city->ticketY);
    }
}

void TicketSprite::BakePassengerIcons(const TicketInfo& ticket) {
    const Ref<MemorySurface> copy = CloneSurface(*GetImage());
    Ref<Canvas> canvas = copy->CreateCanvas();
    const auto names = PassengerIconNames(ticket);
    const auto originX = static_cast<int32_t>(GetAnchorX());
    const auto originY = static_cast<int32_t>(GetAnchorY());
    for (int32_t frame = 0; frame < kButtonFrames; ++frame) {
        const int32_t top = originY + frame * GetHeight();
        for (int32_t i = 0; i < kPassengerSlots; ++i) {
            const Ref<Surface> icon = FindMapImage(names[static_cast<size_t>(i)]);
            if (icon) {
                // Icons stand on their bottom-left corner.
                canvas->Blit(*icon, originX + kFirstIconX + i * kIconSpacing, top + kIconBottom - icon->GetHeight());
            }
        }
    }
    SetImage(copy.Get());
    SetDirty(true);
}

void TicketSprite::OpenTicketDialog() {
    if (ticket_ && Host() != nullptr) {
        Host()->OpenTicketDialog(*ticket_);
    }
}

bool TicketSprite::Activate(bool byButton, bool onHighlight) {
    if (!byButton && !onHighlight) {
        return false;
    }
    OpenTicketDialog();
    return true;
}
