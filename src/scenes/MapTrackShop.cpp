#include "scenes/MapTrackShop.h"

#include <cmath>

#include "engine/foundation/Defines.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Players.h"
#include "engine/media/ImageTools.h"
#include "engine/scene/DialogTable.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierEaseMove.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/ModifierPulse.h"
#include "engine/scene/ModifierSound.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/SceneResources.h"
#include "engine/ui/Button.h"
#include "engine/ui/LabelTicker.h"
#include "engine/ui/Scene.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/FinalCreditsDialog.h"
#include "game/dialogs/GameSceneHooks.h"
#include "game/dialogs/HintDialog.h"
#include "game/dialogs/HintTriggers.h"
#include "game/dialogs/TrophyAwardedDialog.h"
#include "game/dialogs/YesNoDialog.h"
#include "game/progress/KR2Player.h"
#include "game/words/TicketConstants.h"
#include "game/world/ModifierBuildTrack.h"
#include "game/world/SectionList.h"
#include "game/world/TicketSprite.h"
#include "game/world/TrackInfoSprite.h"
#include "scenes/MapShopHost.h"
#include "scenes/MapOfferPanel.h"

namespace {

constexpr const char* kMapSection = "mapscene";
// The hint that tells of a finished section.
constexpr size_t kSectionDoneHint = 40;

Ref<Surface> FindMapImage(const char* name) {
    const Ref<Object> data = FindResourceData(name, kMapSection);
    return Ref<Surface>(ObjectCast<Surface>(data.Get()));
}

std::wstring TextOf(const std::string& id) {
    const Defines* defines = Defines::Instance();
    return defines != nullptr ? defines->GetText(id) : std::wstring();
}

}  // namespace

MapTrackShop::MapTrackShop(MapShopHost& host, MapOfferPanel& panel) : host_(host), panel_(panel) {
    panel_.SetBuyHandler(&MapTrackShop::OnTrackSign, this);
}

MapTrackShop::~MapTrackShop() = default;

int32_t MapTrackShop::GetTrackCost(int32_t section) {
    if (section < 0) {
        return 0;
    }
    return ticket_constants::IntAt(ticket_constants::List("COST_TRACK"), section);
}

bool MapTrackShop::IsSectionComplete(const SectionInfo& section) {
    for (const Ref<TrackInfo>& track : section.tracks) {
        if (!track->bought) {
            return false;
        }
    }
    return true;
}

CityRef MapTrackShop::FarCity(const TrackInfo& track, CityRef current) {
    return track.ends[0] == current ? track.ends[1] : track.ends[0];
}

std::wstring MapTrackShop::FormatPrice(const std::wstring& format, int32_t price) {
    std::wstring text;
    bool placed = false;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == L'%' && i + 1 < format.size()) {
            const wchar_t next = format[i + 1];
            if (next == L'%') {
                text += L'%';
                ++i;
                continue;
            }
            if (!placed && (next == L'i' || next == L'd')) {
                text += std::to_wstring(price);
                placed = true;
                ++i;
                continue;
            }
        }
        text += format[i];
    }
    return text;
}

int32_t MapTrackShop::OnTrackSign(void* shop, GameNode* sender) {
    if (const auto* sign = ObjectCast<TrackInfoSprite>(sender)) {
        static_cast<MapTrackShop*>(shop)->AskBuyTrack(*sign);
    }
    return 0;
}

void MapTrackShop::AskBuyTrack(const TrackInfoSprite& sign) {
    if (HintDialog* hint = HintDialog::Open()) {
        hint->Advance();
    }
    if (dialog_) {
        return;
    }
    KR2Player* player = host_.Player();
    if (player == nullptr) {
        return;
    }
    askedTrack_ = sign.GetTrack();
    const int32_t price = GetTrackCost(askedTrack_.section);
    if (player->coins < price) {
        BubbleOpener bubbles;
        OpenTooFewCoinsHint(player->coins, price, bubbles);
        return;
    }
    Scene& scene = host_.HostScene();
    // Another question on screen: asking nothing must not leave the map
    // waiting for an answer that cannot come.
    if (scene.IsDialogShown("DIALOG_YESNO")) {
        return;
    }
    auto* question = ObjectCast<YesNoDialog>(scene.GetDialog("DIALOG_YESNO"));
    if (question == nullptr) {
        ENGINE_LOG(1, "MapTrackShop: \"DIALOG_YESNO\" is no question dialog");
        return;
    }
    dialog_ = question;
    question->SetQuestion(FormatPrice(TextOf("TEXT_BUY_TRACK"), price), TextOf("TEXT_BUY_TRACK_HEADER"), this,
                          &MapTrackShop::OnYes, this, &MapTrackShop::OnNo);
    KR2Dialog::FadeIn(question, DIALOG_FADE_TIME);
    scene.ShowDialog(question);
    host_.SetState(MapShopHost::kBuyQuestion);
}

