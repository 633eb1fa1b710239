#include "scenes/MapScene.h"

#include <algorithm>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/RandomGenerator.h"
#include "engine/foundation/SectionManager.h"
#include "engine/media/Canvas.h"
#include "engine/media/GameWindow.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/media/MusicStream.h"
#include "engine/media/SoundManager.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierSound.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/SceneResources.h"
#include "engine/scene/SoundNode.h"
#include "engine/ui/Button.h"
#include "engine/ui/Label.h"
#include "engine/ui/LabelTicker.h"
#include "engine/ui/SceneManager.h"
#include "engine/ui/SceneTransition.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/HintDialog.h"
#include "game/dialogs/KR2Dialog.h"
#include "game/dialogs/NumberFields.h"
#include "game/dialogs/TrophyAwardedDialog.h"
#include "game/progress/KR2Player.h"
#include "game/progress/Rankings.h"
#include "game/world/MapBackIds.h"
#include "game/world/MapOverlays.h"
#include "game/world/SectionList.h"
#include "scenes/GameScene.h"
#include "scenes/MapAnchorPoints.h"
#include "scenes/MapDepthOrder.h"
#include "scenes/MapSceneHints.h"
#include "scenes/QuitQuestion.h"

namespace {

const ClassRegistration registration("MapScene", CreateFromProperty<MapScene>);

constexpr const char* kSection = "mapscene";
constexpr const char* kBacks = "mapbacks";
constexpr const char* kAssets = "assets";
constexpr int32_t kTopRankIndex = 14;
constexpr int32_t kMusicFadeOutMs = 1000;
constexpr float kMusicLevel = 1.0f;
constexpr int32_t kMusicFadeInMs = 100;
constexpr int32_t kMusicDelayMs = 600;
constexpr uint32_t kMusicOpenMode = 306;
// The play stamp is drawn 65 pixels in radius at scale 1.
constexpr float kPlayStampScalePerRadius = 0.0153846f;
constexpr int32_t kClearedFadeMs = 1000;
constexpr int32_t kPopupDelayMs = 800;
constexpr int32_t kPopupSpreadMs = 2200;

Ref<Surface> Picture(const std::string& name, const char* section = kSection) {
    const Ref<Object> data = FindResourceData(name, section);
    return Ref<Surface>(ObjectCast<Surface>(data.Get()));
}

Surface* LoadedPicture(const std::string& name) {
    SectionManager* sections = SectionManager::Instance();
    Surface* picture = sections != nullptr ? ObjectCast<Surface>(sections->GetLoadedResource(name, kBacks)) : nullptr;
    if (picture == nullptr) {
        ENGINE_LOG(1, "MapScene: no picture \"%s\" in \"%s\"", name.c_str(), kBacks);
    }
    return picture;
}

// The display's canvas prepares pictures for the screen; without a window
// the picture's own canvas stands in.
Ref<Canvas> DisplayCanvas(Surface& picture) {
    const GameWindow* window = GameWindow::Instance();
    if (window != nullptr && window->GetCanvas() != nullptr) {
        return Ref<Canvas>(window->GetCanvas());
    }
    return picture.CreateCanvas();
}

std::wstring Text(const std::string& id) { return LookUpText(id); }

// Where a stamp is opaque the overlay becomes opaque again: the stamp covers
// the parts near a played track, which the overlay must keep hiding.
void RaiseAlphaTo(Surface& target, Surface& stamp, int32_t x, int32_t y) {
    auto* to = ObjectCast<MemorySurface>(&target);
    auto* from = ObjectCast<MemorySurface>(&stamp);
    if (to == nullptr || from == nullptr) return;
    const int32_t left = std::max(0, x);
    const int32_t top = std::max(0, y);
    const int32_t right = std::min(to->GetWidth(), x + from->GetWidth());
    const int32_t bottom = std::min(to->GetHeight(), y + from->GetHeight());
    for (int32_t row = top; row < bottom; ++row) {
        uint32_t* into = to->Pixels32() + static_cast<ptrdiff_t>(row) * to->PitchIn32();
        const uint32_t* source = from->Pixels32() + static_cast<ptrdiff_t>(row - y) * from->PitchIn32();
        for (int32_t column = left; column < right; ++column) {
            const uint32_t alpha = source[column - x] & 0xFF000000u;
            if (alpha > (into[column] & 0xFF000000u)) {
                into[column] = (into[column] & 0x00FFFFFFu) | alpha;
            }
        }
    }
    to->SetDirty(true);
}

}  // namespace

