#pragma once

#include <cstdint>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/scene/Path.h"
#include "engine/ui/ControlCallback.h"
#include "game/world/MapRefs.h"
#include "game/world/MapSpriteHost.h"
#include "scenes/MapTicketPanel.h"
#include "scenes/MapTrackShop.h"

class Button;
class CityInfo;
class InputListener;
class KR2Player;
class MapShopHost;
class SectionList;
class Sprite;
class TicketDialog;
class TicketInfo;
class TicketSprite;
class TrackInfoSprite;

// The map's ticket panel: what the map offers around the train: a ticket at the far end of every
// bought track that leaves the train's city, a price sign on every track
// still for sale, a row of moving dots along each, and the arrows to the
// neighbouring sections. Clicking a ticket opens its dialog; playing it
// leaves for the game.
class MapOfferPanel : public MapTicketPanel, public MapSpriteHost {
public:
    static constexpr float kDotSpacing = 30.0f;
    // A route shorter than this carries no dot.
    static constexpr float kDotlessEnd = 19.0f;
    static constexpr int32_t kFadeMs = 300;

    // An offer of the panel: a ticket on a bought track, or, without a
    // ticket, the price sign of a track for sale.
    struct Offer {
        TrackRef track;
        Ref<TicketInfo> ticket;
    };
    struct Plan {
        std::vector<Offer> offers;
        bool nextArrow = false;
        bool previousArrow = false;
    };

    explicit MapOfferPanel(MapShopHost& host);
    ~MapOfferPanel() override;
    MapOfferPanel(const MapOfferPanel&) = delete;
    MapOfferPanel& operator=(const MapOfferPanel&) = delete;

    // The offers at `city`, from the player's offered tickets, in the
    // section's track order; signs only once the player has played a game.
    static Plan PlanAt(const SectionList& map, const KR2Player& player, CityRef city);
    // The dots a route of that length carries, 30 px apart from its start.
    static int32_t DotCount(double length);
    // The path as the train at `city` sees it: reversed when it starts away
    // from the city's position.
    static Ref<Path> CurveFromCity(const Path& path, const CityInfo* city);

    // The handler a price sign runs when clicked, with its context.
    void SetBuyHandler(ControlCallback::Function function, void* context);

    // Rebuilds the panel around the train's city.
    void Show(bool fade) override;
    // Takes every offer and both arrows away (fading when `fade`), the routes
    // too, and enables the menu button.
    void Clear(bool fade) override;
    // Stamps a bought track and its cities onto the map, without payment.
    void DrawBoughtTrack(TrackRef track) override;
    // Lights the route of the offer under the mouse, darkening the others
    // the walk passes first.
    void OnMouseMove(int32_t x, int32_t y) override;
    void ClearRoutes();
    // Lays the dots of the track's route.
    void ShowRoute(TrackRef track);
    void HighlightRoute(TrackRef track, bool on);
    // Takes the tickets away at once.
    void RemoveTicketSprites();
    // Input of every ticket and price sign.
    void SetOffersInputEnabled(bool enabled);

    // What the offers ask while they show: the map's state, the wobble.
    int32_t InteractionState() const override;
    void PlayWobble(Sprite& sprite) override;
    // Makes the ticket the player's current one and opens its dialog, grown
    // out of the ticket's sprite.
    void OpenTicketDialog(TicketInfo& ticket) override;
    // The play button of the ticket dialog: leaves for the game.
    void PlayTicket();

    const std::vector<Ref<TicketSprite>>& TicketSprites() const { return tickets_; }
    const std::vector<Ref<TrackInfoSprite>>& TrackInfoSprites() const { return signs_; }
    Button* NextSectionButton() const { return nextArrow_.Get(); }
    Button* PreviousSectionButton() const { return previousArrow_.Get(); }
    const std::vector<TrackRef>& RouteTracks() const { return routeTracks_; }
    MapTrackShop& Shop() { return shop_; }

private:
    void AddTicket(const Offer& offer, const SectionList& map);
    void AddSign(const Offer& offer, const SectionList& map, int32_t section);
    void AddArrows(const Plan& plan);
    Button* MakeArrow(int32_t x, const char* image, int32_t anchor, ControlCallback::Function function);
    // Takes the offer out of the scene's and the open hint's listeners.
    void StopListening(InputListener* offer);
    // Takes the offer's input out of the scene and removes it.
    void DropOffer(Sprite& sprite, bool fade);
    int32_t RouteOf(TrackRef track) const;

    static int32_t OnNextArrow(void* panel, GameNode*);
    static int32_t OnPreviousArrow(void* panel, GameNode*);
    static int32_t OnDialogPlay(void* panel, GameNode*);
    static int32_t OnDialogCancel(void* panel, GameNode*);

    MapShopHost& host_;
    std::vector<Ref<TicketSprite>> tickets_;
    std::vector<Ref<TrackInfoSprite>> signs_;
    Ref<Button> nextArrow_;
    Ref<Button> previousArrow_;
    // The track of each route laid, in the order of the scene's route dots.
    std::vector<TrackRef> routeTracks_;
    std::vector<bool> routeLit_;
    ControlCallback::Function buyFunction_ = nullptr;
    void* buyContext_ = nullptr;
    Ref<TicketDialog> ticketDialog_;
    MapTrackShop shop_;
};