int32_t MapTrackShop::OnYes(void* shop, GameNode*) {
    static_cast<MapTrackShop*>(shop)->OnBuyTrackYes();
    return 0;
}

int32_t MapTrackShop::OnNo(void* shop, GameNode*) {
    static_cast<MapTrackShop*>(shop)->OnBuyTrackNo();
    return 0;
}

void MapTrackShop::OnBuyTrackYes() {
    if (!dialog_) {
        return;
    }
    const Ref<YesNoDialog> question = dialog_;
    dialog_ = nullptr;
    question->Close();
    BuyTrack(askedTrack_, true);
    if (Button* menu = host_.MenuButton()) {
        menu->SetEnabled(false);
    }
    if (KR2Player* player = host_.Player()) {
        const int32_t price = GetTrackCost(askedTrack_.section);
        player->coins -= price;
        player->stats.moneySpent += price;
        // The counter heads for what is left; each flying coin takes one off the way.
        if (LabelTicker* counter = host_.CoinsLabel()) {
            counter->SetTarget(player->coins);
        }
        if (Players* players = Players::Instance()) {
            players->Save();
        }
        // Counted after the save, as the list file has always held it.
        player->stats.tracksBought += 1;
    }
}

void MapTrackShop::OnBuyTrackNo() {
    if (dialog_) {
        dialog_->Close();
        dialog_ = nullptr;
    }
    host_.SetState(MapShopHost::kIdle);
}

void MapTrackShop::BuyTrack(TrackRef ref, bool animate) {
    SectionList* map = SectionList::Instance();
    TrackInfo* track = map != nullptr ? map->FindTrack(ref) : nullptr;
    if (track == nullptr) {
        ENGINE_LOG(1, "MapTrackShop: track %d of section %d is not on the map", ref.track, ref.section);
        return;
    }
    if (animate) {
        host_.ShowSection(false);
    }
    track->bought = true;
    KR2Player* player = host_.Player();
    if (player != nullptr) {
        player->UpdateTrackProgress();
        player->stats.gamesCounter = 0;
    }
    const Ref<Surface> circle = FindMapImage("TRACKBUYCIRCLE");
    CityInfo* ends[2] = {map->FindCity(track->ends[0]), map->FindCity(track->ends[1])};
    for (CityInfo* city : ends) {
        if (city != nullptr) {
            city->bought = true;
        }
    }
    if (!animate) {
        StampTrack(*track);
        StampReachedCity(track->ends[0]);
        StampReachedCity(track->ends[1]);
        return;
    }
    Sprite* overlay = host_.Overlay();
    Surface* overlayImage = overlay != nullptr ? overlay->GetImage() : nullptr;
    GameNode& sequence = host_.SequenceNode();
    const Ref<Path> route = MapOfferPanel::CurveFromCity(track->GetPath(), map->FindCity(host_.CurrentCity()));
    auto* build = new ModifierBuildTrack(*track, ends[0], ends[1], circle.Get(), overlayImage,
                                         host_.HostScene().GetRootNode(), BUYTRACK_DURATION);
    build->SetRoute(route.Get());
    sequence.AddModifier(Blocking(build));
    sequence.AddModifier(new ModifierSound("SOUND_BUYTRACKFINISHED", kMapSection, true));
    FlyCoins(GetTrackCost(ref.section));

    const int32_t shown = host_.ShownSection();
    SectionInfo* section =
        shown >= 0 && shown < SectionList::kSectionCount ? &map->Section(shown) : nullptr;
    if (section != nullptr && IsSectionComplete(*section) && overlayImage != nullptr) {
        if (player != nullptr) {
            player->trophies[static_cast<size_t>(shown)] = KR2Player::kTrophyPending;
            player->hints[kSectionDoneHint] = false;
        }
        section->finished = true;
        if (shown < kLastSection) {
            if (CityInfo* leave = map->FindCity(CityRef{section->leave, shown})) {
                leave->bought = true;
            }
            const SectionInfo& next = map->Section(shown + 1);
            if (CityInfo* enter = map->FindCity(CityRef{next.enter, shown + 1})) {
                enter->bought = true;
            }
            sequence.AddModifier(Blocking(new ModifierWait(kTrophyWaitMs)));
        }
        Then(&MapTrackShop::AwardSectionTrophy);
    } else {
        Then(&MapTrackShop::AfterTrackBought);
    }
    panel_.Clear(true);
}