MapScene::MapScene(Property* definition) : Scene(definition) {}

MapScene::~MapScene() {
    if (MapDialogHooks::Installed() == this) {
        MapDialogHooks::Install(nullptr);
    }
    panel_.reset();
    StopSequences();
    routeDots_.Clear();
    // The map's records list our sprites; let them go with the scene.
    if (SectionList* map = SectionList::Instance()) {
        for (int32_t s = 0; s < SectionList::kSectionCount; ++s) {
            map_assets::ClearSectionAssets(map->Section(s));
        }
    }
}

void MapScene::StopSequences() {
    // The train's waits may hold the scene's nodes: drop them so that
    // nothing keeps the scene's tree alive.
    if (trainSprite_) trainSprite_->ClearModifiers();
    GetComponentNode()->ClearModifiers();
    if (sceneNode_) sceneNode_->ClearModifiers();
}

void MapScene::Build() {
    Scene::Build();
    trainImages_[0] = {Picture("TRAIN_LEFT_SHINE"), Picture("TRAIN_LEFT")};
    trainImages_[1] = {Picture("TRAIN_RIGHT_SHINE"), Picture("TRAIN_RIGHT")};

    BindControlByName("BUTTON_MENU", &MapScene::OnMenuButton, this);
    menuButton_ = ObjectCast<Button>(FindChild("BUTTON_MENU"));
    coinsLabel_ = ObjectCast<LabelTicker>(FindChild("COINS"));
    scoreLabel_ = ObjectCast<LabelTicker>(FindChild("SCORE"));
    rankLabel_ = ObjectCast<Label>(FindChild("RANK"));
    rankingSprite_ = ObjectCast<Sprite>(FindChild("SPRITE_RANKING"));

    const Ref<Object> sample = FindResourceData("SOUND_TRAIN_TO_NEXTCITY", kSection);
    trainSound_ = SoundNode::ConstructFromSample(ObjectCast<SoundSample>(sample.Get()));

    // The map lies under the scene's own controls, which stay on top of it.
    sceneNode_ = new GameNode;
    sceneNode_->SetName("m_SceneNode");
    GetRootNode()->AddChildFront(sceneNode_.Get());
    sceneBuffer_ = new Sprite;
    sceneBuffer_->SetName("m_SceneBuffer");
    sceneNode_->AddChild(sceneBuffer_.Get());
    background_ = new Sprite;
    background_->SetName("m_Background");
    sceneNode_->AddChild(background_.Get());
    overlay_ = new Sprite;
    overlay_->SetName("m_Overlay");
    background_->AddChild(overlay_.Get());
    assetsNode_ = new GameNode;
    assetsNode_->SetName("m_AssetsNode");
    sceneNode_->AddChild(assetsNode_.Get());
    for (int32_t i = 0; i < kSectionCount; ++i) {
        Ref<GameNode>& node = assetsNodes_[static_cast<size_t>(i)];
        node = new GameNode;
        assetsNode_->AddChild(node.Get());
        node->SetName("m_AssetsNodes[" + std::to_string(i) + "]");
        node->SetX(i * (SECTION_BETWEEN_WIDTH + kSectionWidth));
        node->SetVisible(false);
    }

    trainSprite_ = ObjectCast<Sprite>(FindChild("TRAIN"));
    if (trainSprite_) {
        trainSprite_->SetName("m_TrainSprite");
    } else {
        ENGINE_LOG(1, "MapScene: the scene has no \"TRAIN\"");
    }
    highlightNode_ = new GameNode;
    highlightNode_->SetName("m_HighlightNode");
    routeDots_.Build(Picture("DOT").Get());
    panel_ = MakeMapTicketPanel(*this);
    hints_ = std::make_unique<MapSceneHints>(*this);
}

