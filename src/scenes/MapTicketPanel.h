#pragma once

#include <cstdint>
#include <memory>

#include "game/world/MapRefs.h"

class MapScene;

// The part of the map that offers the player's next moves: the tickets on
// the bought tracks around the train's city, the tracks for sale with their
// buying, the routes of dots and the section arrows. The map scene owns one
// and calls it at the moments below; everything else it does on its own
// (clicks on its sprites, the buy question, the ticket dialog).
class MapTicketPanel {
public:
    virtual ~MapTicketPanel() = default;

    // Builds the panel around the train's current city; `fade` lets the
    // sprites fade in instead of appearing at once.
    virtual void Show(bool fade) = 0;
    // Takes the panel's sprites, routes and arrows away (fading out with
    // `fade`).
    virtual void Clear(bool fade) = 0;
    // Draws a bought track on the shown section without animation or
    // payment (stamps of its parts, its cities); the map uses it whenever a
    // section is drawn again.
    virtual void DrawBoughtTrack(TrackRef track) = 0;
    // The mouse moved over the map: highlights what lies under it.
    virtual void OnMouseMove(int32_t x, int32_t y) = 0;
};

// The panel the map scene builds once; `scene` outlives it.
std::unique_ptr<MapTicketPanel> MakeMapTicketPanel(MapScene& scene);