void MapTrackShop::Then(void (MapTrackShop::*step)()) {
    host_.SequenceNode().AddModifier(new ModifierCallback([this, step](uint32_t, GameNode*) { (this->*step)(); }, 0));
}

void MapTrackShop::StampTrack(const TrackInfo& track) {
    Sprite* overlay = host_.Overlay();
    Surface* image = overlay != nullptr ? overlay->GetImage() : nullptr;
    const Ref<Surface> circle = FindMapImage("TRACKBUYCIRCLE");
    if (image == nullptr || !circle) {
        return;
    }
    const Ref<Canvas> canvas = DisplayCanvasFor(*image);
    const Path& path = track.GetPath();
    const double length = path.GetLength();
    for (float d = 0.0f; d <= length; d += kStampSpacing) {
        PointF point;
        path.GetPointAtDistance(d, point);
        if (point.x <= 0.0f || point.y <= 0.0f) {
            continue;
        }
        DrawImageCentered(*canvas, *image, *circle, static_cast<int32_t>(std::lround(point.x)),
                          static_cast<int32_t>(std::lround(point.y)));
    }
}

void MapTrackShop::StampReachedCity(CityRef ref) {
    const SectionList* map = SectionList::Instance();
    CityInfo* city = map != nullptr ? map->FindCity(ref) : nullptr;
    if (city == nullptr) {
        return;
    }
    for (const Ref<Object>& node : city->mapNodes) {
        auto* sprite = ObjectCast<Sprite>(node.Get());
        // A city shown once is not stamped again.
        if (sprite == nullptr || sprite->IsVisible()) {
            return;
        }
        sprite->SetVisible(true);
        sprite->SetFrame(0);
    }
    Sprite* overlay = host_.Overlay();
    Surface* image = overlay != nullptr ? overlay->GetImage() : nullptr;
    const Ref<Surface> ring = FindMapImage("TRACKPLAYCIRCLE");
    if (image != nullptr && ring) {
        const Ref<Canvas> canvas = DisplayCanvasFor(*image);
        DrawImageScaled(*canvas, *image, *ring, city->circleX, city->circleY,
                        static_cast<float>(city->circleRadius) * (1.0f / kPlayCircleRadius));
    }
}

void MapTrackShop::FlyCoins(int32_t price) {
    if (price <= 0) {
        return;
    }
    const DialogTable* table = DialogTable::Instance();
    const Ref<Object> created(table != nullptr ? table->CreateObject("COIN") : nullptr);
    const Ref<Sprite> coin(ObjectCast<Sprite>(created.Get()));
    const LabelTicker* counter = host_.CoinsLabel();
    GameNode* root = host_.HostScene().GetRootNode();
    if (!coin || counter == nullptr || root == nullptr) {
        ENGINE_LOG(1, "MapTrackShop: no coin to fly off the counter");
        return;
    }
    coin->AddModifier(new ModifierFrame(-1, kCoinFrameMs));
    coin->SetAlpha(0);
    root->AddChild(coin.Get());
    const int32_t x0 = counter->GetX() - coin->GetWidth() / 2;
    const int32_t y0 = counter->GetY() - coin->GetHeight() / 2;
    const int32_t step = BUYTRACK_DURATION / price;
    const ModifierPulse::Timing timing{step / 3, 0, step / 3, step / 3};
    for (int32_t i = 0; i < price; ++i) {
        coin->AddModifier(new ModifierEaseMove(static_cast<float>(x0), static_cast<float>(y0), x0, y0, 1));
        coin->AddModifier(new ModifierPulse(0, 255, timing, 1));
        coin->AddModifier(new ModifierCallback([this](uint32_t, GameNode*) { TakeOneCoin(); }, 0));
        Modifier* rise = Blocking(new ModifierEaseMove(static_cast<float>(x0), static_cast<float>(y0), x0,
                                                       y0 - kCoinRise, step, true, true, Smoothstep));
        if (i == price - 1) {
            rise->SetOptions(rise->GetOptions() | Modifier::kRemoveNodeAtEnd);
        }
        coin->AddModifier(rise);
    }
}