bool MapScene::RequestMapSections() {
    SectionManager* sections = SectionManager::Instance();
    if (sections == nullptr) return false;
    sections->RequestSection(kSection);
    // A player's first showing of the map in this run reads the section's backs.
    const Players* players = Players::Instance();
    if (const auto* player = players != nullptr ? ObjectCast<KR2Player>(players->GetCurrent()) : nullptr;
        player != nullptr && !player->mapFlag) {
        PrefetchSectionBacks(player->cursection);
    }
    return sections->RequestSection(kAssets);
}

void MapScene::PrefetchSectionBacks(int32_t section) {
    SectionManager* sections = SectionManager::Instance();
    if (sections == nullptr || section < 0 || section >= kSectionCount) return;
    sections->PrefetchResource(map_backs::MakeBackgroundId(section), kBacks);
    if (!IsSectionComplete(section)) sections->PrefetchResource(map_backs::MakeOverlayId(section), kBacks);
}

void MapScene::PrefetchSlideBacks(int32_t section) {
    SectionManager* sections = SectionManager::Instance();
    const SectionList* map = SectionList::Instance();
    if (sections == nullptr || map == nullptr || section < 0 || section >= kSectionCount) return;
    for (const int32_t next : {section - 1, section + 1}) {
        // The way on opens only from a finished section; nothing is decoded for a slide the player cannot make.
        if (next < 0 || next >= kSectionCount || (next > section && !map->Section(section).finished)) continue;
        // The strip between two sections, and its locked look while the right one is unfinished.
        const int32_t lower = std::min(section, next);
        sections->PrefetchResource(map_backs::MakeBetweenId(lower), kBacks);
        if (!IsSectionComplete(lower + 1)) sections->PrefetchResource(map_backs::MakeBetweenBId(lower), kBacks);
        PrefetchSectionBacks(next);
    }
}

void MapScene::Activate() {
    Scene::Activate();
    MapDialogHooks::Install(this);
    SoundManager* sound = SoundManager::Get();
    const Ref<Object> music = FindResourceData("MUSIC_MAP", "music");
    if (auto* stream = ObjectCast<MusicStream>(music.Get()); sound != nullptr && stream != nullptr) {
        sound->CrossfadeTo(stream, kMusicFadeOutMs, kMusicLevel, kMusicFadeInMs, kMusicDelayMs, kMusicOpenMode);
    }
    state_ = kIdle;
    idleTime_ = 0;
    KR2Player* player = Player();
    if (player == nullptr || SectionList::Instance() == nullptr) {
        ENGINE_LOG(1, "MapScene: no current player or no map; nothing to show");
        return;
    }
    if (player->cursection < 0 || player->cursection >= kSectionCount) {
        ENGINE_LOG(1, "MapScene: the player's section %d is off the map; section 0 is shown", player->cursection);
        player->cursection = 0;
        player->curcity = 0;
    }
    shownSection_ = player->cursection;

    int32_t shownScore = player->stats.score;
    // After a won level the badge shows the rank as it stood before it: the
    // level's result dialog brings it up to date. Otherwise it shows the rank
    // now, which classic games may have raised since the map was last seen.
    ShowRankDisplay(*player, returnFromGame_ && player->lastWon ? player->lastScore : 0);
    if (!player->mapFlag) {
        ShowMap();
        player->mapFlag = true;
    } else if (player->lastWon) {
        shownScore = player->stats.score - player->lastScore;
    }
    if (scoreLabel_ != nullptr) {
        scoreLabel_->SetTarget(shownScore);
        scoreLabel_->JumpToTarget();
    }
    if (coinsLabel_ != nullptr) {
        coinsLabel_->SetTarget(player->coins);
        coinsLabel_->JumpToTarget();
    }

    CityInfo* city = SectionList::Instance()->FindCity({player->curcity, player->cursection});
    if (!returnFromGame_) {
        if (city != nullptr) city->visited = true;
        PlaceTrainAtCurrentCity();
        panel_->Show(false);
    } else if (!player->lastWon) {
        showDefeatHint_ = true;
        panel_->Show(false);
        returnFromGame_ = false;
    } else {
        StartJourney();
        if (city != nullptr) city->visited = true;
        returnFromGame_ = false;
    }
    SavePlayersSoon();
}

