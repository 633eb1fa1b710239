#include "game/dialogs/HintTriggers.h"

#include <algorithm>
#include <cmath>

#include "engine/scene/GameNode.h"
#include "game/constants/GameConstants.h"
#include "game/progress/KR2Player.h"

namespace {

constexpr float kFastTrainSpeed = 230.0F;
constexpr int32_t kSlotsGameType = 4;
constexpr int32_t kGameTypeCount = 7;
constexpr int32_t kCoalTypeCount = 8;
constexpr int32_t kLastMapSection = 9;
// How long the word bar and the submit rest before a hint may stop the race.
constexpr int32_t kWordFormingQuietMs = 1000;

// The boost meter's band a little below its node.
constexpr int32_t kBoostBandOffset = 80;
constexpr int32_t kBoostBandHeight = 30;
// The box around the train on the map.
constexpr int32_t kTrainBoxOffset = 35;
constexpr int32_t kTrainBoxWidth = 70;
constexpr int32_t kTrainBoxHeight = 40;
constexpr int32_t kTrackPointBox = 8;

constexpr int32_t kTicketDialogHint = 37;
constexpr int32_t kClassicLockedHint = 42;
constexpr int32_t kClassicIntroHint = 43;
constexpr int32_t kTooFewCoinsHint = 44;

bool Flag(const KR2Player& player, int32_t hint) { return player.hints[static_cast<size_t>(hint)]; }

// Clears the flag, then opens the bubble: a hint fires once.
bool Fire(KR2Player& player, HintOpener& opener, int32_t hint, GameNode* target, const HintRect* rect = nullptr) {
    player.hints[static_cast<size_t>(hint)] = false;
    opener.Open(hint, target, rect);
    return true;
}

HintRect BoostBand(const RaceHintView& view) {
    const GameNode* meter = view.SceneNode("BOOSTMETER");
    if (meter == nullptr) {
        return {};
    }
    const auto* sprite = ObjectCast<Sprite>(meter);
    return {meter->GetAbsoluteX(), meter->GetAbsoluteY() + kBoostBandOffset, sprite != nullptr ? sprite->GetWidth() : 0,
            kBoostBandHeight};
}

HintRect TrainBox(const GameNode& train) {
    return {train.GetAbsoluteX() - kTrainBoxOffset, train.GetAbsoluteY() - kTrainBoxOffset, kTrainBoxWidth,
            kTrainBoxHeight};
}

std::vector<GameNode*> SpritesOf(const std::vector<MapHintView::Ticket>& tickets, const GameNode* first) {
    std::vector<GameNode*> sprites;
    if (first != nullptr) {
        sprites.push_back(const_cast<GameNode*>(first));
    }
    for (const MapHintView::Ticket& ticket : tickets) {
        if (ticket.sprite != first) {
            sprites.push_back(ticket.sprite);
        }
    }
    return sprites;
}

// Opens a ticket hint: the pointed ticket is the first target and the first
// to take clicks; with `allTickets` every ticket is a target.
bool FireTicketHint(KR2Player& player, MapHintView& view, HintOpener& opener, int32_t hint,
                    const std::vector<MapHintView::Ticket>& tickets, GameNode* pointed, bool allTickets,
                    bool behindBubble = false) {
    player.hints[static_cast<size_t>(hint)] = false;
    HintDialog* bubble = opener.Open(hint, pointed, nullptr);
    const std::vector<GameNode*> clickable =
        allTickets ? SpritesOf(tickets, pointed) : std::vector<GameNode*>{pointed};
    if (bubble != nullptr) {
        for (size_t i = 1; i < clickable.size(); ++i) {
            bubble->AddTarget(clickable[i]);
        }
    }
    view.LetTicketsTakeClicks(bubble, clickable, behindBubble);
    return true;
}

}  // namespace

HintDialog* BubbleOpener::Open(int32_t hintId, GameNode* target, const HintRect* rect) {
    return OpenHint(hintId, target, rect);
}

