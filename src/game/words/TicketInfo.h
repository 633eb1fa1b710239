#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/foundation/Object.h"
#include "game/words/LetterNode.h"
#include "game/words/TicketHooks.h"

class Property;
class PropertyNode;

// One mission: the game type, where on the map it is played, its rating and
// race length, and the letters or words of its level. Player files and save
// games store it as a "TicketInfo" node.
class TicketInfo : public Object {
    ENGINE_CLASS(TicketInfo, Object)

public:
    static constexpr int kGameTypeCount = 8;
    static constexpr int kPassengerCars = 5;
    static constexpr int kWordLengths = 5;  // 3 to 7 letters
    static constexpr int kLetters = 26;

    enum Mode { kMapTicket = 0, kClassicFixed = 1, kClassicRandom = 2 };

    // The defaults, then the keys of `node` when one is given. A node that
    // lacks a scalar key reads it as empty (0, 0.0, false), not as the default.
    explicit TicketInfo(Property* node = nullptr);
    ~TicketInfo() override;

    // Appends the ticket's keys to `node`.
    void Save(PropertyNode& node) const;

    // Fills the ticket from GameType, Section, Track and Rating with the
    // constants of its mode group and the run's generator.
    void Generate();

    // A classic game of random types draws a new type, never the old one.
    void PickRandomGameType();

    // The race length in track units: classic levels beyond the one that
    // reached the top rating run longer.
    int GetRaceUnits() const;

    // Letters in the letter set of a game type; 0 for a type that does not exist.
    static int LetterSetLength(int gameType);

    // The answers ticket generation needs from the player, the map and the
    // game scene; a missing hook counts as a new player, length class 0 and
    // an empty word list.
    static void SetHooks(const TicketHooks& hooks);
    static const TicketHooks& Hooks();

    // Replace and keep games draw letters by the ticket's own weights and units.
    bool HasOwnWeights() const { return GameType == 2 || GameType == 5; }

    int32_t GameType = -1;
    int32_t Track = 0;
    int32_t Section = 0;
    int32_t City = 0;
    int32_t NumUnits = 0;
    float Rating = 0.5f;
    bool Finished = true;
    std::vector<std::unique_ptr<WordNode>> Words;
    std::string LetterSet;
    int32_t MinPermutations = 0;
    int32_t MaxPermutations = 2147483647;
    int32_t CurLevel = 0;
    int32_t GameMode = kMapTicket;
    std::array<int32_t, kPassengerCars> Passengers{};
    std::array<float, 2> Performance{};
    std::array<int32_t, kWordLengths> Units{};
    std::array<float, kLetters> LetterFreqs{};
    float FreqsTotal = 0.0f;

private:
    void Read(Property* node);
};