void MapScene::SavePlayersNow() {
    savePlayersIn_ = 0;
    if (Players* players = Players::Instance()) {
        players->Save();
    }
}

void MapScene::ShowRankDisplay(const KR2Player& player, int32_t gained) {
    const int32_t rank = player.RankBeforeLevel(gained);
    ShowRank(rankings::GetRankName(rank), rank);
    const std::wstring tip =
        rank >= kTopRankIndex
            ? Text("RANKING_NO_NEXTRANG")
            : FillNumberFields(Text("RANKING_NEXTRANG_SCORE"), {player.PointsMissingForRank(gained)});
    SetRankToolTip(tip, true);
}

void MapScene::ShowMap() {
    SetMapBack(shownSection_);
    std::array<GameNode*, kSectionCount> nodes{};
    for (size_t i = 0; i < nodes.size(); ++i) nodes[i] = assetsNodes_[i].Get();
    map_assets::LoadAnchorPoints(*SectionList::Instance(), nodes);
    RefreshSection(shownSection_);
    ShowSection(true);
    if (SectionManager* sections = SectionManager::Instance()) {
        sections->UnloadSection(kBacks);
    }
    PrefetchSlideBacks(shownSection_);
}

void MapScene::Deactivate() {
    if (savePlayersIn_ > 0) {
        SavePlayersNow();
    }
    Scene::Deactivate();
    HintDialog::CloseOpenIn(*this);
    if (panel_) panel_->Clear(false);
    GetComponentNode()->ClearModifiers();
    if (menuButton_ != nullptr) menuButton_->SetEnabled(true);
    if (currentDialog_) {
        CloseDialog(currentDialog_.Get());
        currentDialog_ = nullptr;
    }
    for (const char* name : {"DIALOG_MENU", "TEXT_MENU_STOP_MAPSCENE", "TEXT_GAME_END"}) {
        const auto found = GetDialogMap().find(name);
        if (found != GetDialogMap().end()) {
            CloseDialog(Ref<Dialog>(found->second).Get());
        }
    }
    if (MapDialogHooks::Installed() == this) {
        MapDialogHooks::Install(nullptr);
    }
    if (LeftForTheMenu()) {
        ReleaseShownSection();
    }
    // Every way onto the map asks for its sections again, and its transition
    // waits for them: meanwhile what nothing shown holds goes (the level
    // results, the tickets' cards).
    if (SectionManager* sections = SectionManager::Instance()) {
        sections->ReleaseSection(kSection);
        sections->ReleaseSection(kAssets);
    }
}

bool MapScene::LeftForTheMenu() {
    const SceneManager* manager = SceneManager::Instance();
    if (manager == nullptr) return false;
    const auto* transition = ObjectCast<SceneTransition>(manager->GetCurrentScene());
    const Scene* entered = transition != nullptr ? transition->GetTargetScene() : manager->GetCurrentScene();
    return entered != nullptr && entered == manager->FindScene("SCENE_SELECTION");
}

void MapScene::ReleaseShownSection() {
    // The next entry shows the map afresh, as the first one of the run does,
    // with its backs asked of the loader before the switch.
    if (KR2Player* player = Player()) player->mapFlag = false;
    sceneBuffer_->SetImage(nullptr);
    background_->SetImage(nullptr);
    overlay_->SetImage(nullptr);
    // The landscape pieces and station signs are built anew with the map.
    for (const Ref<GameNode>& node : assetsNodes_) node->RemoveChildren();
    if (SectionList* map = SectionList::Instance()) {
        for (int32_t s = 0; s < kSectionCount; ++s) map_assets::ClearSectionAssets(map->Section(s));
    }
}