void MapTrackShop::TakeOneCoin() {
    LabelTicker* counter = host_.CoinsLabel();
    if (counter == nullptr) {
        return;
    }
    // The counter also counts toward the coins left on its own; taking a
    // coin past them would show fewer coins than the player has.
    const double fewer = std::trunc(counter->GetCurrent()) - 1.0;
    if (fewer >= counter->GetTarget()) {
        counter->ShowValue(fewer);
    }
}

void MapTrackShop::AfterTrackBought() {
    host_.SequenceNode().AddModifier(Blocking(new ModifierWait(BUYTRACK_FIRST_DELAY)));
    Then(&MapTrackShop::ReopenTicketPanel);
}

void MapTrackShop::ReopenTicketPanel() {
    host_.SequenceNode().AddModifier(Blocking(new ModifierWait(BUYTRACK_SECOND_DELAY)));
    Then(&MapTrackShop::EnableTicketPanel);
    panel_.Show(true);
    panel_.SetOffersInputEnabled(false);
}

void MapTrackShop::EnableTicketPanel() {
    if (Button* menu = host_.MenuButton()) {
        menu->SetEnabled(true);
    }
    host_.SetState(MapShopHost::kIdle);
    const SectionList* map = SectionList::Instance();
    const KR2Player* player = host_.Player();
    const TrackInfo* asked = map != nullptr ? map->FindTrack(askedTrack_) : nullptr;
    const int32_t shown = host_.ShownSection();
    const bool shownFinished =
        map != nullptr && shown >= 0 && shown < SectionList::kSectionCount && map->Section(shown).finished;
    const CityInfo* far = nullptr;
    if (asked != nullptr && player != nullptr) {
        far = map->FindCity(FarCity(*asked, CityRef{player->curcity, player->cursection}));
    }
    for (const Ref<TicketSprite>& sprite : panel_.TicketSprites()) {
        sprite->SetInputEnabled(true);
        const TicketInfo* ticket = sprite->GetTicket();
        if (far != nullptr && !shownFinished && ticket != nullptr && TicketSprite::Destination(*ticket, *map) == far) {
            sprite->OpenTicketDialog();
        }
    }
    for (const Ref<TrackInfoSprite>& sign : panel_.TrackInfoSprites()) {
        sign->SetInputEnabled(true);
    }
    host_.ShowSection(true);
}

void MapTrackShop::AwardSectionTrophy() {
    const KR2Player* player = host_.Player();
    const int32_t shown = host_.ShownSection();
    if (player == nullptr || shown < 0 || shown >= KR2Player::kTrophyCount ||
        player->trophies[static_cast<size_t>(shown)] != KR2Player::kTrophyPending) {
        return;
    }
    TrophyAwardedDialog::Show(shown, [this](Scene*) { AfterSectionTrophy(); });
}

void MapTrackShop::AfterSectionTrophy() {
    host_.OnSectionCleared();
    GameNode& sequence = host_.SequenceNode();
    if (Sprite* overlay = host_.Overlay()) {
        sequence.AddModifier(Blocking(new ModifierWait(static_cast<GameNode*>(overlay))));
    }
    sequence.AddModifier(Blocking(new ModifierWait(kSectionClearedWaitMs)));
    const SectionList* map = SectionList::Instance();
    if (map != nullptr && map->AllTracksBought()) {
        Then(&MapTrackShop::ShowGameEnd);
    } else {
        Then(&MapTrackShop::ReopenTicketPanel);
    }
}

void MapTrackShop::ShowGameEnd() {
    Scene* scene = CurrentDialogScene();
    YesNoDialog* message =
        YesNoDialog::Ask("TEXT_GAME_END", "TEXT_GAME_END_HEADER", nullptr, nullptr, nullptr, nullptr, scene);
    if (message == nullptr) {
        ReopenTicketPanel();
        return;
    }
    YesNoDialog::MakeOkOnly(message);
    message->SetAfterClose([this](KR2Dialog*) { ShowFinalCredits(); });
    scene->ShowDialog(message);
}

void MapTrackShop::ShowFinalCredits() {
    Scene& scene = host_.HostScene();
    auto* credits = ObjectCast<FinalCreditsDialog>(scene.GetDialog("DIALOG_FINAL_CREDITS"));
    if (credits == nullptr) {
        ENGINE_LOG(1, "MapTrackShop: \"DIALOG_FINAL_CREDITS\" is no credits dialog");
        ReopenTicketPanel();
        return;
    }
    credits->SetOnFinished([this](FinalCreditsDialog*) { ReopenTicketPanel(); });
    scene.ShowDialog(credits);
}
