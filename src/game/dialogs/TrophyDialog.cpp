#include "game/dialogs/TrophyDialog.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "engine/foundation/MediaNumbers.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/foundation/TextConversions.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierEaseMove.h"
#include "engine/scene/ModifierScaleBounce.h"
#include "engine/scene/ModifierSound.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/ModifierZoom.h"
#include "engine/scene/SceneResources.h"
#include "engine/ui/Button.h"
#include "engine/ui/ControlSupport.h"
#include "engine/ui/Label.h"
#include "engine/ui/ScrollPanel.h"
#include "engine/ui/Slider.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/GameSceneHooks.h"
#include "game/dialogs/TrophyButton.h"
#include "game/progress/KR2Player.h"
#include "game/progress/Rankings.h"
#include "game/words/TicketConstants.h"
#include "game/world/ScoreStars.h"

namespace {

const ClassRegistration registration("TrophyDialog", CreateFromProperty<TrophyDialog>);

constexpr int32_t kOpenDelayMs = 200;
constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;
// About fifty pages a frame: a millisecond or less of page faults.
constexpr int32_t kWarmRowsPerFrame = 64;
constexpr int32_t kFlightWaitMs = 500;
constexpr int32_t kFlightMs = 700;
// The stars thrown from a trophy that has landed.
constexpr int32_t kStarsX = -18;
constexpr int32_t kStarsY = 18;
constexpr int32_t kStarCount = 28;
constexpr int32_t kStarSpread = 36;

Players::List PlayerList() {
    const Players* players = Players::Instance();
    return players != nullptr ? players->GetPlayers() : Players::List();
}

Ref<Label> EmptyLabel() { return Ref<Label>(Label::LabelFromValues(0, 0, 0, 0, nullptr, Label::kNoWrap)); }

// The cabinet a node has been linked into, or null.
TrophyDialog* CabinetOf(GameNode* node) {
    for (GameNode* up = node; up != nullptr; up = up->GetParent()) {
        if (auto* cabinet = ObjectCast<TrophyDialog>(up)) {
            return cabinet;
        }
    }
    return nullptr;
}

// A label built from a definition by its element name.
Ref<Label> BuildLabel(Property* definition, const char* key) {
    Property* found = Property::Child(definition, key);
    if (found == nullptr) {
        ENGINE_LOG(1, "TrophyDialog: no \"%s\" definition", key);
        return EmptyLabel();
    }
    const Ref<Object> built(ClassFactory::Instance().Create(&Property::NodeOf(found)));
    if (auto* label = ObjectCast<Label>(built.Get())) {
        return Ref<Label>(label);
    }
    ENGINE_LOG(1, "TrophyDialog: \"%s\" builds no label", key);
    return EmptyLabel();
}

void ShowLabel(Label* label, bool visible) {
    if (label != nullptr) {
        label->SetVisible(visible);
    }
}

void SetLabelText(Label* label, const std::wstring& text) {
    if (label != nullptr) {
        label->SetText(text);
    }
}

}  // namespace

TrophyDialog::TrophyDialog(Property* definition) : KR2Dialog(definition) {
    nameLabel_ = ObjectCast<Label>(FindChild("LABEL_TROPHY_NAME"));
    headerLabel_ = ObjectCast<Label>(FindChild("LABEL_HEADER"));
    scrollPanel_ = ObjectCast<ScrollPanel>(FindChild("SCROLLPANEL"));
    okButton_ = ObjectCast<Button>(FindChild("BUTTON_OK"));
    prevButton_ = ObjectCast<Button>(FindChild("BUTTON_PREV"));
    nextButton_ = ObjectCast<Button>(FindChild("BUTTON_NEXT"));
    descriptionLabel_ = ObjectCast<Label>(FindChild("LABEL_DESCRIPTION"));
    void* self = static_cast<Object*>(this);
    BindControl(okButton_, &TrophyDialog::OnOk, self);
    BindControl(prevButton_, &TrophyDialog::OnPrev, self);
    BindControl(nextButton_, &TrophyDialog::OnNext, self);
    if (scrollPanel_ != nullptr) {
        BindControl(scrollPanel_->GetVerticalBar(), &ScrollPanel::OnVerticalScroll, scrollPanel_);
        BindControl(scrollPanel_->GetHorizontalBar(), &ScrollPanel::OnHorizontalScroll, scrollPanel_);
    } else {
        ENGINE_LOG(1, "TrophyDialog: no SCROLLPANEL for the statistics");
    }

    BuildTrophyButtons();
    BuildStatisticRows();

    const Players* players = Players::Instance();
    const Players::List list = PlayerList();
    const auto current = std::find_if(list.begin(), list.end(), [players](const Ref<PlayerProfile>& player) {
        return player.Get() == players->GetCurrent();
    });
    playerIndex_ = current != list.end() ? static_cast<int32_t>(current - list.begin()) : 0;
}

