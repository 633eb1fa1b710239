#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/ui/Scene.h"
#include "game/dialogs/MapDialogHooks.h"
#include "game/world/MapRefs.h"
#include "scenes/MapRouteDots.h"
#include "scenes/MapTicketPanel.h"

class Button;
class KR2Dialog;
class KR2Player;
class Label;
class LabelTicker;
class MapSceneHints;
class Modifier;
class SectionInfo;
class SoundNode;
class Sprite;
class Surface;

// The adventure map: one of the ten map sections at a time with its back,
// overlay, landscape pieces and stations, the player's train at its city,
// the coin, score and rank displays and the menu button. After a won level
// the train rides the ticket's track to the next city; the arrows of the
// ticket panel slide the view to the neighbouring sections.
class MapScene : public Scene, public MapDialogHooks {
    ENGINE_CLASS(MapScene, Scene)

public:
    static constexpr int32_t kSectionCount = 10;
    static constexpr int32_t kSectionWidth = 800;

    // Interaction states.
    static constexpr int32_t kIdle = 0;
    static constexpr int32_t kTravelling = 1;
    static constexpr int32_t kMenuOpen = 2;
    static constexpr int32_t kBuyQuestion = 3;
    static constexpr int32_t kScrolling = 8;

    explicit MapScene(Property* definition);
    ~MapScene() override;

    void Build() override;
    void Activate() override;
    void Deactivate() override;
    void Update(int32_t elapsedMs) override;
    void RequestQuit() override;
    bool OnMouseMove(int32_t x, int32_t y, uint32_t flags) override;

    // Queues the resource sections the map needs, and the backs of the
    // player's section when the map has not shown them yet in this run; true
    // while "assets" is still loading.
    static bool RequestMapSections();
    // Queues for the loader the map backs that showing the section reads, or
    // that a slide from it to either neighbour reads, so that they are
    // decoded before the map needs them.
    static void PrefetchSectionBacks(int32_t section);
    static void PrefetchSlideBacks(int32_t section);

    // Set when a level starts, so the next activation treats the map as
    // entered from that level.
    void SetReturnFromGame(bool value) { returnFromGame_ = value; }
    bool GetReturnFromGame() const { return returnFromGame_; }

    // Section display.
    void SetMapBack(int32_t section);
    static bool IsSectionComplete(int32_t section);
    void RefreshSection(int32_t section);
    void AddTrackPartStamps(TrackRef track);
    void RevealPlayedTrack(TrackRef track);
    void BakeTrackPartStamps();
    void ShowSection(bool composite);
    void PlaceTrainAtCurrentCity();
    // The last track of the shown section is bought: the overlay fades away
    // and the hidden pieces pop up one by one.
    void OnSectionCleared();
    void ClearOverlayImage();

    // Journey, arrival, section change and menu.
    void StartJourney();
    void OnTrainArrived();
    void ShowLevelSuccess();
    static int32_t OnLevelSuccessOk(void* scene, GameNode* sender);
    static int32_t OnPrevSection(void* scene, GameNode* sender);
    static int32_t OnNextSection(void* scene, GameNode* sender);
    void ChangeSection(bool forward);
    static int32_t OnMenuButton(void* scene, GameNode* sender);

    // MapDialogHooks
    KR2Player* Player() const override;
    const LevelStats* LastLevel() const override;
    void SetMapState(int32_t state) override { state_ = state; }
    void CountScoreTo(int32_t total) override;
    void SetScore(int32_t total) override;
    void SetRankToolTip(const std::wstring& text, bool onSprite) override;
    void ShowRank(const std::wstring& name, int32_t frame) override;
    void PresentTrophy(int32_t trophy) override;

