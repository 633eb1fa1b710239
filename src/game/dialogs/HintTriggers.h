#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "game/dialogs/HintDialog.h"

class GameNode;
class KR2Player;

// What the race hints read from the running level and the game scene.
class RaceHintView {
public:
    virtual ~RaceHintView() = default;

    virtual int32_t Now() const = 0;  // level time, ms
    virtual int32_t LastWordBar() const = 0;
    virtual int32_t LastSubmit() const = 0;
    virtual bool TrainHasBonus() const = 0;
    // The coal in the highest occupied slot of the supply rack, or null.
    virtual GameNode* LastSupplyCoal() const = 0;
    // The last supply coal (from the last slot down) of that letter type with
    // no running action, or null.
    virtual GameNode* IdleSupplyCoalOfType(int32_t type) const = 0;
    virtual bool HoldsNewValidWord() const = 0;
    virtual bool TypedWordFlag() const = 0;
    virtual void SetTypedWordFlag() = 0;
    virtual void ClearTypedWordFlag() = 0;
    // Whether a coal of the word rack was placed by typing.
    virtual bool WordRackHasTypedCoal() const = 0;
    virtual bool WordRackHoldsCoals() const = 0;
    virtual int32_t WordBarMoveState() const = 0;
    // The coal in hand heads back to the supply rack.
    virtual bool HandReturnsToSupply() const = 0;
    // The coal at the hand's rack and slot, or null.
    virtual GameNode* CoalAtHand() const = 0;
    // The rest of a word bar change the coal hint held back: the letter
    // sound, then the judging.
    virtual void FinishWordBarChange() = 0;
    virtual int32_t GameType() const = 0;
    virtual bool IsAdventure() const = 0;
    virtual bool AllowsSkip() const = 0;
    virtual float TrainSpeed() const = 0;
    virtual int32_t LevelWordsFound() const = 0;
    virtual bool OpponentVisible() const = 0;
    virtual GameNode* OpponentBody() const = 0;
    virtual bool FurnaceLidRaised() const = 0;
    virtual GameNode* FurnaceLid() const = 0;
    // The game scene's node of that name ("BUTTON_SUBMIT", "BOOSTMETER"), or null.
    virtual GameNode* SceneNode(const char* name) const = 0;
};

// What the map hints read from the map scene.
class MapHintView {
public:
    struct Ticket {
        GameNode* sprite = nullptr;
        int32_t gameType = 0;
        int32_t difficulty = 0;
    };

    virtual ~MapHintView() = default;

    virtual GameNode* Train() const = 0;
    virtual std::vector<Ticket> Tickets() const = 0;
    virtual int32_t IdleTime() const = 0;  // ms
    virtual bool ShowDefeatHint() const = 0;
    virtual void ClearDefeatHint() = 0;
    virtual GameNode* FirstTrackPanel() const = 0;
    virtual GameNode* NextSectionButton() const = 0;
    virtual int32_t ShownSection() const = 0;
    virtual bool TrainAtLeaveCity() const = 0;
    virtual bool SectionFinished() const = 0;
    virtual bool EnoughCitiesVisited(int32_t offset) const = 0;
    virtual int32_t TrackCost() const = 0;
    // The middle curve point of the track the first price sign offers, when one is shown.
    virtual std::optional<std::pair<float, float>> OfferedTrackMiddle() const = 0;
    // Lets the ticket sprites still take clicks while the bubble is open:
    // in that order ahead of the bubble's own controls, or, `behindBubble`,
    // after the bubble.
    virtual void LetTicketsTakeClicks(HintDialog* bubble, const std::vector<GameNode*>& tickets,
                                      bool behindBubble) = 0;
};

// Opens a chosen hint; the real one shows the bubble, tests record.
class HintOpener {
public:
    virtual ~HintOpener() = default;
    virtual HintDialog* Open(int32_t hintId, GameNode* target, const HintRect* rect) = 0;
};

// Opens the bubbles in the current scene.
class BubbleOpener : public HintOpener {
public:
    HintDialog* Open(int32_t hintId, GameNode* target, const HintRect* rect) override;
};

// The first eligible race hint (each needs its flag) is cleared and opened;
// true when one was. Nothing fires while the player's hints are off. A hint
// that stops the race waits while the player forms a word (coals in the
// word rack, or the word bar or a submit less than a second ago), so no
// typed letter is lost to it.
bool CheckRaceHints(KR2Player& player, RaceHintView& view, HintOpener& opener);
// The same for the adventure map.
bool CheckMapHints(KR2Player& player, MapHintView& view, HintOpener& opener);
// Hint 14: the coal in hand heads back to the supply rack while the word
// rack holds a typed coal. `pointedCoal` is the coal at the hand's rack and
// slot, or null.
bool CheckCoalHint(KR2Player& player, bool handReturnsToSupply, bool wordRackHasTypedCoal, GameNode* pointedCoal,
                   HintOpener& opener);

// The hints scenes open themselves. The ticket dialog's hint points at the
// dialog about to open; with a hint already open, that one is advanced
// instead. True when a bubble was opened.
bool OpenTicketDialogHint(KR2Player* player, GameNode* ticketDialog, int32_t difficulty, size_t shownTickets,
                          HintOpener& opener);
// While the classic games are locked (no player, or too few missions won),
// whatever the switch and the flag say.
bool OpenClassicLockedHint(const KR2Player* player, HintOpener& opener);
bool OpenClassicIntroHint(KR2Player* player, HintOpener& opener);
// Too few coins for a track, whatever the switch and the flag say.
bool OpenTooFewCoinsHint(int32_t coins, int32_t price, HintOpener& opener);