void MapScene::Update(int32_t elapsedMs) {
    if (savePlayersIn_ > 0 && --savePlayersIn_ == 0) {
        SavePlayersNow();
    }
    Scene::Update(elapsedMs);
    // The menu closes itself; the map must not stay locked once it has.
    if (state_ == kMenuOpen && !IsDialogShown("DIALOG_MENU")) {
        state_ = kIdle;
    }
    const bool quitAsked = IsQuitQuestionShown(*this);
    if (arrivalResultWaiting_ && !quitAsked) {
        arrivalResultWaiting_ = false;
        ShowArrivalResult();
    }
    if (state_ == kIdle) {
        routeDots_.Update(elapsedMs);
        // A hint would cover the quit question (asked during the fade in).
        if (HintDialog::Open() == nullptr && !quitAsked) {
            idleTime_ += elapsedMs;
            if (hints_) hints_->Check();
        }
    } else if (state_ == kTravelling && trainSprite_) {
        SortTrainDepth(*trainSprite_);
    }
}

void MapScene::RequestQuit() { AskQuit(this, nullptr); }

bool MapScene::OnMouseMove(int32_t x, int32_t y, uint32_t flags) {
    if (panel_) panel_->OnMouseMove(x, y);
    return Scene::OnMouseMove(x, y, flags);
}

GameNode* MapScene::GetAssetsNode(int32_t section) const {
    return section >= 0 && section < kSectionCount ? assetsNodes_[static_cast<size_t>(section)].Get() : nullptr;
}

SectionInfo* MapScene::ShownSectionInfo() const {
    SectionList* map = SectionList::Instance();
    return map != nullptr && shownSection_ >= 0 && shownSection_ < kSectionCount ? &map->Section(shownSection_)
                                                                                   : nullptr;
}

void MapScene::SetCurrentDialog(KR2Dialog* dialog) { currentDialog_ = dialog; }

// --- section display ---------------------------------------------------------

void MapScene::SetMapBack(int32_t section) {
    background_->SetImage(LoadedPicture(map_backs::MakeBackgroundId(section)));
    overlay_->SetImage(IsSectionComplete(section) ? nullptr : LoadedPicture(map_backs::MakeOverlayId(section)));
}

bool MapScene::IsSectionComplete(int32_t section) {
    const SectionList* map = SectionList::Instance();
    if (map == nullptr || section < 0 || section >= kSectionCount) return true;
    const auto& tracks = map->Section(section).tracks;
    return std::all_of(tracks.begin(), tracks.end(), [](const Ref<TrackInfo>& track) { return track->bought; });
}

void MapScene::RefreshSection(int32_t section) {
    SectionList* map = SectionList::Instance();
    if (map == nullptr || section < 0 || section >= kSectionCount) return;
    SectionInfo& info = map->Section(section);
    const auto trackCount = static_cast<int32_t>(info.tracks.size());
    for (int32_t t = 0; t < trackCount; ++t) {
        if (info.tracks[static_cast<size_t>(t)]->bought) panel_->DrawBoughtTrack({t, section});
    }
    if (overlay_->GetImage() == nullptr) {
        for (GameNode* child = assetsNodes_[static_cast<size_t>(section)]->GetFirstChild(); child != nullptr;
             child = child->GetNextSibling()) {
            child->SetVisible(true);
        }
        return;
    }
    for (int32_t t = 0; t < trackCount; ++t) {
        if (info.tracks[static_cast<size_t>(t)]->games > 0) AddTrackPartStamps({t, section});
    }
    for (const Ref<TrackPart>& part : info.trackParts) part->revealed = false;
    for (int32_t t = 0; t < trackCount; ++t) {
        if (info.tracks[static_cast<size_t>(t)]->games > 0) RevealPlayedTrack({t, section});
    }
    BakeTrackPartStamps();
}