    int32_t GetState() const { return state_; }
    int32_t GetShownSection() const { return shownSection_; }
    CityRef GetCurrentCity() const { return currentCity_; }
    int32_t GetIdleTime() const { return idleTime_; }
    bool GetShowDefeatHint() const { return showDefeatHint_; }
    void ClearDefeatHint() { showDefeatHint_ = false; }
    Sprite* GetTrainSprite() const { return trainSprite_.Get(); }
    Sprite* GetOverlay() const { return overlay_.Get(); }
    Sprite* GetBackground() const { return background_.Get(); }
    Sprite* GetSceneBuffer() const { return sceneBuffer_.Get(); }
    GameNode* GetSceneNode() const { return sceneNode_.Get(); }
    GameNode* GetHighlightNode() const { return highlightNode_.Get(); }
    GameNode* GetAssetsNode(int32_t section) const;
    Button* GetMenuButton() const { return menuButton_; }
    LabelTicker* GetCoinsLabel() const { return coinsLabel_; }
    LabelTicker* GetScoreLabel() const { return scoreLabel_; }
    Label* GetRankLabel() const { return rankLabel_; }
    Sprite* GetRankingSprite() const { return rankingSprite_; }
    KR2Dialog* GetCurrentDialog() const { return currentDialog_.Get(); }
    void SetCurrentDialog(KR2Dialog* dialog);
    MapRouteDots& GetRouteDots() { return routeDots_; }
    MapTicketPanel* GetTicketPanel() const { return panel_.get(); }
    SoundNode* GetTrainSound() const { return trainSound_.Get(); }
    // The scene's running sequence (track building, the reveal trail).
    GameNode* GetSequenceNode() const { return GetComponentNode(); }

private:
    void ShowMap();
    // Whether the scene switched to is the menu.
    static bool LeftForTheMenu();
    // A map left for the menu lets go of the pictures of the section shown
    // until it is next entered.
    void ReleaseShownSection();
    // The rank badge as it stood before the last `gained` points.
    void ShowRankDisplay(const KR2Player& player, int32_t gained);
    // Slides the view from one section to another; the slide modifier.
    Modifier* Scroll(int32_t from, int32_t to);
    void RenderSectionLayers(Canvas& canvas, int32_t xOffset) const;
    void DriveTrainIn(bool forward, Modifier* slide);
    void AfterTrainDrivenIn();
    // The players are saved two updates after the call, once for every call
    // made meanwhile: the frame that shows a section has enough to do
    // without writing files. Leaving the scene saves at once.
    void SavePlayersSoon() { savePlayersIn_ = 2; }
    void SavePlayersNow();
    // Whether the train shows one of its left-facing pictures.
    bool TrainFacesLeft() const;
    SectionInfo* ShownSectionInfo() const;
    void ReleaseCurrentTicket() const;
    // After the arrival: the level's result, or the ticket panel after a loss.
    void ShowArrivalResult();
    void StopSequences();

    Ref<Sprite> trainSprite_;
    Ref<KR2Dialog> currentDialog_;
    LabelTicker* coinsLabel_ = nullptr;  // held by the scene tree
    LabelTicker* scoreLabel_ = nullptr;
    Label* rankLabel_ = nullptr;
    Sprite* rankingSprite_ = nullptr;
    Button* menuButton_ = nullptr;
    Ref<SoundNode> trainSound_;
    Ref<Sprite> sceneBuffer_;
    Ref<Sprite> background_;
    Ref<Sprite> overlay_;
    Ref<GameNode> sceneNode_;
    Ref<GameNode> highlightNode_;
    Ref<GameNode> assetsNode_;
    std::array<Ref<GameNode>, kSectionCount> assetsNodes_;
    std::vector<Ref<Sprite>> trackPartSprites_;
    CityRef currentCity_;
    int32_t state_ = kIdle;
    int32_t idleTime_ = 0;
    int32_t shownSection_ = -1;
    bool showDefeatHint_ = false;
    bool returnFromGame_ = false;
    bool arrivalResultWaiting_ = false;
    int32_t savePlayersIn_ = 0;
    MapRouteDots routeDots_;
    // Left and right, each {shining, plain}.
    std::array<std::array<Ref<Surface>, 2>, 2> trainImages_;
    std::unique_ptr<MapTicketPanel> panel_;
    std::unique_ptr<MapSceneHints> hints_;
};
