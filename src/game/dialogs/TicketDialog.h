#pragma once

#include <cstdint>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/ui/Dialog.h"

class Sprite;
class TicketInfo;
class TicketSprite;

// The enlarged ticket on the map: it grows out of the ticket sprite that
// opened it into a card with the game type's background, the passengers and
// the trip's distance, and shrinks back into the ticket when closed. One
// instance per scene, reused for every ticket.
class TicketDialog : public Dialog {
    ENGINE_CLASS(TicketDialog, Dialog)

public:
    // The card's size while it sits on the ticket.
    static constexpr int32_t kClosedWidth = 109;
    static constexpr int32_t kClosedHeight = 52;
    static constexpr int32_t kPassengerSlots = 5;

    explicit TicketDialog(Property* definition);

    // The opener sets the ticket before showing the dialog; the dialog keeps
    // it alive while it may still animate it.
    void SetTicketSprite(TicketSprite* sprite) { ticketSprite_ = sprite; }
    TicketSprite* GetTicketSprite() const { return ticketSprite_.Get(); }

    void OnShow() override;
    // Shrinks the card back into its ticket, then leaves the scene.
    static void Close(TicketDialog* dialog);

    // Background, passengers and distance text of the ticket.
    static void Fill(const TicketInfo& ticket, TicketDialog* dialog);
    // Crops the card to the ticket, fills it and places it beside the ticket
    // where it fits on screen, with both crops growing from the corner where
    // they meet.
    static void PlaceAt(TicketDialog* dialog);

    const std::vector<Ref<Sprite>>& GetPassengerSprites() const { return passengers_; }

private:
    void ReplacePassengers(const TicketInfo& ticket);

    Ref<TicketSprite> ticketSprite_;
    std::vector<Ref<Sprite>> passengers_;
};
