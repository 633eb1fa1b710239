#include "game/dialogs/DialogLevelSuccess.h"

#include <cstdio>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/media/BitmapFont.h"
#include "engine/scene/AnimationTree.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierGroup.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/SceneResources.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/ControlSupport.h"
#include "engine/ui/Label.h"
#include "engine/ui/Scene.h"
#include "game/dialogs/DialogRanking.h"
#include "game/dialogs/GameSceneHooks.h"
#include "game/dialogs/MapDialogHooks.h"
#include "game/dialogs/NumberFields.h"
#include "game/progress/KR2Player.h"
#include "game/progress/LevelStats.h"
#include "game/progress/Rankings.h"
#include "game/world/ScoreStars.h"

namespace {

const ClassRegistration registration("DialogLevelSuccess", CreateFromProperty<DialogLevelSuccess>);

constexpr const char* kMapSection = "mapscene";
constexpr int32_t kRevealPause = 500;
constexpr int32_t kLabelFade = 40;
constexpr int32_t kRankFade = 500;
constexpr int32_t kStarCount = 6;
constexpr int32_t kMsPerHour = 3600000;

// The "CONGRATULATIONS" colour of each game type.
constexpr int32_t kTypeColours[] = {0xB20B0B, 0xB20B0B, 0x006E09, 0x071F87, 0x990A9B, 0xAF1E6E, 0x0B590A, 0x0072FF};

std::wstring TextOf(const std::string& id) {
    const Defines* defines = Defines::Instance();
    return defines != nullptr ? defines->GetText(id) : std::wstring();
}

std::wstring Decimal(int32_t value) { return std::to_wstring(value); }

template <typename T>
Ref<T> FindResource(const std::string& name, const std::string& section) {
    const Ref<Object> data = FindResourceData(name, section);
    return Ref<T>(ObjectCast<T>(data.Get()));
}

void Chain(Modifier*& last, Modifier* next, GameNode* node) { last = AnimationTree::Add(last, next, node); }

}  // namespace

DialogLevelSuccess::DialogLevelSuccess(Property* definition) : KR2Dialog(definition) {
    MapDialogHooks* hooks = MapDialogHooks::Installed();
    const KR2Player* player = hooks != nullptr ? hooks->Player() : nullptr;
    const LevelStats* level = hooks != nullptr ? hooks->LastLevel() : nullptr;
    rankChanged_ = player != nullptr && player->rankChanged;
    const int32_t type = player != nullptr && player->currentTicket ? player->currentTicket->GameType : 0;
    const std::string typeName = std::to_string(type);

    auto* congratulations = ObjectCast<Label>(FindChild("CONGRATULATIONS"));
    if (congratulations != nullptr) {
        if (const Ref<BitmapFont> font = FindResource<BitmapFont>("FONT_LEVELEND", "dialogs")) {
            congratulations->SetFont(font.Get());
        }
    }
    if (auto* header = ObjectCast<Label>(FindChild("HEADER"))) {
        if (const Ref<BitmapFont> font = FindResource<BitmapFont>("FONT_GAME_HEADER_" + typeName, "dialogs")) {
            header->SetFont(font.Get());
        }
        header->SetText(TextOf("GAME_TYPE" + typeName));
    }

    rankScoreLabel_ = ObjectCast<Label>(FindChild("LABEL_RANKING_SCORE"));
    rankNameLabel_ = ObjectCast<Label>(FindChild("LABEL_RANKING_NAME"));
    rankSprite_ = ObjectCast<Sprite>(FindChild("SPRITE_RANKING"));
    if (player != nullptr) {
        const int32_t gained = level != nullptr ? level->score : 0;
        shownRank_ = player->RankBeforeLevel(gained);
        if (rankSprite_ != nullptr) {
            rankSprite_->SetFrame(shownRank_);
        }
        if (rankNameLabel_ != nullptr) {
            rankNameLabel_->SetText(rankings::GetRankName(shownRank_));
        }
        const int32_t missing = player->PointsMissingForRank(gained);
        if (rankScoreLabel_ != nullptr) {
            rankScoreLabel_->SetText(missing < 1 ? TextOf("RANKING_NO_NEXTRANG")
                                                 : FillNumberFields(TextOf("RANKING_NEXTRANG_SCORE"), {missing}));
        }
    }

    const LevelStats none;
    BuildValueLabels(level != nullptr ? *level : none);

    if (congratulations != nullptr && type >= 0 && type < static_cast<int32_t>(std::size(kTypeColours))) {
        congratulations->SetColor(kTypeColours[type]);
        congratulations->SetDirty(true);
    }
    if (const Ref<Surface> background = FindResource<Surface>("LEVELEND_BG_" + typeName, kMapSection)) {
        SetBackground(background.Get());
    }
}