bool CheckRaceHints(KR2Player& player, RaceHintView& view, HintOpener& opener) {
    if (!player.showhints) {
        return false;
    }
    const int32_t now = view.Now();
    const int32_t sinceWordBar = now - view.LastWordBar();
    const int32_t sinceSubmit = now - view.LastSubmit();
    // Only hints 7 to 10 leave the race running: the others wait for the word.
    const bool formingWord =
        view.WordRackHoldsCoals() || std::min(sinceWordBar, sinceSubmit) < kWordFormingQuietMs;
    if (Flag(player, 16) && view.TrainHasBonus() && !formingWord) {
        return Fire(player, opener, 16, nullptr);
    }
    if (Flag(player, 7) && sinceWordBar > HINT_WORDBAR_CLICK_TIME * 1000) {
        if (GameNode* coal = view.LastSupplyCoal()) {
            return Fire(player, opener, 7, coal);
        }
    }
    if (Flag(player, 8) && sinceSubmit > HINT_SUBMIT_CLICK_TIME * 1000 && view.HoldsNewValidWord()) {
        return Fire(player, opener, 8, view.SceneNode("BUTTON_SUBMIT"));
    }
    if (Flag(player, 13) && view.TypedWordFlag() && sinceSubmit > HINT_SUBMIT_NO_ENTER_TIME * 1000 &&
        !formingWord) {
        Fire(player, opener, 13, view.SceneNode("BUTTON_SUBMIT"));
        view.ClearTypedWordFlag();
        return true;
    }
    if (Flag(player, 9) && view.GameType() != kSlotsGameType && sinceSubmit > HINT_SHUFFLE_SUBMIT_TIME * 1000 &&
        sinceWordBar > HINT_SHUFFLE_WORDBAR_TIME * 1000) {
        return Fire(player, opener, 9, view.SceneNode("BUTTON_SHUFFLE"));
    }
    if (Flag(player, 10) && view.AllowsSkip() && sinceSubmit > HINT_SKIP_TIME * 1000) {
        return Fire(player, opener, 10, view.SceneNode("BUTTON_SKIP"));
    }
    if (formingWord) {
        return false;
    }
    if (Flag(player, 11) && view.TrainSpeed() > kFastTrainSpeed) {
        const HintRect band = BoostBand(view);
        return Fire(player, opener, 11, nullptr, &band);
    }
    const bool boostChanged = view.IsAdventure() && player.boostidx != player.oldboostidx;
    player.oldboostidx = player.boostidx;
    if (Flag(player, 12) && boostChanged) {
        const HintRect band = BoostBand(view);
        return Fire(player, opener, 12, nullptr, &band);
    }
    if (Flag(player, 15) && player.stats.numWordsFound + view.LevelWordsFound() >= HINT_KEYBOARD_WORDS_FOUND) {
        if (GameNode* coal = view.LastSupplyCoal()) {
            return Fire(player, opener, 15, coal);
        }
    }
    if (Flag(player, 17) && now > HINT_OPPONENT_TIME * 1000 && view.OpponentVisible()) {
        return Fire(player, opener, 17, view.OpponentBody());
    }
    if (Flag(player, 18) && view.FurnaceLidRaised()) {
        return Fire(player, opener, 18, view.FurnaceLid());
    }
    for (int32_t type = 1; type <= kGameTypeCount; ++type) {
        if (Flag(player, type - 1) && view.GameType() == type) {
            return Fire(player, opener, type - 1, nullptr);
        }
    }
    // Coal type 8 shares its hint with the first map hint: stored profiles
    // count on that numbering.
    for (int32_t type = 1; type <= kCoalTypeCount; ++type) {
        if (Flag(player, 18 + type)) {
            if (GameNode* coal = view.IdleSupplyCoalOfType(type)) {
                return Fire(player, opener, 18 + type, coal);
            }
        }
    }
    return false;
}

