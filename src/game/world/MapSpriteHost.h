#pragma once

#include <cstdint>

class Sprite;
class TicketInfo;

// What the clickable sprites of the map need from the scene that shows them.
class MapSpriteHost {
public:
    // The scene's interaction state while nothing is going on.
    static constexpr int32_t kIdle = 0;

    virtual ~MapSpriteHost() = default;

    virtual int32_t InteractionState() const = 0;
    // Starts the attention wobble on the sprite.
    virtual void PlayWobble(Sprite& sprite) = 0;
    // Makes the ticket the player's current one and opens the ticket dialog
    // for it (play or cancel).
    virtual void OpenTicketDialog(TicketInfo& ticket) = 0;
};