TrophyDialog::~TrophyDialog() = default;

void TrophyDialog::BuildTrophyButtons() {
    Property* places = Property::Child(GetDefinition(), "trophypos");
    const int32_t count = places != nullptr && places->GetKind() == Property::kVector
                              ? static_cast<int32_t>(Property::VectorOf(places).Count())
                              : 0;
    // There are only so many trophies; extra places would have no trophy.
    if (count > kTrophyCount) {
        ENGINE_LOG(1, "TrophyDialog: %d trophy places, only the first %d are used", count, kTrophyCount);
    }
    for (int32_t i = 0; i < std::min(count, kTrophyCount); ++i) {
        const Property* place = Property::At(places, i);
        Ref<TrophyButton> button(new TrophyButton(i, Property::AsInt(Property::Child(place, "x")),
                                                  Property::AsInt(Property::Child(place, "y"))));
        button->SetAlpha(0);
        Panel::AddChild(button.Get());
        GetListenerList()->RemoveListener(button.Get());
        GetListenerList()->AddListener(button.Get(), false);
        buttons_[static_cast<size_t>(i)] = button;
    }
}

void TrophyDialog::BuildStatisticRows() {
    statOffset_ = media_numbers::Position(Property::Child(GetDefinition(), "stat_offset"));
    for (int32_t row = 0; row < kStatisticRows; ++row) {
        const auto index = static_cast<size_t>(row);
        statNames_[index] = BuildLabel(GetDefinition(), "stat_name");
        statValues_[index] = BuildLabel(GetDefinition(), "stat_val");
        statNames_[index]->SetY(statNames_[index]->GetY() + statOffset_ * row);
        statValues_[index]->SetY(statValues_[index]->GetY() + statOffset_ * row);
        statNames_[index]->SetText(LookUpText("STATISTICS_NAME" + std::to_string(row + 1)));
        if (scrollPanel_ != nullptr) {
            scrollPanel_->AddChild(statNames_[index].Get());
            scrollPanel_->AddChild(statValues_[index].Get());
        }
    }
}

TrophyButton* TrophyDialog::GetTrophyButton(int32_t trophy) const {
    return trophy >= 0 && trophy < kTrophyCount ? buttons_[static_cast<size_t>(trophy)].Get() : nullptr;
}

void TrophyDialog::OnShow() {
    if (awardMode_) {
        ShowWithoutBackdrop();
        backdropHeld_ = DarkensBackground();
    } else {
        KR2Dialog::OnShow();
    }
    ShowPlayer(playerIndex_);
    const Ref<Modifier> wait(new ModifierWait(kOpenDelayMs));
    wait->SetOptions(Modifier::kBlockFollowing);
    AddModifier(wait.Get());
    FadeIn(this, DIALOG_FADE_TIME);
    ShowTrophyText();
}

void TrophyDialog::StartAwardMode(int32_t trophy) {
    awardMode_ = true;
    awardedTrophy_ = trophy;
}

bool TrophyDialog::WarmHeldPictures() {
    if (!backdropHeld_) {
        return true;
    }
    if (!warmBackdrop_) {
        warmFrame_ = warmer_.Add(GetWidth(), GetHeight());
        warmBackdrop_ = warmer_.Add(kScreenWidth, kScreenHeight);
        warmPicture_ = warmer_.Add(kScreenWidth, kScreenHeight);
    }
    return warmer_.Step(kWarmRowsPerFrame);
}

void TrophyDialog::PaintHeldBackdrop() {
    if (!backdropHeld_) {
        return;
    }
    backdropHeld_ = false;
    if (warmFrame_ && warmer_.Done() && warmFrame_->GetWidth() == GetWidth() &&
        warmFrame_->GetHeight() == GetHeight()) {
        DarkenBackground(warmFrame_, warmBackdrop_);
    } else {
        DarkenBackground();
    }
    warmFrame_ = nullptr;
    warmBackdrop_ = nullptr;
}

void TrophyDialog::PrepareHeldPicture() {
    PrepareBuffer(warmPicture_);
    warmPicture_ = nullptr;
    warmer_ = SurfaceWarmer();
}

void TrophyDialog::Reveal() {
    PaintHeldBackdrop();
    SetVisible(true);
}

