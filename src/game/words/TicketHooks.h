#pragma once

#include <string>

class WordList;

// What ticket generation asks of the subsystems above the word game. Each
// owner implements its interface and hands it to TicketInfo::SetHooks.

// The current player.
class TicketPlayerHook {
public:
    virtual ~TicketPlayerHook() = default;
    // The number of games the player has played in all.
    virtual int GamesPlayed() const = 0;
};

// The map sections.
class TicketMapHook {
public:
    virtual ~TicketMapHook() = default;
    // The length class of a track of a section (an index into DISTANCE_CP0/1).
    virtual int TrackLengthClass(int section, int track) const = 0;
};

// The game scene, which owns the word list and the word queue.
class TicketSceneHook {
public:
    virtual ~TicketSceneHook() = default;
    // Blocks until the word list is loaded; null when there is none.
    virtual const WordList* WaitForWordList() = 0;
    // Whether the word queue of the level on show holds this word.
    virtual bool IsInWordQueue(const std::string& text) const = 0;
};

struct TicketHooks {
    const TicketPlayerHook* player = nullptr;
    const TicketMapHook* map = nullptr;
    TicketSceneHook* scene = nullptr;
};