void MapScene::AddTrackPartStamps(TrackRef track) {
    SectionList* map = SectionList::Instance();
    Surface* overlay = overlay_->GetImage();
    if (map == nullptr || overlay == nullptr) return;
    std::vector<Ref<TrackPart>> near;
    map->FindTrackPartsNearTrack(track, near, shownSection_, 0);
    for (const Ref<TrackPart>& part : near) {
        Ref<Sprite> stamp = DrawTrackOverlayCircle(*part, *overlay);
        overlay_->AddChildFront(stamp.Get());
        trackPartSprites_.push_back(stamp);
    }
}

void MapScene::RevealPlayedTrack(TrackRef track) {
    SectionList* map = SectionList::Instance();
    const TrackInfo* info = map != nullptr ? map->FindTrack(track) : nullptr;
    const Ref<Surface> brush = Picture("TRACKPLAYCIRCLE");
    Surface* overlay = overlay_->GetImage();
    if (info == nullptr) return;
    SectionInfo& section = map->Section(track.section);
    const Ref<Canvas> canvas = overlay != nullptr ? DisplayCanvas(*overlay) : Ref<Canvas>();
    for (const int32_t index : info->curveIds) {
        if (index < 0 || index >= static_cast<int32_t>(section.trackParts.size())) continue;
        TrackPart& part = *section.trackParts[static_cast<size_t>(index)];
        part.revealed = true;
        for (size_t i = 0; i < part.circlePoints.size(); ++i) {
            ShowSectionAssets(part, static_cast<int32_t>(i), false, nullptr);
            if (brush && canvas) {
                const TrackPart::CirclePoint& point = part.circlePoints[i];
                DrawImageScaled(*canvas, *overlay, *brush, point.x, point.y,
                                static_cast<double>(static_cast<float>(point.radius) * kPlayStampScalePerRadius));
            }
        }
    }
}

void MapScene::BakeTrackPartStamps() {
    Surface* overlay = overlay_->GetImage();
    if (overlay != nullptr && !trackPartSprites_.empty()) {
        Surface& target = *overlay->GetDisplayCopy();
        const Ref<Canvas> canvas = target.CreateCanvas();
        for (const Ref<Sprite>& stamp : trackPartSprites_) {
            if (Surface* image = stamp->GetImage()) {
                canvas->PrepareSurface(*image);
                canvas->Blit(*image, stamp->GetX(), stamp->GetY());
                RaiseAlphaTo(target, *image->GetDisplayCopy(), stamp->GetX(), stamp->GetY());
            }
            stamp->SetRemoved(true);
        }
    }
    trackPartSprites_.clear();
}

void MapScene::ShowSection(bool composite) {
    sceneBuffer_->SetVisible(composite);
    background_->SetVisible(!composite);
    assetsNode_->SetX(-(SECTION_BETWEEN_WIDTH + kSectionWidth) * shownSection_);
    GameNode* sectionNode = GetAssetsNode(shownSection_);
    if (sectionNode == nullptr) return;
    sectionNode->SetVisible(true);
    highlightNode_->SetVisible(true);
    if (!composite) {
        overlay_->SetAlpha(255);
        sceneBuffer_->SetImage(nullptr);
    } else if (Surface* back = background_->GetImage()) {
        // The last composite is written over, not made anew, during the slide's first frame.
        const Ref<MemorySurface> copy =
            CopySurfaceOver(*back, Ref<MemorySurface>(ObjectCast<MemorySurface>(sceneBuffer_->GetImage())));
        if (Surface* overlay = overlay_->GetImage()) {
            const Ref<Canvas> canvas = copy->CreateCanvas();
            canvas->Blit(*overlay->GetDisplayCopy(), 0, 0);
        }
        // The overlay's blit keeps the copy's alpha bytes: an opaque map stays opaque.
        copy->SetKnownOpaque(back->IsKnownOpaque());
        copy->SetDirty(true);
        sceneBuffer_->SetImage(copy.Get());
        sceneBuffer_->SetDirty(true);
    } else {
        sceneBuffer_->SetImage(nullptr);
    }
    if (trainSprite_ && trainSprite_->GetParent() != sectionNode) {
        sectionNode->AddChildFront(highlightNode_.Get());
        sectionNode->AddChild(trainSprite_.Get());
        SortTrainDepth(*trainSprite_);
    }
}

