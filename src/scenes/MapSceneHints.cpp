#include "scenes/MapSceneHints.h"

#include <algorithm>

#include "engine/media/InputListenerList.h"
#include "engine/ui/Button.h"
#include "game/progress/KR2Player.h"
#include "game/words/TicketInfo.h"
#include "game/world/SectionList.h"
#include "game/world/TicketSprite.h"
#include "game/world/TrackInfoSprite.h"
#include "scenes/MapOfferPanel.h"
#include "scenes/MapScene.h"
#include "scenes/MapTrackShop.h"

bool EnoughCitiesVisited(const SectionInfo& section, int32_t offset) {
    const auto visited = std::count_if(section.cities.begin(), section.cities.end(),
                                       [](const Ref<CityInfo>& city) { return city && city->visited; });
    return static_cast<int64_t>(visited) >= static_cast<int64_t>(section.cities.size()) - offset;
}

bool MapSceneHints::Check() {
    KR2Player* player = scene_.Player();
    return player != nullptr && CheckMapHints(*player, *this, opener_);
}

MapOfferPanel* MapSceneHints::Offers() const { return dynamic_cast<MapOfferPanel*>(scene_.GetTicketPanel()); }

SectionInfo* MapSceneHints::Section() const {
    SectionList* map = SectionList::Instance();
    const int32_t section = scene_.GetShownSection();
    return map != nullptr && section >= 0 && section < MapScene::kSectionCount ? &map->Section(section) : nullptr;
}

GameNode* MapSceneHints::Train() const { return scene_.GetTrainSprite(); }

std::vector<MapHintView::Ticket> MapSceneHints::Tickets() const {
    std::vector<Ticket> tickets;
    if (const MapOfferPanel* offers = Offers()) {
        for (const Ref<TicketSprite>& sprite : offers->TicketSprites()) {
            if (const TicketInfo* ticket = sprite->GetTicket()) {
                tickets.push_back({sprite.Get(), ticket->GameType, TicketSprite::PassengerCount(*ticket)});
            }
        }
    }
    return tickets;
}

int32_t MapSceneHints::IdleTime() const { return scene_.GetIdleTime(); }

bool MapSceneHints::ShowDefeatHint() const { return scene_.GetShowDefeatHint(); }

void MapSceneHints::ClearDefeatHint() { scene_.ClearDefeatHint(); }

GameNode* MapSceneHints::FirstTrackPanel() const {
    const MapOfferPanel* offers = Offers();
    return offers != nullptr && !offers->TrackInfoSprites().empty() ? offers->TrackInfoSprites().front().Get()
                                                                     : nullptr;
}

GameNode* MapSceneHints::NextSectionButton() const {
    const MapOfferPanel* offers = Offers();
    return offers != nullptr ? offers->NextSectionButton() : nullptr;
}

int32_t MapSceneHints::ShownSection() const { return scene_.GetShownSection(); }

bool MapSceneHints::TrainAtLeaveCity() const {
    const SectionInfo* section = Section();
    return section != nullptr && scene_.GetCurrentCity() == CityRef{section->leave, scene_.GetShownSection()};
}

bool MapSceneHints::SectionFinished() const {
    const SectionInfo* section = Section();
    return section == nullptr || section->finished;
}

bool MapSceneHints::EnoughCitiesVisited(int32_t offset) const {
    const SectionInfo* section = Section();
    return section != nullptr && ::EnoughCitiesVisited(*section, offset);
}

int32_t MapSceneHints::TrackCost() const { return MapTrackShop::GetTrackCost(scene_.GetShownSection()); }

std::optional<std::pair<float, float>> MapSceneHints::OfferedTrackMiddle() const {
    const auto* sign = ObjectCast<TrackInfoSprite>(FirstTrackPanel());
    SectionList* map = SectionList::Instance();
    const TrackInfo* track = sign != nullptr && map != nullptr ? map->FindTrack(sign->GetTrack()) : nullptr;
    if (track == nullptr || track->GetPath().Count() == 0) {
        return std::nullopt;
    }
    const Path& path = track->GetPath();
    const PointF& middle = path.Point(path.Count() / 2);
    return std::pair{middle.x, middle.y};
}

void MapSceneHints::LetTicketsTakeClicks(HintDialog* bubble, const std::vector<GameNode*>& tickets,
                                         bool behindBubble) {
    InputListenerList* listeners = bubble != nullptr ? bubble->GetListenerList() : nullptr;
    if (listeners == nullptr) {
        return;
    }
    auto add = [listeners, behindBubble](GameNode* ticket) {
        listeners->AddListener(dynamic_cast<InputListener*>(ticket), !behindBubble);
    };
    // Each one put at the front goes before the ones already there.
    if (behindBubble) {
        std::for_each(tickets.begin(), tickets.end(), add);
    } else {
        std::for_each(tickets.rbegin(), tickets.rend(), add);
    }
}
