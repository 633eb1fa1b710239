#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/foundation/Ref.h"
#include "game/words/TicketInfo.h"
#include "game/world/MapOfferSprite.h"

class CityInfo;
class SectionList;

// An offered ticket on the map, standing at the city it leads to, with its
// passengers drawn into its button frames. A click opens the ticket dialog.
class TicketSprite : public MapOfferSprite {
    ENGINE_CLASS(TicketSprite, MapOfferSprite)

public:
    static constexpr int32_t kPassengerSlots = 5;

    explicit TicketSprite(MapSpriteHost* host) : MapOfferSprite(host) {}
    explicit TicketSprite(Property* definition) : MapOfferSprite(definition) {}

    // Shows the ticket: its game type's picture with the passenger icons,
    // placed at the ticket's destination.
    void SetTicket(TicketInfo* ticket, const SectionList& map);
    TicketInfo* GetTicket() const { return ticket_.Get(); }
    void OpenTicketDialog();

    // Passengers the ticket's rating earns: a sixth of a point each, five at most.
    static int32_t PassengerCount(const TicketInfo& ticket);
    // The picture of each passenger slot: the passenger's for an earned seat,
    // the empty seat's otherwise.
    static std::array<std::string, kPassengerSlots> PassengerIconNames(const TicketInfo& ticket);
    // The city the ticket leads to: the end of its track away from the one
    // its City value names. Null when the ticket's track is not on the map.
    static CityInfo* Destination(const TicketInfo& ticket, const SectionList& map);

protected:
    bool Activate(bool byButton, bool onHighlight) override;

private:
    void BakePassengerIcons(const TicketInfo& ticket);

    Ref<TicketInfo> ticket_;
};
