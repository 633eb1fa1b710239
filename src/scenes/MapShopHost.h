#pragma once

#include <cstdint>

#include "game/world/MapRefs.h"

class Button;
class GameNode;
class KR2Player;
class LabelTicker;
class MapRouteDots;
class Scene;
class Sprite;

// What the ticket panel and the track shop need from the map scene they
// serve: its layers, the player, the coin counter and its interaction state.
class MapShopHost {
public:
    // The map's interaction states the panel and the shop set.
    static constexpr int32_t kIdle = 0;
    static constexpr int32_t kBuyQuestion = 3;
    static constexpr int32_t kTicketDialog = 6;

    virtual ~MapShopHost() = default;

    virtual Scene& HostScene() = 0;
    // The node whose modifier list times the steps after a purchase.
    virtual GameNode& SequenceNode() = 0;
    // The current player, or null.
    virtual KR2Player* Player() const = 0;
    // Where the train stands.
    virtual CityRef CurrentCity() const = 0;
    virtual int32_t ShownSection() const = 0;
    virtual int32_t State() const = 0;
    virtual void SetState(int32_t state) = 0;
    // The sprite whose picture receives the stamps, or null.
    virtual Sprite* Overlay() const = 0;
    virtual LabelTicker* CoinsLabel() const = 0;
    virtual Button* MenuButton() const = 0;
    // The parent of the route dots.
    virtual GameNode* HighlightNode() const = 0;
    // The node holding a section's assets and stations, or null.
    virtual GameNode* AssetsNode(int32_t section) const = 0;
    // The dots along the routes the panel shows.
    virtual MapRouteDots& RouteDots() = 0;
    // Shows the shown section, baked into one picture when `composite`.
    virtual void ShowSection(bool composite) = 0;
    // The presentation of a section whose last track was just bought.
    virtual void OnSectionCleared() = 0;
    // The section arrows.
    virtual void ShowNextSection() = 0;
    virtual void ShowPreviousSection() = 0;
};
