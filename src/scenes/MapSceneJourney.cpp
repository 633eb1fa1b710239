// The map scene's moving parts: the train's ride to the next city, its
// arrival, the level-success dialog after it, the slide to a neighbouring
// section and the menu.

#include <cstdlib>

#include "engine/foundation/Logger.h"
#include "engine/foundation/SectionManager.h"
#include "engine/media/Canvas.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/media/PixelFormat.h"
#include "engine/media/SoundSample.h"
#include "engine/media/SoundAvailable.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierEaseMove.h"
#include "engine/scene/ModifierPathRide.h"
#include "engine/scene/ModifierSound.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/SceneResources.h"
#include "engine/scene/SoundNode.h"
#include "engine/ui/Button.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/DialogLevelSuccess.h"
#include "game/dialogs/HintDialog.h"
#include "game/progress/KR2Player.h"
#include "game/world/MapBackIds.h"
#include "game/world/ModifierSectionReveal.h"
#include "game/world/SectionList.h"
#include "scenes/MapAnchorPoints.h"
#include "scenes/MapScene.h"
#include "scenes/QuitQuestion.h"

namespace {

constexpr const char* kSection = "mapscene";
constexpr const char* kBacks = "mapbacks";
constexpr int32_t kArrivalPauseMs = 1000;
constexpr int32_t kShineFadeMs = 300;
constexpr int32_t kShineFrames = 5;
constexpr int32_t kDriveInMs = 700;
constexpr int32_t kSectionsHint = 40;
constexpr int32_t kNextSectionHint = 41;
// Within 4 pixels of the city the curve already starts there.
constexpr float kCurveStartSlack = 16.0f;

MapScene* SceneOf(void* context) { return static_cast<MapScene*>(context); }

Ref<Surface> Picture(const std::string& name) {
    const Ref<Object> data = FindResourceData(name, kSection);
    return Ref<Surface>(ObjectCast<Surface>(data.Get()));
}

Surface* LoadedBack(const std::string& name) {
    SectionManager* sections = SectionManager::Instance();
    return sections != nullptr ? ObjectCast<Surface>(sections->GetLoadedResource(name, kBacks)) : nullptr;
}

// The track's curve running away from the city at `start`.
Ref<Path> CurveFrom(const Path& curve, PointF start) {
    const PointF& first = curve.Point(0);
    const auto dx = static_cast<float>(static_cast<int32_t>(start.x) - static_cast<int32_t>(first.x));
    const auto dy = static_cast<float>(static_cast<int32_t>(start.y) - static_cast<int32_t>(first.y));
    if (dx * dx + dy * dy > kCurveStartSlack) {
        return curve.Reversed();
    }
    Ref<Path> copy = new Path;
    for (int32_t i = 0; i < curve.Count(); ++i) copy->Append(curve.Point(i));
    copy->UpdateBounds();
    return copy;
}

}  // namespace

bool MapScene::TrainFacesLeft() const {
    const Surface* image = trainSprite_ ? trainSprite_->GetImage() : nullptr;
    return image != nullptr && (image == trainImages_[0][0].Get() || image == trainImages_[0][1].Get());
}

void MapScene::ReleaseCurrentTicket() const {
    if (KR2Player* player = Player()) player->currentTicket = nullptr;
}

// --- the ride ----------------------------------------------------------------

void MapScene::StartJourney() {
    if (menuButton_ != nullptr) menuButton_->SetEnabled(false);
    state_ = kTravelling;
    KR2Player* player = Player();
    SectionList* map = SectionList::Instance();
    const TicketInfo* ticket = player != nullptr ? player->currentTicket.Get() : nullptr;
    const TrackRef ref = ticket != nullptr ? TrackRef{ticket->Track, ticket->Section} : TrackRef{};
    TrackInfo* track = map != nullptr ? map->FindTrack(ref) : nullptr;
    if (track == nullptr || track->GetPath().Count() < 2 || !trainSprite_) {
        // Without a track to ride the train just arrives, so the level's
        // result is still shown.
        ENGINE_LOG(1, "MapScene: the ticket names no track to ride (%d, %d)", ref.track, ref.section);
        OnTrainArrived();
        return;
    }
    const CityInfo* from = map->FindCity(currentCity_);
    const PointF start = from != nullptr ? PointF{static_cast<float>(from->x), static_cast<float>(from->y)}
                                         : PointF{static_cast<float>(trainSprite_->GetX()),
                                                  static_cast<float>(trainSprite_->GetY())};
    trainSprite_->AddModifier(Blocking(new ModifierPathRide(CurveFrom(track->GetPath(), start).Get())));

    if (track->games == 1 && overlay_->GetImage() != nullptr) {
        // The first win on the track uncovers the land along it.
        ShowSection(false);
        AddTrackPartStamps(ref);
        const Ref<Sprite> brush = new Sprite(0, 0, Picture("TRACKPLAYCIRCLE").Get());
        GetSequenceNode()->AddModifier(new ModifierSectionReveal(map->Section(ref.section), *track,
                                                                 trainSprite_.Get(), brush.Get(),
                                                                 overlay_->GetImage()));
        trainSprite_->AddModifier(Blocking(new ModifierWait(GetSequenceNode())));
    }
    trainSprite_->AddModifier(new ModifierSound("SOUND_TRAIN_ARRIVES", kSection, true));
    trainSprite_->AddModifier(Blocking(new ModifierWait(kArrivalPauseMs)));
    trainSprite_->AddModifier(new ModifierCallback([this](uint32_t, GameNode*) { OnTrainArrived(); }, 0));
    if (trainSound_) trainSound_->StartSound(trainSound_->GetVolume(), trainSound_->GetPan(), false, false);
}

