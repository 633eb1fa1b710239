#include "scenes/MapOfferPanel.h"

#include <cmath>

#include "engine/foundation/Logger.h"
#include "engine/foundation/SectionManager.h"
#include "engine/media/InputListenerList.h"
#include "engine/scene/DialogTable.h"
#include "engine/scene/DisabledSpriteImageVector.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/SceneResources.h"
#include "engine/ui/Button.h"
#include "engine/ui/ControlSupport.h"
#include "engine/ui/Scene.h"
#include "engine/ui/SceneManager.h"
#include "engine/ui/SceneTransition.h"
#include "game/dialogs/HintDialog.h"
#include "game/dialogs/HintTriggers.h"
#include "game/dialogs/TicketDialog.h"
#include "game/progress/KR2Player.h"
#include "game/progress/OfferedTickets.h"
#include "game/world/OneShotEffects.h"
#include "game/world/SectionList.h"
#include "game/world/TicketSprite.h"
#include "game/world/TrackInfoSprite.h"
#include "scenes/MapRouteDots.h"
#include "scenes/MapShopHost.h"
#include "scenes/MapTrackShop.h"

namespace {

constexpr const char* kMapSection = "mapscene";
// The frame of a station whose city is not bought yet.
constexpr int32_t kStationLockedFrame = 3;
constexpr int32_t kStationFrames = 4;
// Farther than this (squared, in pixels) from the city, a curve starts at its other end.
constexpr int32_t kCurveStartSlack = 16;
constexpr int32_t kArrowY = 300;
constexpr int32_t kScreenWidth = 800;

template <typename T>
Ref<T> CreateNamed(const char* name) {
    const DialogTable* table = DialogTable::Instance();
    const Ref<Object> created(table != nullptr ? table->CreateObject(name) : nullptr);
    Ref<T> object(ObjectCast<T>(created.Get()));
    if (!object) {
        ENGINE_LOG(1, "MapOfferPanel: the dialog table has no \"%s\" of the expected kind", name);
    }
    return object;
}

// The city's station: the first of its map sprites with four frames.
Sprite* StationOf(const CityInfo* city) {
    if (city == nullptr) {
        return nullptr;
    }
    for (const Ref<Object>& node : city->mapNodes) {
        auto* sprite = ObjectCast<Sprite>(node.Get());
        if (sprite != nullptr && sprite->GetFrameCount() == kStationFrames) {
            return sprite;
        }
    }
    return nullptr;
}

InputListenerList* ListenersOf(Scene& scene) { return scene.GetListenerList(); }

}  // namespace

MapOfferPanel::MapOfferPanel(MapShopHost& host) : host_(host), shop_(host, *this) {}

MapOfferPanel::~MapOfferPanel() {
    Clear(false);
}

MapOfferPanel::Plan MapOfferPanel::PlanAt(const SectionList& map, const KR2Player& player, CityRef city) {
    Plan plan;
    std::vector<TrackRef> tracks;
    map.GetTracksOfCity(city, tracks);
    const bool hasPlayed = player.GetTotalPlayCount() > 0;
    for (const TrackRef& ref : tracks) {
        const TrackInfo* track = map.FindTrack(ref);
        if (track == nullptr) {
            continue;
        }
        if (!track->bought) {
            if (hasPlayed) {
                plan.offers.push_back({ref, nullptr});
            }
            continue;
        }
        for (const Ref<TicketInfo>& ticket : player.tickets) {
            if (ticket && ticket->Track == ref.track && ticket->Section == ref.section) {
                plan.offers.push_back({ref, ticket});
                break;
            }
        }
    }
    const int32_t section = city.section;
    if (section >= 0 && section < SectionList::kSectionCount) {
        plan.nextArrow = section < MapTrackShop::kLastSection && map.Section(section).finished;
        plan.previousArrow = section > 0;
    }
    return plan;
}