bool CheckMapHints(KR2Player& player, MapHintView& view, HintOpener& opener) {
    if (!player.showhints) {
        return false;
    }
    const std::vector<MapHintView::Ticket> tickets = view.Tickets();
    GameNode* train = view.Train();
    if (Flag(player, 26) && train != nullptr) {
        const HintRect box = TrainBox(*train);
        return Fire(player, opener, 26, train, &box);
    }
    if (Flag(player, 36) && view.ShowDefeatHint()) {
        Fire(player, opener, 36, train);
        view.ClearDefeatHint();
        return true;
    }
    if (Flag(player, 27) && view.IdleTime() >= HINT_MAP_TICKET_FIRSTTIME_TIME * 1000 && !tickets.empty()) {
        return FireTicketHint(player, view, opener, 27, tickets, tickets.front().sprite, true);
    }
    if (Flag(player, 35) && player.GetTotalPlayCount() > 0 && !Flag(player, 27) && tickets.size() > 1) {
        // Points at the third ticket; with only two, at the last one.
        GameNode* pointed = tickets[std::min<size_t>(2, tickets.size() - 1)].sprite;
        return FireTicketHint(player, view, opener, 35, tickets, pointed, true);
    }
    for (int32_t type = 1; type <= kGameTypeCount; ++type) {
        if (!Flag(player, 27 + type)) {
            continue;
        }
        for (const MapHintView::Ticket& ticket : tickets) {
            if (ticket.gameType == type) {
                return FireTicketHint(player, view, opener, 27 + type, tickets, ticket.sprite, false);
            }
        }
    }
    if (Flag(player, 37) && tickets.size() > 1) {
        bool differ = false;
        for (size_t i = 0; i + 1 < tickets.size(); ++i) {
            differ = differ || tickets[i].difficulty != tickets[i + 1].difficulty;
        }
        for (const MapHintView::Ticket& ticket : tickets) {
            if (differ && ticket.difficulty >= 1) {
                return FireTicketHint(player, view, opener, kTicketDialogHint, tickets, ticket.sprite, true, true);
            }
        }
    }
    if (Flag(player, 38)) {
        if (GameNode* panel = view.FirstTrackPanel()) {
            return FireTicketHint(player, view, opener, 38, {}, panel, false);
        }
    }
    if (Flag(player, 39)) {
        if (GameNode* arrow = view.NextSectionButton()) {
            return FireTicketHint(player, view, opener, 39, {}, arrow, false);
        }
    }
    if (Flag(player, 40) && train != nullptr && view.ShownSection() < kLastMapSection && view.TrainAtLeaveCity()) {
        const HintRect box = TrainBox(*train);
        return Fire(player, opener, 40, train, &box);
    }
    // "Click it to buy it" needs a track the player can buy from here: one with its price sign up.
    if (Flag(player, 41) && !view.SectionFinished() && view.EnoughCitiesVisited(NUM_CITIES_VISITED_OFFSET) &&
        player.coins >= view.TrackCost() && view.FirstTrackPanel() != nullptr) {
        if (const auto middle = view.OfferedTrackMiddle()) {
            const HintRect box{static_cast<int32_t>(std::lround(middle->first)) - kTrackPointBox,
                               static_cast<int32_t>(std::lround(middle->second)) - kTrackPointBox, 2 * kTrackPointBox,
                               2 * kTrackPointBox};
            Fire(player, opener, 41, nullptr, &box);
            player.stats.gamesCounter = 0;
            return true;
        }
    }
    return false;
}

bool CheckCoalHint(KR2Player& player, bool handReturnsToSupply, bool wordRackHasTypedCoal, GameNode* pointedCoal,
                   HintOpener& opener) {
    if (!Flag(player, HintDialog::kCoalInHandHint) || !handReturnsToSupply || !wordRackHasTypedCoal ||
        !player.showhints) {
        return false;
    }
    return Fire(player, opener, HintDialog::kCoalInHandHint, pointedCoal);
}

bool OpenTicketDialogHint(KR2Player* player, GameNode* ticketDialog, int32_t difficulty, size_t shownTickets,
                          HintOpener& opener) {
    if (HintDialog* open = HintDialog::Open()) {
        open->Advance();
        return false;
    }
    if (player == nullptr || !player->showhints || !Flag(*player, kTicketDialogHint) || difficulty < 1 ||
        shownTickets < 2) {
        return false;
    }
    return Fire(*player, opener, kTicketDialogHint, ticketDialog);
}

bool OpenClassicLockedHint(const KR2Player* player, HintOpener& opener) {
    if (player != nullptr) {
        const auto& won = player->stats.missionsWon;
        if (won[0] + won[1] + won[2] >= GAMES_WON_BEFORE_CLASSIC) {
            return false;
        }
    }
    opener.Open(kClassicLockedHint, nullptr, nullptr);
    return true;
}

bool OpenClassicIntroHint(KR2Player* player, HintOpener& opener) {
    if (player == nullptr || !player->showhints || !Flag(*player, kClassicIntroHint)) {
        return false;
    }
    return Fire(*player, opener, kClassicIntroHint, nullptr);
}

bool OpenTooFewCoinsHint(int32_t coins, int32_t price, HintOpener& opener) {
    if (coins >= price) {
        return false;
    }
    opener.Open(kTooFewCoinsHint, nullptr, nullptr);
    return true;
}
