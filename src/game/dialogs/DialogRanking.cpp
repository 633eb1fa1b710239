#include "game/dialogs/DialogRanking.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/media/Canvas.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/media/PixelFormat.h"
#include "engine/scene/AnimationTree.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierEaseMove.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/ModifierZoom.h"
#include "engine/scene/SceneResources.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/Button.h"
#include "engine/ui/ControlSupport.h"
#include "engine/ui/Label.h"
#include "engine/ui/Scene.h"
#include "game/dialogs/GameSceneHooks.h"
#include "game/dialogs/MapDialogHooks.h"
#include "game/progress/KR2Player.h"
#include "game/progress/Rankings.h"
#include "game/world/OneShotEffects.h"

namespace {

const ClassRegistration registration("DialogRanking", CreateFromProperty<DialogRanking>);

constexpr const char* kRewardSection = "rewards";
// The OK bar waits this far below its place until it slides up.
constexpr int32_t kBarDrop = 60;
constexpr uint32_t kDarkeningAlpha = 190;
constexpr int32_t kBurstX = 400;
constexpr int32_t kBurstY = 300;

Ref<Surface> FindImage(const std::string& name, const std::string& section) {
    const Ref<Object> data = FindResourceData(name, section);
    return Ref<Surface>(ObjectCast<Surface>(data.Get()));
}

// Black at kDarkeningAlpha laid over an opaque picture.
void Darken(MemorySurface& picture) {
    uint32_t* pixels = picture.Pixels32();
    const size_t count = static_cast<size_t>(picture.GetWidth()) * static_cast<size_t>(picture.GetHeight());
    for (size_t i = 0; i < count; ++i) {
        uint32_t darkened = 0xFF000000;
        for (int shift : {0, 8, 16}) {
            const uint32_t channel = (pixels[i] >> shift) & 0xFF;
            darkened |= (channel * (255 - kDarkeningAlpha) / 255) << shift;
        }
        pixels[i] = darkened;
    }
}

Modifier* Chain(Modifier* after, Modifier* next, GameNode* node) { return AnimationTree::Add(after, next, node); }

}  // namespace

DialogRanking::DialogRanking(Property* definition) : KR2Dialog(definition) {
    okButton_ = ObjectCast<Button>(FindChild("BUTTON_OK"));
    wonLabel_ = FindChild("RANKING_WON");
    barNode_ = FindChild("GUI_BAR");
    rewardLabel_ = ObjectCast<Label>(FindChild("LABEL_REWARD_TEXT"));
    rankNameLabel_ = ObjectCast<Label>(FindChild("LABEL_RANKING_NAME"));
    rankTextLabel_ = FindChild("RANKING_TEXT");
    for (GameNode* node : {static_cast<GameNode*>(okButton_), barNode_}) {
        if (node != nullptr) {
            node->SetY(node->GetY() + kBarDrop);
        }
    }
    FreezeScene();

    const Ref<MemorySurface> white = CreateFilledSurface(GetWidth(), GetHeight(), 0xFFFFFFFFu);
    flashSprite_ = new Sprite(0, 0, white.Get());
    flashSprite_->SetAlpha(0);
    GetComponentNode()->AddChildFront(flashSprite_.Get());

    BindControl(okButton_, &DialogRanking::OnOkClicked, static_cast<Object*>(this));
    MapDialogHooks* hooks = MapDialogHooks::Installed();
    if (hooks != nullptr) {
        hooks->SetMapState(MapDialogHooks::kRankDialog);
        if (const KR2Player* player = hooks->Player()) {
            rank_ = player->ComputeRankIndex();
            reward_ = rankings::GetRankReward(rank_);
        }
    }
}

void DialogRanking::FreezeScene() {
    Scene* scene = CurrentDialogScene();
    if (scene == nullptr || GetWidth() <= 0 || GetHeight() <= 0) {
        return;
    }
    // Born black and transparent, as the scene is drawn into it.
    const Ref<MemorySurface> picture = CreateMemorySurface(GetWidth(), GetHeight());
    {
        const Ref<Canvas> canvas = picture->CreateCanvas();
        scene->DrawInto(*canvas);
    }
    Darken(*picture);
    SetBackground(picture.Get());
    SetAlpha(255);
    hiddenScene_ = scene;
    scene->SetVisible(false);
    scene->GetComponentNode()->SetVisible(false);
}

void DialogRanking::RestoreScene() {
    Scene* scene = std::exchange(hiddenScene_, nullptr);
    if (scene != nullptr) {
        scene->SetVisible(true);
        scene->GetComponentNode()->SetVisible(true);
    }
}

void DialogRanking::Show() {
    PlayControlSound("SOUND_TROPHY", "default");
    Scene* scene = CurrentDialogScene();
    if (scene == nullptr) {
        return;
    }
    auto* dialog = ObjectCast<DialogRanking>(scene->GetDialog("DIALOG_RANKING"));
    if (dialog == nullptr) {
        ENGINE_LOG(1, "DialogRanking: \"DIALOG_RANKING\" is no rank dialog");
        return;
    }
    dialog->SetAnimationRoot(scene->GetAnimationTree());
    dialog->PlayRewardAnimation();
    scene->ShowDialog(dialog);
}

void DialogRanking::SetAnimationRoot(AnimationTree* root) { animationRoot_ = root; }