int32_t MapOfferPanel::DotCount(double length) {
    const double last = length - kDotlessEnd;
    return last < 0.0 ? 0 : static_cast<int32_t>(last / kDotSpacing) + 1;
}

Ref<Path> MapOfferPanel::CurveFromCity(const Path& path, const CityInfo* city) {
    if (city != nullptr && path.Count() > 0) {
        const auto dx = static_cast<int64_t>(city->x) - static_cast<int64_t>(path.Point(0).x);
        const auto dy = static_cast<int64_t>(city->y) - static_cast<int64_t>(path.Point(0).y);
        if (dx * dx + dy * dy > kCurveStartSlack) {
            return path.Reversed();
        }
    }
    Ref<Path> same(new Path());
    for (int32_t i = 0; i < path.Count(); ++i) {
        same->Append(path.Point(i));
    }
    same->UpdateBounds();
    return same;
}

void MapOfferPanel::SetBuyHandler(ControlCallback::Function function, void* context) {
    buyFunction_ = function;
    buyContext_ = context;
}

void MapOfferPanel::Show(bool fade) {
    SectionList* map = SectionList::Instance();
    KR2Player* player = host_.Player();
    const CityRef city = host_.CurrentCity();
    std::vector<TrackRef> tracks;
    if (map != nullptr) {
        map->GetTracksOfCity(city, tracks);
    }
    Clear(fade);
    if (map == nullptr || player == nullptr) {
        ENGINE_LOG(1, "MapOfferPanel: no map or no player to offer tickets to");
        return;
    }
    CreateOfferedTickets(*player, tracks);
    PlayControlSound("SOUND_TICKET_APPEARS", kMapSection);
    const Plan plan = PlanAt(*map, *player, city);
    for (const Offer& offer : plan.offers) {
        if (offer.ticket) {
            AddTicket(offer, *map);
        } else {
            AddSign(offer, *map, city.section);
        }
    }
    AddArrows(plan);
    if (Button* menu = host_.MenuButton()) {
        menu->SetEnabled(true);
    }
}

void MapOfferPanel::AddTicket(const Offer& offer, const SectionList& map) {
    const Ref<TicketSprite> sprite = CreateNamed<TicketSprite>("SPRITE_TICKET");
    if (!sprite) {
        return;
    }
    sprite->SetHost(this);
    ShowRoute(offer.track);
    tickets_.push_back(sprite);
    // Under the station, so the station is drawn over the ticket's foot.
    Sprite* station = StationOf(TicketSprite::Destination(*offer.ticket, map));
    if (station != nullptr && station->GetParent() != nullptr) {
        sprite->InsertBefore(station);
        sprite->SetRemoved(false);
    }
    sprite->SetHighlight(station);
    sprite->SetTicket(offer.ticket.Get(), map);
    sprite->SetAlpha(0);
    sprite->AddModifier(Ref<Modifier>(new ModifierValue(0, 255, kFadeMs)).Get());
    // Tickets are asked first, before the price signs and the scene.
    if (InputListenerList* listeners = ListenersOf(host_.HostScene())) {
        listeners->RemoveListener(sprite.Get());
        listeners->AddListener(sprite.Get(), true);
    }
}

