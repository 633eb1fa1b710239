#include "scenes/MapTicketPanel.h"

namespace {

// Offers nothing until the panel itself is built: the map still shows,
// the train still rides and the sections still change.
class EmptyTicketPanel : public MapTicketPanel {
public:
    void Show(bool) override {}
    void Clear(bool) override {}
    void DrawBoughtTrack(TrackRef) override {}
    void OnMouseMove(int32_t, int32_t) override {}
};

}  // namespace

std::unique_ptr<MapTicketPanel> MakeMapTicketPanel(MapScene&) { return std::make_unique<EmptyTicketPanel>(); }