Ref<Surface> DialogRanking::ComposeStar(Surface& star, Surface* reward, int32_t aX, int32_t aY) {
    const int32_t overhang = reward != nullptr ? reward->GetWidth() + aX - star.GetWidth() : 0;
    Ref<MemorySurface> composite;
    if (overhang > 0) {
        composite = CreateMemorySurface(star.GetWidth() + 2 * overhang, star.GetHeight());
        const Ref<Canvas> canvas = composite->CreateCanvas();
        canvas->SetColor(Color(0));
        canvas->Clear();
        canvas->CopyRect(star, overhang, 0, 0, 0, star.GetWidth(), star.GetHeight());
    } else {
        composite = CloneSurface(star);
    }
    if (reward != nullptr) {
        const Ref<Canvas> canvas = composite->CreateCanvas();
        const int32_t frameHeight = star.GetHeight() / kStarFrames;
        const int32_t shift = std::max(overhang, 0);
        for (int32_t frame = 0; frame < kStarFrames; ++frame) {
            canvas->Blit(*reward, aX + shift, frame * frameHeight + aY);
        }
    }
    return composite;
}

void DialogRanking::PlayRewardAnimation() {
    SetActive(false);
    SetInputEnabled(false);

    Ref<Surface> reward;
    int32_t aX = 0;
    int32_t aY = 0;
    const Defines* defines = Defines::Instance();
    const PropertyVector* rewards = defines != nullptr ? defines->GetVector("REWARD_SPRITES") : nullptr;
    if (rewards != nullptr && reward_ >= 0 && reward_ < rewards->Count()) {
        const Property* entry = rewards->Items()[static_cast<size_t>(reward_)].Get();
        reward = FindImage(Property::AsString(Property::Child(entry, "image")), kRewardSection);
        aX = Property::AsInt(Property::Child(entry, "aX"));
        aY = Property::AsInt(Property::Child(entry, "aY"));
    }
    const Ref<Surface> star = FindImage("RANKING_STAR_BIG", kRewardSection);
    starSprite_ = new Sprite(kStarX, kStarY, star ? ComposeStar(*star, reward.Get(), aX, aY).Get() : nullptr);
    starSprite_->SetFrameCount(kStarFrames, false);
    starSprite_->SetAnchorKind(Sprite::kCenter);
    AddChild(starSprite_.Get());

    if (rewardLabel_ != nullptr) {
        rewardLabel_->SetText(rankings::GetRankText(rank_));
    }
    MapDialogHooks* hooks = MapDialogHooks::Installed();
    if (rankNameLabel_ != nullptr && hooks != nullptr && hooks->Player() != nullptr) {
        rankNameLabel_->SetText(rankings::GetRankName(hooks->Player()->ranking));
    }
    GameNode* const texts[] = {wonLabel_, rankTextLabel_, rankNameLabel_, rewardLabel_};
    for (GameNode* node : texts) {
        if (auto* sprite = ObjectCast<Sprite>(node)) {
            sprite->SetAlpha(0);
        }
    }
    if (!animationRoot_) {
        return;
    }

    Sprite* starNode = starSprite_.Get();
    Modifier* grown = Chain(animationRoot_.Get(), new ModifierZoom(400, 5.0f, 1.0f), starNode);
    // The sparkle loops for ever beside the rest of the chain.
    sparkle_ = Chain(grown, new ModifierFrame(-1, 30), starNode);
    Modifier* last = Chain(grown, new ModifierWait(50), starNode);
    BurstStarRings(*flashSprite_, last, kBurstX, kBurstY, true);
    Sprite* flash = flashSprite_.Get();
    last = Chain(last, new ModifierWait(120), flash);
    last = Chain(last, new ModifierValue(0, 255, 60), flash);
    last = Chain(last, new ModifierWait(5), flash);
    last = Chain(last, new ModifierValue(255, 0, 60), flash);
    last = Chain(last, new ModifierWait(400), wonLabel_ != nullptr ? wonLabel_ : flash);
    for (GameNode* node : texts) {
        if (ObjectCast<Sprite>(node) != nullptr) {
            last = Chain(last, new ModifierValue(0, 255, 200), node);
        }
    }
    last = Chain(last, new ModifierCallback(
                           [](uint32_t, GameNode* node) {
                               if (auto* dialog = ObjectCast<DialogRanking>(node)) {
                                   dialog->SetActive(true);
                                   dialog->SetInputEnabled(true);
                               }
                           },
                           0),
                 this);
    for (GameNode* node : {static_cast<GameNode*>(barNode_), static_cast<GameNode*>(okButton_)}) {
        if (node != nullptr) {
            Chain(last,
                  new ModifierEaseMove(static_cast<float>(node->GetX()), static_cast<float>(node->GetY()),
                                       node->GetX(), node->GetY() - kBarDrop, 120, true, true, &Smoothstep),
                  node);
        }
    }
}

int32_t DialogRanking::OnOkClicked(void* dialog, GameNode*) {
    if (auto* self = ObjectCast<DialogRanking>(static_cast<Object*>(dialog))) {
        self->Close();
        self->RestoreScene();
    }
    return 0;
}

void DialogRanking::OnHide() {
    KR2Dialog::OnHide();
    // Any way out (not only OK) must bring the frozen scene back.
    RestoreScene();
    if (sparkle_) {
        sparkle_->SetCancelled(true);
        sparkle_ = nullptr;
    }
    MapDialogHooks* hooks = MapDialogHooks::Installed();
    if (hooks == nullptr) {
        return;
    }
    const KR2Player* player = hooks->Player();
    if (player != nullptr && player->trophies[kTopRankTrophy] == KR2Player::kTrophyPending) {
        hooks->PresentTrophy(kTopRankTrophy);
    } else {
        hooks->SetMapState(MapDialogHooks::kIdle);
    }
}