void DialogLevelSuccess::BuildValueLabels(const LevelStats& level) {
    Property* valueDefinition = Property::Child(GetDefinition(), "right_value");
    if (valueDefinition == nullptr) {
        ENGINE_LOG(1, "DialogLevelSuccess: the definition lacks \"right_value\"");
    }
    std::array<std::wstring, kValueCount> texts = {Decimal(level.score), Decimal(level.moneyEarned),
                                                   FormatPlayTime(level.playtime), std::wstring()};
    if (level.numWordsInQueue > 0) {
        texts[kWords] = FormatWords(level.numWordsFound, level.numWordsInQueue);
    } else {
        if (auto* caption = ObjectCast<Label>(FindChild("LABEL_STATS_WORDS"))) {
            caption->SetText(TextOf("STATISTICS_LEVELEND_WORDS_2"));
        }
        texts[kWords] = Decimal(level.numWordsInserted);
    }
    for (size_t i = 0; i < kValueCount; ++i) {
        Ref<Label> label = valueDefinition != nullptr ? CreateObjectOf<Label>(valueDefinition) : Ref<Label>();
        if (!label) {
            label = Label::LabelFromValues(0, 0, 0, 0, nullptr, 0);
        }
        label->SetY(label->GetY() + static_cast<int32_t>(i) * kValueSpacing);
        label->SetText(texts[i]);
        AddChild(label.Get());
        values_[i] = label.Get();
    }
}

