#include "scenes/MapOfferPanel.h"
#include "scenes/MapScene.h"
#include "scenes/MapShopHost.h"

namespace {

// The map scene as the ticket panel and the track shop see it.
class MapSceneShopHost : public MapShopHost {
public:
    explicit MapSceneShopHost(MapScene& scene) : scene_(scene) {}

    Scene& HostScene() override { return scene_; }
    GameNode& SequenceNode() override {
        GameNode* sequence = scene_.GetSequenceNode();
        return sequence != nullptr ? *sequence : *scene_.GetRootNode();
    }
    KR2Player* Player() const override { return scene_.Player(); }
    CityRef CurrentCity() const override { return scene_.GetCurrentCity(); }
    int32_t ShownSection() const override { return scene_.GetShownSection(); }
    int32_t State() const override { return scene_.GetState(); }
    void SetState(int32_t state) override { scene_.SetMapState(state); }
    Sprite* Overlay() const override { return scene_.GetOverlay(); }
    LabelTicker* CoinsLabel() const override { return scene_.GetCoinsLabel(); }
    Button* MenuButton() const override { return scene_.GetMenuButton(); }
    GameNode* HighlightNode() const override { return scene_.GetHighlightNode(); }
    GameNode* AssetsNode(int32_t section) const override { return scene_.GetAssetsNode(section); }
    MapRouteDots& RouteDots() override { return scene_.GetRouteDots(); }
    void ShowSection(bool composite) override { scene_.ShowSection(composite); }
    void OnSectionCleared() override { scene_.OnSectionCleared(); }
    void ShowNextSection() override { MapScene::OnNextSection(&scene_, nullptr); }
    void ShowPreviousSection() override { MapScene::OnPrevSection(&scene_, nullptr); }

private:
    MapScene& scene_;
};

struct HostOfPanel {
    explicit HostOfPanel(MapScene& scene) : host(scene) {}
    MapSceneShopHost host;
};

// The host is a base listed first, so it outlives the panel that clears
// itself through it.
class MapScenePanel : private HostOfPanel, public MapOfferPanel {
public:
    explicit MapScenePanel(MapScene& scene) : HostOfPanel(scene), MapOfferPanel(host) {}
};

}  // namespace

std::unique_ptr<MapTicketPanel> MakeMapTicketPanel(MapScene& scene) { return std::make_unique<MapScenePanel>(scene); }
