#pragma once

#include <map>
#include <string>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/media/Surface.h"
#include "game/words/TicketInfo.h"
#include "game/world/RaceContext.h"
#include "support/TempFolder.h"

// The race constants, train models and a wheel definition:
// 10 pixels per unit, a 10 s race, speeds 100 (turbo 200) px/s with
// acceleration and braking of 100 px/s^2, boost sections of 3, 4 and 5 coals
// of 1000 ms worth 0, 50, 100 and 200 percent, and three turbo turns.
// PLAYERTRAINS 0 and AUTOTRAINS 0 have two big wheels of 8 frames and both
// rods; PLAYERTRAINS 1 has neither big wheels nor a big rod.
class RaceConstants {
public:
    RaceConstants();
    ~RaceConstants();
    RaceConstants(const RaceConstants&) = delete;
    RaceConstants& operator=(const RaceConstants&) = delete;

    // Adds or replaces top-level constants written as XML elements.
    static void Define(const std::string& elements);

private:
    TempFolder folder_;
};

// A race context with fixed answers that records sounds and smoke; installed
// while it lives. Pictures are plain surfaces of the sizes in `images`.
class RecordingRace : public RaceContext {
public:
    RecordingRace();
    ~RecordingRace() override;
    RecordingRace(const RecordingRace&) = delete;
    RecordingRace& operator=(const RecordingRace&) = delete;

    int32_t GameState() const override { return state; }
    bool IsPaused() const override { return paused; }
    const TicketInfo* CurrentTicket() const override { return ticket.Get(); }
    int32_t BoostIndex() const override { return boostIndex; }
    int32_t CurrentSection() const override { return section; }
    int32_t BoostCapacity() const override { return capacity; }
    void SpawnTrainSmoke(Sprite& body, const std::wstring& text, int32_t delay, int32_t x, int32_t y) override;
    Ref<Surface> FindImage(const std::string& name, const std::string& section) const override;
    void PlaySound(const std::string& name, int32_t volume, int32_t pan) const override;

    // The sounds played since the last call, as "name volume pan".
    std::vector<std::string> TakeSounds();
    int Count(const std::string& soundName) const;

    int32_t state = kRacing;
    bool paused = false;
    Ref<TicketInfo> ticket;
    int32_t boostIndex = 0;
    int32_t section = 0;
    int32_t capacity = 2147483647;
    std::map<std::string, std::pair<int32_t, int32_t>> images;
    std::vector<std::wstring> smoke;
    mutable std::vector<std::string> sounds;
};