std::wstring DialogLevelSuccess::FormatPlayTime(int32_t ms) {
    const int32_t withinHour = ms % kMsPerHour;
    char text[32];
    std::snprintf(text, sizeof text, "%i:%02i", withinHour / 60000, (withinHour % 60000) / 1000);
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

std::wstring DialogLevelSuccess::FormatWords(int32_t found, int32_t queued) {
    const int64_t percent = queued > 0 ? static_cast<int64_t>(found) * 100 / queued : 0;
    return Decimal(found) + L"/" + Decimal(queued) + L" (" + std::to_wstring(percent) + L"%)";
}

void DialogLevelSuccess::OnShow() {
    KR2Dialog::OnShow();
    StartReveal();
}

void DialogLevelSuccess::StartReveal() {
    Scene* scene = CurrentDialogScene();
    if (scene == nullptr || scene->GetAnimationTree() == nullptr) {
        FinishAnimation();
        return;
    }
    for (Label* label : values_) {
        label->SetAlpha(0);
    }
    sequence_ = new ModifierGroup;
    AnimationTree::Add(scene->GetAnimationTree(), sequence_.Get(), nullptr);
    revealRunning_ = true;
    Modifier* last = sequence_.Get();
    for (size_t i = 0; i < kValueCount; ++i) {
        Label* label = values_[i];
        Chain(last, new ModifierWait(kRevealPause), label);
        Chain(last, new ModifierValue(0, 255, kLabelFade), label);
        Chain(last, new ModifierCallback([](uint32_t, GameNode* node) { ThrowStars(ObjectCast<Label>(node)); }, 0),
              label);
        if (i == kScore) {
            Chain(last, new ModifierCallback(
                            [](uint32_t, GameNode*) {
                                MapDialogHooks* hooks = MapDialogHooks::Installed();
                                if (hooks != nullptr && hooks->Player() != nullptr) {
                                    hooks->CountScoreTo(hooks->Player()->stats.score);
                                }
                            },
                            0),
                  this);
        }
    }
    Chain(last, new ModifierWait(kRevealPause), this);
    Chain(last, new ModifierCallback(
                    [](uint32_t, GameNode* node) {
                        if (auto* dialog = ObjectCast<DialogLevelSuccess>(node)) {
                            dialog->revealRunning_ = false;
                            dialog->NextRankStep();
                        }
                    },
                    0),
          this);
}

void DialogLevelSuccess::ThrowStars(Label* label) {
    if (label == nullptr || label->GetParent() == nullptr) {
        return;
    }
    SpawnScoreStars(*label->GetParent(), label->GetX() + label->GetWidth() / 2, label->GetY(), kStarCount,
                    label->GetWidth(), -1);
    PlayControlSound("SOUND_THROWSTARS", kMapSection);
}

void DialogLevelSuccess::NextRankStep() {
    MapDialogHooks* hooks = MapDialogHooks::Installed();
    const KR2Player* player = hooks != nullptr ? hooks->Player() : nullptr;
    if (player == nullptr) {
        return;
    }
    // The dialog opened on the rank and the points missing before the level;
    // it ends on those of now, so the rank named beside a figure is always
    // the one that figure counts from, here and on the map's badge.
    const int32_t rank = player->ComputeRankIndex();
    if (rank != shownRank_) {
        shownRank_ = rank;
        if (rankSprite_ != nullptr) {
            rankSprite_->SetFrame(rank);
        }
        if (rankNameLabel_ != nullptr) {
            CrossFade(*rankNameLabel_, rankings::GetRankName(rank));
        }
        hooks->ShowRank(rankings::GetRankName(rank), rank);
    }
    if (rank < kTopRank) {
        const std::wstring text = FillNumberFields(TextOf("RANKING_NEXTRANG_SCORE"), {player->PointsToNextRank()});
        hooks->SetRankToolTip(text, true);
        if (rankScoreLabel_ != nullptr && text != rankScoreLabel_->GetText()) {
            CrossFade(*rankScoreLabel_, text);
        }
        return;
    }
    const std::wstring top = TextOf("RANKING_NO_NEXTRANG");
    hooks->SetRankToolTip(top, false);
    if (rankScoreLabel_ != nullptr) {
        rankScoreLabel_->SetText(top);
    }
}

void DialogLevelSuccess::CrossFade(Label& label, const std::wstring& text) {
    Ref<Label> old(Label::LabelFromValues(label.GetX(), label.GetY(), label.GetWidth(), label.GetHeight(),
                                          label.GetFont(), label.GetWrapStyle()));
    old->SetAnchorKind(label.GetAnchorKind());
    old->SetColor(label.GetColor());
    old->SetText(label.GetText());
    AddChild(old.Get());
    old->SetAlpha(255);
    old->AddModifier(Ref<Modifier>(new ModifierValue(255, 0, kRankFade)).Get());
    old->AddModifier(Ref<Modifier>(new ModifierCallback(
                                       [](uint32_t, GameNode* node) {
                                           if (node != nullptr && node->GetParent() != nullptr) {
                                               node->SetRemoved(true);
                                           }
                                       },
                                       0))
                         .Get());
    label.SetText(text);
    label.SetAlpha(0);
    label.AddModifier(Ref<Modifier>(new ModifierValue(0, 255, kRankFade)).Get());
}

void DialogLevelSuccess::FinishAnimation() {
    if (finished_) {
        return;
    }
    finished_ = true;
    const bool wasRunning = revealRunning_;
    revealRunning_ = false;
    if (sequence_) {
        // The cancelled chain goes with its subtree; an empty group stands in.
        sequence_->SetCancelled(true);
        sequence_ = new ModifierGroup;
        if (Scene* scene = CurrentDialogScene(); scene != nullptr && scene->GetAnimationTree() != nullptr) {
            AnimationTree::Add(scene->GetAnimationTree(), sequence_.Get(), nullptr);
        }
    }
    MapDialogHooks* hooks = MapDialogHooks::Installed();
    if (hooks != nullptr && hooks->Player() != nullptr) {
        hooks->SetScore(hooks->Player()->stats.score);
    }
    for (Label* label : values_) {
        label->SetAlpha(255);
    }
    for (Sprite* sprite : {static_cast<Sprite*>(rankSprite_), static_cast<Sprite*>(rankNameLabel_),
                           static_cast<Sprite*>(rankScoreLabel_)}) {
        if (sprite != nullptr) {
            sprite->SetAlpha(255);
        }
    }
    if (wasRunning) {
        NextRankStep();
    }
}

bool DialogLevelSuccess::OnKeyDown(int32_t virtualKey) {
    if (virtualKey != kSkipKey) {
        return false;
    }
    FinishAnimation();
    return true;
}

bool DialogLevelSuccess::OnLButtonUp(int32_t x, int32_t y, uint32_t flags) {
    static_cast<void>(x);
    static_cast<void>(y);
    static_cast<void>(flags);
    FinishAnimation();
    return false;
}

void DialogLevelSuccess::OnHide() {
    KR2Dialog::OnHide();
    if (sequence_) {
        sequence_->SetCancelled(true);
        sequence_ = nullptr;
    }
    MapDialogHooks* hooks = MapDialogHooks::Installed();
    // Trophy 21 (the top rank) stays pending: the rank dialog presents it.
    if (rankChanged_) {
        DialogRanking::Show();
    } else if (hooks != nullptr) {
        hooks->SetMapState(MapDialogHooks::kIdle);
    }
    if (hooks != nullptr && hooks->Player() != nullptr) {
        const KR2Player& player = *hooks->Player();
        const int32_t rank = player.ComputeRankIndex();
        hooks->ShowRank(rankings::GetRankName(rank), rank);
    }
}
