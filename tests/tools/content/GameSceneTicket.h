#pragma once

#include <string>

#include "engine/foundation/Ref.h"
#include "game/words/TicketHooks.h"
#include "game/words/TicketInfo.h"
#include "scenes/GameScene.h"

// Ticket generation asks for the games played, the track lengths and the
// dictionary; the scene's word list answers the last.
class TicketAnswers : public TicketPlayerHook, public TicketMapHook, public TicketSceneHook {
public:
    int GamesPlayed() const override { return 12; }
    int TrackLengthClass(int, int track) const override { return track % 4; }
    const WordList* WaitForWordList() override { return scene != nullptr ? scene->WaitForWordList() : nullptr; }
    bool IsInWordQueue(const std::string&) const override { return false; }

    GameScene* scene = nullptr;
};

// A ticket of the game type and rating for track 2 of section 1, generated on the
// scene's word list (install the answers first) and with its performance
// marks set, as a player holds it on entering the scene.
inline Ref<TicketInfo> GeneratedTicket(GameScene& scene, int32_t gameType, TicketInfo::Mode mode,
                                       float rating = 0.3f) {
    Ref<TicketInfo> ticket = new TicketInfo;
    ticket->GameType = gameType;
    ticket->GameMode = mode;
    ticket->Section = 1;
    ticket->Track = 2;
    ticket->Rating = rating;
    scene.WaitForWordList();
    ticket->Generate();
    ticket->Performance = {0.3f, 0.6f};
    return ticket;
}