void MapScene::OnTrainArrived() {
    if (IsSoundAvailable() && trainSound_) trainSound_->StopSound(false);
    if (trainSprite_) {
        const Ref<Sprite> glow = new Sprite(*trainSprite_);
        glow->SetPosition(0, 0);
        trainSprite_->AddChild(glow.Get());
        auto* fade = new ModifierValue(0, 255, kShineFadeMs);
        fade->SetOptions(Modifier::kRemoveNodeAtEnd);
        glow->AddModifier(fade);
        trainSprite_->SetImage(trainImages_[TrainFacesLeft() ? 0 : 1][0].Get());
        trainSprite_->SetFrameCount(kShineFrames, false);
    }
    BakeTrackPartStamps();
    PlaceTrainAtCurrentCity();
    ShowSection(true);
    // The quit question stays on top: the result opens once it is answered no.
    if (IsQuitQuestionShown(*this)) {
        arrivalResultWaiting_ = true;
        return;
    }
    ShowArrivalResult();
}

void MapScene::ShowArrivalResult() {
    const KR2Player* player = Player();
    if (player != nullptr && player->lastWon) {
        ShowLevelSuccess();
        return;
    }
    panel_->Show(true);
    if (menuButton_ != nullptr) menuButton_->SetEnabled(true);
    ReleaseCurrentTicket();
}

void MapScene::ShowLevelSuccess() {
    auto* dialog = ObjectCast<KR2Dialog>(GetDialog("DIALOG_LEVEL_SUCCESS", true));
    if (dialog == nullptr) {
        ENGINE_LOG(1, "MapScene: no \"DIALOG_LEVEL_SUCCESS\"; the panel follows at once");
        OnLevelSuccessOk(this, nullptr);
        return;
    }
    currentDialog_ = dialog;
    dialog->BindControlByName("BUTTON_OK", &MapScene::OnLevelSuccessOk, this);
    ShowDialog(dialog);
    KR2Dialog::FadeIn(dialog, DIALOG_FADE_TIME);
}

int32_t MapScene::OnLevelSuccessOk(void* context, GameNode* sender) {
    MapScene* scene = SceneOf(context);
    scene->panel_->Show(true);
    if (scene->menuButton_ != nullptr) scene->menuButton_->SetEnabled(true);
    scene->ReleaseCurrentTicket();
    if (sender != nullptr && scene->currentDialog_) {
        const Ref<KR2Dialog> dialog = std::move(scene->currentDialog_);
        dialog->Close();
        if (auto* success = ObjectCast<DialogLevelSuccess>(dialog.Get())) success->FinishAnimation();
    }
    return 0;
}

// --- section change ------------------------------------------------------------

int32_t MapScene::OnPrevSection(void* context, GameNode*) {
    SceneOf(context)->ChangeSection(false);
    return 0;
}

int32_t MapScene::OnNextSection(void* context, GameNode*) {
    MapScene* scene = SceneOf(context);
    if (KR2Player* player = scene->Player()) {
        player->hints[kSectionsHint] = false;
        player->hints[kNextSectionHint] = false;
    }
    if (HintDialog* hint = HintDialog::Open()) hint->Advance();
    scene->ChangeSection(true);
    return 0;
}

void MapScene::ChangeSection(bool forward) {
    KR2Player* player = Player();
    SectionList* map = SectionList::Instance();
    const int32_t from = shownSection_;
    const int32_t to = from + (forward ? 1 : -1);
    if (player == nullptr || map == nullptr || to < 0 || to >= kSectionCount) {
        ENGINE_LOG(1, "MapScene: no section %d to move to", to);
        return;
    }
    state_ = kScrolling;
    shownSection_ = to;
    player->tickets.clear();
    panel_->Clear(true);
    Modifier* slide = Scroll(from, to);

    const SectionInfo& section = map->Section(to);
    player->curcity = forward ? section.enter : section.leave;
    player->cursection = to;
    PlaceTrainAtCurrentCity();
    DriveTrainIn(forward, slide);

    player->hints[kSectionsHint] = !section.finished;
    SavePlayersSoon();
}