void MapOfferPanel::AddSign(const Offer& offer, const SectionList& map, int32_t section) {
    const Ref<TrackInfoSprite> sign = CreateNamed<TrackInfoSprite>("SPRITE_BUY");
    if (!sign) {
        return;
    }
    sign->SetHost(this);
    ShowRoute(offer.track);
    sign->SetCost(MapTrackShop::GetTrackCost(section));
    sign->SetTrack(offer.track, host_.CurrentCity(), map);
    host_.HostScene().BindControl(sign.Get(), buyFunction_, buyContext_);
    sign->SetAlpha(0);
    sign->AddModifier(Ref<Modifier>(new ModifierValue(0, 255, kFadeMs)).Get());
    signs_.push_back(sign);

    Sprite* station = StationOf(sign->GetCity());
    Sprite* anchor = station;
    if (station != nullptr && station->GetCurrentFrame() == kStationLockedFrame) {
        const auto* withDisabled = ObjectCast<DisabledSpriteImageVector>(station);
        Sprite* disabled = withDisabled != nullptr ? withDisabled->GetDisabledSprite() : nullptr;
        GameNode* assets = host_.AssetsNode(section);
        if (disabled != nullptr && assets != nullptr) {
            assets->AddChild(disabled);
            disabled->SetRemoved(false);
            anchor = disabled;
        }
    }
    if (anchor == nullptr) {
        ENGINE_LOG(1, "MapOfferPanel: the price sign's city has no station to stand at");
        return;
    }
    sign->SetHighlight(anchor);
    if (anchor->GetParent() != nullptr) {
        sign->InsertBefore(anchor);
        sign->SetRemoved(false);
    }
}

void MapOfferPanel::AddArrows(const Plan& plan) {
    if (!nextArrow_ && plan.nextArrow) {
        nextArrow_ = MakeArrow(kScreenWidth, "BUTTON_ARROW_RIGHT", Sprite::kRight, &MapOfferPanel::OnNextArrow);
    }
    if (!previousArrow_ && plan.previousArrow) {
        previousArrow_ = MakeArrow(0, "BUTTON_ARROW_LEFT", Sprite::kLeft, &MapOfferPanel::OnPreviousArrow);
    }
}

Button* MapOfferPanel::MakeArrow(int32_t x, const char* image, int32_t anchor, ControlCallback::Function function) {
    const Ref<Object> data = FindResourceData(image, kMapSection);
    auto* arrow = new Button(x, kArrowY, ObjectCast<Surface>(data.Get()), nullptr, nullptr);
    arrow->SetClickSound("SOUND_BUTTON");
    arrow->SetSoundSection("default");
    arrow->SetAnchorKind(anchor);
    arrow->SetPivotKind(anchor);
    Scene& scene = host_.HostScene();
    scene.BindControl(arrow, function, this);
    GameNode* content = &host_.SequenceNode();
    content->AddChild(arrow);
    return arrow;
}

void MapOfferPanel::StopListening(InputListener* offer) {
    if (InputListenerList* listeners = ListenersOf(host_.HostScene())) {
        listeners->RemoveListener(offer);
    }
    // A map hint may have let the offer take clicks through its bubble.
    if (HintDialog* hint = HintDialog::Open()) {
        hint->GetListenerList()->RemoveListener(offer);
    }
}

void MapOfferPanel::DropOffer(Sprite& sprite, bool fade) {
    if (auto* listener = dynamic_cast<InputListener*>(&sprite)) {
        StopListening(listener);
    }
    if (fade) {
        Modifier* fadeOut = sprite.AddModifier(Ref<Modifier>(new ModifierValue(255, 0, kFadeMs)).Get());
        fadeOut->SetOptions(Modifier::kRemoveNodeAtEnd);
    } else {
        sprite.SetRemoved(true);
    }
}

void MapOfferPanel::Clear(bool fade) {
    for (const Ref<TicketSprite>& sprite : tickets_) {
        DropOffer(*sprite, fade);
    }
    for (const Ref<TrackInfoSprite>& sign : signs_) {
        DropOffer(*sign, fade);
    }
    for (Ref<Button>* arrow : {&nextArrow_, &previousArrow_}) {
        if (*arrow) {
            DropOffer(**arrow, fade);
        }
        *arrow = nullptr;
    }
    tickets_.clear();
    signs_.clear();
    ClearRoutes();
    if (Button* menu = host_.MenuButton()) {
        menu->SetEnabled(true);
    }
}

