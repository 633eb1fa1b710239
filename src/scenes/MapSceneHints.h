#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "game/dialogs/HintTriggers.h"

class MapOfferPanel;
class MapScene;
class SectionInfo;

// The map hints' view of the map scene, its offers and its shop, and the
// real bubbles they open.
class MapSceneHints : public MapHintView {
public:
    explicit MapSceneHints(MapScene& scene) : scene_(scene) {}
    MapSceneHints(const MapSceneHints&) = delete;
    MapSceneHints& operator=(const MapSceneHints&) = delete;

    // Opens the first map hint due for the current player; true when one was.
    bool Check();

    GameNode* Train() const override;
    std::vector<Ticket> Tickets() const override;
    int32_t IdleTime() const override;
    bool ShowDefeatHint() const override;
    void ClearDefeatHint() override;
    GameNode* FirstTrackPanel() const override;
    GameNode* NextSectionButton() const override;
    int32_t ShownSection() const override;
    bool TrainAtLeaveCity() const override;
    bool SectionFinished() const override;
    bool EnoughCitiesVisited(int32_t offset) const override;
    int32_t TrackCost() const override;
    std::optional<std::pair<float, float>> OfferedTrackMiddle() const override;
    void LetTicketsTakeClicks(HintDialog* bubble, const std::vector<GameNode*>& tickets, bool behindBubble) override;

private:
    MapOfferPanel* Offers() const;
    SectionInfo* Section() const;

    MapScene& scene_;
    BubbleOpener opener_;
};

// Whether at most `offset` of the section's cities are still unvisited.
bool EnoughCitiesVisited(const SectionInfo& section, int32_t offset);
