#pragma once

#include <cstdint>
#include <string>

#include "engine/foundation/Ref.h"

class Sprite;
class Surface;
class TicketInfo;

// What the race strip asks of the game around it: the game mode, the current
// player and ticket, the boost meter, the smoke effect and the loaded media.
// The game scene installs its answers; without them the race stands still
// before its start, has no ticket, the boost is not capped, no smoke rises and
// media come from the loaded sections.
class RaceContext {
public:
    // The game mode's racing state.
    static constexpr int32_t kRacing = 2;
    static constexpr int32_t kCentrePan = 128;
    static constexpr int32_t kFullVolume = 255;

    virtual ~RaceContext() = default;

    virtual int32_t GameState() const { return 0; }
    virtual bool IsPaused() const { return false; }
    // The current player's current ticket, or null.
    virtual const TicketInfo* CurrentTicket() const { return nullptr; }
    // The current player's train model ("boostidx"), carriage size
    // ("carsize") and map section ("cursection").
    virtual int32_t BoostIndex() const { return 0; }
    virtual int32_t CarriageSize() const { return 0; }
    virtual int32_t CurrentSection() const { return 0; }
    // The boost time of a full boost meter in milliseconds.
    virtual int32_t BoostCapacity() const { return 2147483647; }
    // Blows the text out of the chimney of `body`, starting at (x, y) of it.
    virtual void SpawnTrainSmoke(Sprite& /*body*/, const std::wstring& /*text*/, int32_t /*delay*/, int32_t /*x*/,
                                 int32_t /*y*/) {}

    // A picture of a loaded section; null when missing.
    virtual Ref<Surface> FindImage(const std::string& name, const std::string& section) const;
    // Plays a sound of the section "gamescene" once; a missing one is silent.
    virtual void PlaySound(const std::string& name, int32_t volume, int32_t pan) const;

    // The installed context, or the neutral one above.
    static RaceContext& Current();
    // Null uninstalls; the caller keeps the context alive while installed.
    static void Install(RaceContext* context);

    bool IsRacing() const { return GameState() == kRacing && !IsPaused(); }
};