void MapOfferPanel::ClearRoutes() {
    MapRouteDots& dots = host_.RouteDots();
    for (const std::vector<Sprite*>& route : dots.Routes()) {
        for (Sprite* dot : route) {
            dot->SetFrame(0);
        }
    }
    dots.Clear();
    routeTracks_.clear();
    routeLit_.clear();
}

void MapOfferPanel::DrawBoughtTrack(TrackRef track) {
    shop_.BuyTrack(track, false);
}

int32_t MapOfferPanel::RouteOf(TrackRef track) const {
    for (size_t i = 0; i < routeTracks_.size(); ++i) {
        if (routeTracks_[i] == track) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

void MapOfferPanel::ShowRoute(TrackRef track) {
    const SectionList* map = SectionList::Instance();
    const TrackInfo* info = map != nullptr ? map->FindTrack(track) : nullptr;
    GameNode* parent = host_.HighlightNode();
    if (info == nullptr || parent == nullptr) {
        return;
    }
    const Ref<Path> curve = CurveFromCity(info->GetPath(), map->FindCity(host_.CurrentCity()));
    MapRouteDots& dots = host_.RouteDots();
    dots.SetPhase(0.0f);
    // Beyond the pool a route goes without dots; the map keeps within it.
    if (!dots.AddRoute(curve.Get(), DotCount(curve->GetLength()), *parent)) {
        ENGINE_LOG(1, "MapOfferPanel: no dots left for the route of track %d", track.track);
        return;
    }
    routeTracks_.push_back(track);
    routeLit_.push_back(false);
}

void MapOfferPanel::HighlightRoute(TrackRef track, bool on) {
    const int32_t route = RouteOf(track);
    const auto& routes = host_.RouteDots().Routes();
    if (route < 0 || static_cast<size_t>(route) >= routes.size() || routeLit_[static_cast<size_t>(route)] == on) {
        return;
    }
    routeLit_[static_cast<size_t>(route)] = on;
    GameNode* parent = host_.HighlightNode();
    for (Sprite* dot : routes[static_cast<size_t>(route)]) {
        dot->SetFrame(on ? 1 : 0);
        // The lit route is drawn over the others.
        if (parent != nullptr) {
            parent->AddChild(dot);
        }
    }
}

void MapOfferPanel::OnMouseMove(int32_t x, int32_t y) {
    for (const Ref<TicketSprite>& sprite : tickets_) {
        const Sprite* beside = sprite->GetHighlight();
        const bool hit = sprite->HitTest(x, y) || (beside != nullptr && beside->HitTest(x, y));
        const TicketInfo* ticket = sprite->GetTicket();
        if (ticket != nullptr) {
            HighlightRoute(TrackRef{ticket->Track, ticket->Section}, hit);
        }
        if (hit) {
            return;
        }
    }
    for (const Ref<TrackInfoSprite>& sign : signs_) {
        const Sprite* anchor = sign->GetHighlight();
        const bool hit = sign->HitTest(x, y) || (anchor != nullptr && anchor->HitTest(x, y));
        HighlightRoute(sign->GetTrack(), hit);
        if (hit) {
            return;
        }
    }
}

void MapOfferPanel::RemoveTicketSprites() {
    for (const Ref<TicketSprite>& sprite : tickets_) {
        StopListening(sprite.Get());
        sprite->SetRemoved(true);
    }
    tickets_.clear();
}

void MapOfferPanel::SetOffersInputEnabled(bool enabled) {
    for (const Ref<TicketSprite>& sprite : tickets_) {
        sprite->SetInputEnabled(enabled);
    }
    for (const Ref<TrackInfoSprite>& sign : signs_) {
        sign->SetInputEnabled(enabled);
    }
}

int32_t MapOfferPanel::InteractionState() const {
    return host_.State();
}

void MapOfferPanel::PlayWobble(Sprite& sprite) {
    PlayZoomWobble(sprite);
}

void MapOfferPanel::OpenTicketDialog(TicketInfo& ticket) {
    KR2Player* player = host_.Player();
    TicketSprite* opener = nullptr;
    for (const Ref<TicketSprite>& sprite : tickets_) {
        if (sprite->GetTicket() == &ticket) {
            opener = sprite.Get();
        }
    }
    if (player == nullptr || opener == nullptr) {
        return;
    }
    // A ticket looked at ends the fixed rating of the next offers, even when it is not played.
    player->fakepass = false;
    player->currentTicket = &ticket;
    Scene& scene = host_.HostScene();
    auto* dialog = ObjectCast<TicketDialog>(scene.GetDialog("DIALOG_TICKET"));
    if (dialog == nullptr) {
        ENGINE_LOG(1, "MapOfferPanel: \"DIALOG_TICKET\" is no ticket dialog");
        return;
    }
    ticketDialog_ = dialog;
    dialog->BindControlByName("BUTTON_PLAY", &MapOfferPanel::OnDialogPlay, this);
    dialog->BindControlByName("BUTTON_CANCEL", &MapOfferPanel::OnDialogCancel, this);
    dialog->SetTicketSprite(opener);
    scene.ShowDialog(dialog);
    host_.SetState(MapShopHost::kTicketDialog);
    if (HintDialog* open = HintDialog::Open()) {
        open->Advance();
        return;
    }
    BubbleOpener bubbles;
    OpenTicketDialogHint(player, dialog, TicketSprite::PassengerCount(ticket), tickets_.size(), bubbles);
}

int32_t MapOfferPanel::OnDialogPlay(void* context, GameNode*) {
    auto* panel = static_cast<MapOfferPanel*>(context);
    if (!panel->ticketDialog_) {
        return 0;
    }
    panel->PlayTicket();
    panel->host_.HostScene().CloseDialog(panel->ticketDialog_.Get());
    panel->ticketDialog_ = nullptr;
    panel->host_.SetState(MapShopHost::kIdle);
    return 0;
}

int32_t MapOfferPanel::OnDialogCancel(void* context, GameNode*) {
    auto* panel = static_cast<MapOfferPanel*>(context);
    if (KR2Player* player = panel->host_.Player()) {
        player->currentTicket = nullptr;
    }
    if (panel->ticketDialog_) {
        TicketDialog::Close(panel->ticketDialog_.Get());
        panel->ticketDialog_ = nullptr;
    }
    panel->host_.SetState(MapShopHost::kIdle);
    return 0;
}

void MapOfferPanel::PlayTicket() {
    RemoveTicketSprites();
    if (SectionManager* sections = SectionManager::Instance()) {
        sections->ClearLoadQueue();
    }
    if (SceneManager* manager = SceneManager::Instance()) {
        manager->RequestSectionAfterLeaving("gamescene");
    }
    if (KR2Player* player = host_.Player()) {
        if (player->currentTicket) {
            player->currentTicket->Finished = false;
        }
        player->fakepass = false;
    }
    SceneManager* manager = SceneManager::Instance();
    const DialogTable* table = DialogTable::Instance();
    if (manager == nullptr || table == nullptr) {
        return;
    }
    Scene* game = manager->FindScene("SCENE_GAME");
    if (game == nullptr) {
        ENGINE_LOG(1, "MapOfferPanel: no \"SCENE_GAME\" to play the ticket in");
        return;
    }
    const Ref<Object> transition(table->CreateDialog("TRANSITION_SPECIAL"));
    PlayControlSound("SOUND_MAPGAMEMAP", "dialogs");
    manager->RequestSwitch(game, ObjectCast<SceneTransition>(transition.Get()));
}

int32_t MapOfferPanel::OnNextArrow(void* panel, GameNode*) {
    static_cast<MapOfferPanel*>(panel)->host_.ShowNextSection();
    return 0;
}

int32_t MapOfferPanel::OnPreviousArrow(void* panel, GameNode*) {
    static_cast<MapOfferPanel*>(panel)->host_.ShowPreviousSection();
    return 0;
}