void MapScene::PlaceTrainAtCurrentCity() {
    const KR2Player* player = Player();
    if (player == nullptr) return;
    currentCity_ = {player->curcity, player->cursection};
    const SectionList* map = SectionList::Instance();
    const CityInfo* city = map != nullptr ? map->FindCity(currentCity_) : nullptr;
    if (city == nullptr || !trainSprite_) {
        ENGINE_LOG(1, "MapScene: no city %d in section %d for the train", currentCity_.city, currentCity_.section);
        return;
    }
    trainSprite_->SetPosition(city->x, city->y);
    SortTrainDepth(*trainSprite_);
}

void MapScene::OnSectionCleared() {
    overlay_->AddModifier(new ModifierSound("SOUND_MAPSECTION_CLEARED", kSection, true));
    overlay_->AddModifier(Blocking(new ModifierValue(255, 0, kClearedFadeMs)));
    overlay_->AddModifier(new ModifierCallback([this](uint32_t, GameNode*) { ClearOverlayImage(); }, 0));
    GameNode* sectionNode = GetAssetsNode(shownSection_);
    if (sectionNode == nullptr) return;
    for (GameNode* child = sectionNode->GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
        auto* sprite = ObjectCast<Sprite>(child);
        if (sprite == nullptr || sprite->IsVisible()) continue;
        // Scattered, so the pieces pop up one by one; drawn like every other draw of the game.
        RandomGenerator* random = RandomGenerator::Global();
        const uint32_t spread = random != nullptr ? random->Next() % static_cast<uint32_t>(kPopupSpreadMs) : 0;
        auto* wait = new ModifierWait(kPopupDelayMs + static_cast<int32_t>(spread));
        wait->SetOptions(Modifier::kBlockFollowing);
        sprite->AddModifier(wait, false);
        ShowItemPopup(*sprite);
    }
}

void MapScene::ClearOverlayImage() { overlay_->SetImage(nullptr); }

// --- the dialogs' side --------------------------------------------------------

KR2Player* MapScene::Player() const {
    const Players* players = Players::Instance();
    return players != nullptr ? ObjectCast<KR2Player>(players->GetCurrent()) : nullptr;
}

const LevelStats* MapScene::LastLevel() const {
    const SceneManager* manager = SceneManager::Instance();
    auto* game = manager != nullptr ? ObjectCast<GameScene>(manager->FindScene("SCENE_GAME")) : nullptr;
    return game != nullptr ? &game->GetLevelStats() : nullptr;
}

void MapScene::CountScoreTo(int32_t total) {
    if (scoreLabel_ != nullptr) scoreLabel_->SetTarget(total);
}

void MapScene::SetScore(int32_t total) {
    if (scoreLabel_ == nullptr) return;
    scoreLabel_->SetTarget(total);
    scoreLabel_->JumpToTarget();
}

void MapScene::SetRankToolTip(const std::wstring& text, bool onSprite) {
    if (rankLabel_ != nullptr) rankLabel_->SetToolTip(text);
    if (onSprite && rankingSprite_ != nullptr) rankingSprite_->SetToolTip(text);
}

void MapScene::ShowRank(const std::wstring& name, int32_t frame) {
    if (rankLabel_ != nullptr) rankLabel_->SetText(name);
    if (rankingSprite_ != nullptr) rankingSprite_->SetFrame(frame);
}

void MapScene::PresentTrophy(int32_t trophy) {
    TrophyAwardedDialog::Show(trophy, [this](Scene*) { state_ = kIdle; });
}