Modifier* MapScene::Scroll(int32_t from, int32_t to) {
    const int32_t step = kSectionWidth + SECTION_BETWEEN_WIDTH;
    const int32_t width = std::abs(to - from) * step;
    const int32_t lower = std::min(from, to);
    const int32_t height = sceneBuffer_->GetHeight() > 0 ? sceneBuffer_->GetHeight() : 600;
    // Opaque black, or the pictures blended onto it would keep its empty alpha.
    const Ref<MemorySurface> picture = CreateFilledSurface(width, height, 0xFF000000u);
    const Ref<Sprite> strip = new Sprite(0, 0, picture.Get());

    const bool forward = to > from;
    const int32_t oldViewX = forward ? 0 : width - kSectionWidth;
    const int32_t betweenX = forward ? kSectionWidth : 0;
    const int32_t offset = forward ? width : -width;
    {
        const Ref<Canvas> canvas = picture->CreateCanvas();
        if (Surface* between = LoadedBack(map_backs::MakeBetweenId(lower))) canvas->Blit(*between, betweenX, 0);
        if (!IsSectionComplete(forward ? to : from)) {
            if (Surface* locked = LoadedBack(map_backs::MakeBetweenBId(lower))) canvas->Blit(*locked, betweenX, 0);
        }
        Surface* oldBase = sceneBuffer_->GetImage() != nullptr ? sceneBuffer_->GetImage() : background_->GetImage();
        if (oldBase != nullptr) canvas->Blit(*oldBase->GetDisplayCopy(), oldViewX, 0);
        if (Surface* overlay = overlay_->GetImage()) canvas->Blit(*overlay->GetDisplayCopy(), oldViewX, 0);
        highlightNode_->SetVisible(false);
        RenderSectionLayers(*canvas, oldViewX);
    }
    strip->SetX(forward ? -width : kSectionWidth);

    RequestMapSections();
    SetMapBack(to);
    RefreshSection(to);
    ShowSection(true);
    if (GameNode* old = GetAssetsNode(from)) old->SetVisible(false);
    if (GameNode* shown = GetAssetsNode(to)) shown->SetVisible(true);

    sceneNode_->SetX(offset);
    Modifier* slide = sceneNode_->AddModifier(
        new ModifierEaseMove(static_cast<float>(offset), 0.0f, 0, 0, SECTION_SCROLL_DURATION, true, true, Smoothstep));
    sceneNode_->AddChild(strip.Get());
    auto* wait = new ModifierWait(slide);
    wait->SetOptions(Modifier::kRemoveNodeAtEnd);
    strip->AddModifier(wait);

    const Ref<Object> sound = FindResourceData("SOUND_SCROLLING", kSection);
    if (auto* sample = ObjectCast<SoundSample>(sound.Get())) sample->PlaySample(255, 128, false);
    if (SectionManager* sections = SectionManager::Instance()) sections->UnloadSection(kBacks);
    PrefetchSlideBacks(to);
    return slide;
}

void MapScene::RenderSectionLayers(Canvas& canvas, int32_t xOffset) const {
    const int32_t savedX = canvas.GetOriginX();
    canvas.SetOriginX(savedX + xOffset);
    for (const auto& route : routeDots_.Routes()) {
        for (Sprite* dot : route) {
            if (dot->IsVisible()) dot->Draw(canvas);
        }
    }
    // Only the section on screen is visible; its pieces and the train land
    // where they stood on the old view.
    for (const Ref<GameNode>& node : assetsNodes_) {
        if (!node->IsVisible()) continue;
        for (GameNode* child = node->GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
            auto* sprite = ObjectCast<Sprite>(child);
            if (sprite != nullptr && sprite->IsVisible() && !sprite->IsRemoved()) sprite->Draw(canvas);
        }
    }
    canvas.SetOriginX(savedX);
}

void MapScene::DriveTrainIn(bool forward, Modifier* slide) {
    if (!trainSprite_) {
        AfterTrainDrivenIn();
        return;
    }
    Sprite& train = *trainSprite_;
    train.SetImage(trainImages_[forward ? 1 : 0][0].Get());
    train.SetFrameCount(kShineFrames, false);
    const int32_t startX = forward ? -train.GetWidth() : train.GetWidth() + kSectionWidth;
    const int32_t x = train.GetX();
    const int32_t y = train.GetY();
    train.AddModifier(Blocking(new ModifierWait(slide)));
    train.AddModifier(Blocking(new ModifierEaseMove(static_cast<float>(startX), static_cast<float>(y), x, y, kDriveInMs,
                                                    true, true, Smoothstep)));
    train.AddModifier(new ModifierCallback([this](uint32_t, GameNode*) { AfterTrainDrivenIn(); }, 0));
    train.SetX(startX);
}

void MapScene::AfterTrainDrivenIn() {
    panel_->Show(true);
    state_ = kIdle;
    highlightNode_->SetVisible(true);
}

// --- the menu -------------------------------------------------------------------

int32_t MapScene::OnMenuButton(void* context, GameNode*) {
    MapScene* scene = SceneOf(context);
    Dialog* menu = scene->GetDialog("DIALOG_MENU", true);
    if (menu == nullptr) {
        ENGINE_LOG(1, "MapScene: no \"DIALOG_MENU\"");
        return 0;
    }
    scene->ShowDialog(menu);
    scene->state_ = kMenuOpen;
    return 0;
}