void TrophyDialog::ShowPlayer(int32_t playerIndex) {
    const Players::List list = PlayerList();
    const auto* player = playerIndex >= 0 && playerIndex < static_cast<int32_t>(list.size())
                             ? ObjectCast<KR2Player>(list[static_cast<size_t>(playerIndex)].Get())
                             : nullptr;
    if (player == nullptr) {
        ENGINE_LOG(1, "TrophyDialog: no player %d in the player list", playerIndex);
        return;
    }
    playerIndex_ = playerIndex;
    SetLabelText(headerLabel_, NarrowToWide(player->GetName()));
    if (prevButton_ != nullptr) {
        prevButton_->SetEnabled(playerIndex_ > 0);
    }
    if (nextButton_ != nullptr) {
        nextButton_->SetEnabled(playerIndex_ < static_cast<int32_t>(list.size()) - 1);
    }
    FillStatistics(*player);
    StackStatisticRows();
    for (int32_t i = 0; i < kTrophyCount; ++i) {
        TrophyButton* button = GetTrophyButton(i);
        if (button == nullptr) {
            continue;
        }
        const bool shown = player->trophies[static_cast<size_t>(i)] == KR2Player::kTrophyShown &&
                           !(awardMode_ && i == awardedTrophy_);
        button->SetAlpha(shown ? 255 : 0);
    }
}

void TrophyDialog::FillStatistics(const KR2Player& player) {
    const PlayerStats& stats = player.stats;
    const int32_t rank = player.ComputeRankIndex();
    const std::wstring values[kStatisticRows] = {
        IntToWString(static_cast<int>(player.cp * 100.0f)) + L"%",
        IntToWString(stats.tracksBought),
        rankings::GetRankName(rank),
        rankings::GetRankName(std::min(rank + 1, rankings::kTopRank)),
        IntToWString(stats.numWordsInserted),
        IntToWString(stats.coalsUsed),
        IntToWString(stats.moneyEarned),
        IntToWString(stats.moneySpent),
        IntToWString(std::accumulate(stats.playcount.begin(), stats.playcount.end(), 0)),
        IntToWString(stats.missionsWon[0]),
        IntToWString(stats.missionsWon[1]),
        IntToWString(stats.missionsWon[2]),
        IntToWString(stats.missionsLost),
    };
    for (int32_t row = 0; row < kStatisticRows; ++row) {
        statValues_[static_cast<size_t>(row)]->SetText(values[row]);
    }
}

void TrophyDialog::StackStatisticRows() {
    int32_t y = statNames_[0]->GetY();
    for (int32_t row = 0; row < kStatisticRows; ++row) {
        Label& name = *statNames_[static_cast<size_t>(row)];
        Label& value = *statValues_[static_cast<size_t>(row)];
        name.SetY(y);
        value.SetY(y);
        if (name.GetHeight() > statOffset_) {
            // A name on several lines keeps its value level with its last line.
            value.SetY(y + name.GetHeight() - value.GetHeight());
            y += name.GetHeight();
        } else {
            y += std::max(value.GetHeight(), statOffset_);
        }
    }
    if (scrollPanel_ != nullptr) {
        scrollPanel_->GetContentPanel()->SetHeight(y);
        scrollPanel_->UpdateClipping();
    }
}

bool TrophyDialog::OnMouseMove(int32_t x, int32_t y, uint32_t flags) {
    if (awardMode_) {
        return false;
    }
    int32_t pointed = -1;
    for (int32_t i = 0; i < kTrophyCount && pointed < 0; ++i) {
        const TrophyButton* button = GetTrophyButton(i);
        if (button != nullptr && button->HitTest(x, y)) {
            pointed = i;
        }
    }
    if (pointed != pointedTrophy_) {
        pointedTrophy_ = pointed;
        ShowTrophyText();
    }
    return KR2Dialog::OnMouseMove(x, y, flags);
}

void TrophyDialog::ShowTrophyText() {
    if (pointedTrophy_ >= 0) {
        SetLabelText(nameLabel_, LookUpText("TROPHY_NAME" + std::to_string(pointedTrophy_)));
        SetLabelText(descriptionLabel_, LookUpText("TROPHY_DESC" + std::to_string(pointedTrophy_)));
        ShowLabel(nameLabel_, true);
        ShowLabel(descriptionLabel_, true);
        nothingPointedYet_ = false;
    } else if (nothingPointedYet_) {
        SetLabelText(descriptionLabel_, LookUpText("TROPHY_DESC_DEFAULT"));
        ShowLabel(descriptionLabel_, true);
        ShowLabel(nameLabel_, false);
    } else {
        ShowLabel(nameLabel_, false);
        ShowLabel(descriptionLabel_, false);
    }
}

int32_t TrophyDialog::OnPrev(void* context, GameNode*) {
    if (auto* self = ObjectCast<TrophyDialog>(static_cast<Object*>(context))) {
        self->ShowPlayer(self->playerIndex_ - 1);
    }
    return 0;
}

int32_t TrophyDialog::OnNext(void* context, GameNode*) {
    if (auto* self = ObjectCast<TrophyDialog>(static_cast<Object*>(context))) {
        self->ShowPlayer(self->playerIndex_ + 1);
    }
    return 0;
}

int32_t TrophyDialog::OnOk(void* context, GameNode*) {
    auto* self = ObjectCast<TrophyDialog>(static_cast<Object*>(context));
    if (self == nullptr) {
        return 0;
    }
    if (self->afterClose_) {
        self->KR2Dialog::SetAfterClose([](KR2Dialog* dialog) {
            auto* cabinet = ObjectCast<TrophyDialog>(dialog);
            if (cabinet != nullptr && cabinet->afterClose_) {
                const AfterClose function = cabinet->afterClose_;
                function(CurrentDialogScene());
            }
        });
    }
    self->Close();
    return 0;
}

void TrophyDialog::MoveAwardedTrophy(Sprite* big) {
    TrophyButton* target = GetTrophyButton(awardedTrophy_);
    if (big == nullptr || target == nullptr) {
        ENGINE_LOG(1, "TrophyDialog: trophy %d has no place to fly to", awardedTrophy_);
        ThrowStars();
        return;
    }
    SetLabelText(nameLabel_, LookUpText("TROPHY_NAME" + std::to_string(awardedTrophy_)));
    SetLabelText(descriptionLabel_, LookUpText("TROPHY_DESC" + std::to_string(awardedTrophy_)));
    ShowLabel(nameLabel_, true);
    ShowLabel(descriptionLabel_, true);
    const Ref<Modifier> wait(new ModifierWait(kFlightWaitMs));
    wait->SetOptions(Modifier::kBlockFollowing);
    big->AddModifier(wait.Get());
    // The flight starts from where the trophy is once the award dialog has
    // handed it over, so it is planned only then.
    big->AddModifier(new ModifierCallback(
        [](uint32_t, GameNode* node) {
            auto* sprite = ObjectCast<Sprite>(node);
            if (TrophyDialog* cabinet = CabinetOf(node); cabinet != nullptr && sprite != nullptr) {
                cabinet->FlyIn(*sprite);
            }
        },
        0));
}

void TrophyDialog::FlyIn(Sprite& big) {
    const TrophyButton* target = GetTrophyButton(awardedTrophy_);
    if (target == nullptr) {
        ThrowStars();
        return;
    }
    const float scale = Property::AsFloat(
        Property::Child(Property::At(ticket_constants::List("TROPHY_BIG_SPRITES"), awardedTrophy_), "scale"));
    // An OK pressed early finds the entrance bounce still running; left on,
    // it would fight the zoom and leave the trophy at the wrong size.
    for (Modifier* animation : big.GetAnimations()) {
        if (ObjectCast<ModifierScaleBounce>(animation) != nullptr) {
            animation->SetCancelled(true);
        }
    }
    big.AddModifier(new ModifierSound("SOUND_TROPHY_MOVE", "default", true));
    big.AddModifier(new ModifierEaseMove(static_cast<float>(big.GetX()), static_cast<float>(big.GetY()),
                                         target->GetX(), target->GetY(), kFlightMs, true, true, Smoothstep));
    const Ref<Modifier> zoom(new ModifierZoom(kFlightMs, 1.0f, scale));
    zoom->SetOptions(Modifier::kBlockFollowing);
    big.AddModifier(zoom.Get());
    big.AddModifier(new ModifierCallback(
        [](uint32_t, GameNode* node) {
            if (TrophyDialog* cabinet = CabinetOf(node)) {
                cabinet->ThrowStars();
            }
        },
        0));
}

void TrophyDialog::ThrowStars() {
    awardMode_ = false;
    SetActive(true);
    ShowPlayer(playerIndex_);
    if (TrophyButton* button = GetTrophyButton(awardedTrophy_)) {
        SpawnScoreStars(*button, kStarsX, kStarsY, kStarCount, kStarSpread, -1);
    }
    PlayControlSound("SOUND_THROWSTARS", "default");
}
