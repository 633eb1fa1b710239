#include "game/dialogs/TrophyAwardedDialog.h"

#include <cmath>
#include <string>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/SectionManager.h"
#include "engine/media/Canvas.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/media/PixelFormat.h"
#include "engine/scene/AnimationTree.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierEaseMove.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/ModifierScaleBounce.h"
#include "engine/scene/ModifierSteps.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/SceneResources.h"
#include "engine/ui/Button.h"
#include "engine/ui/ControlSupport.h"
#include "engine/ui/Label.h"
#include "engine/ui/Scene.h"
#include "game/dialogs/GameSceneHooks.h"
#include "game/progress/KR2Player.h"
#include "game/words/TicketConstants.h"
#include "game/world/OneShotEffects.h"

namespace {

const ClassRegistration registration("TrophyAwardedDialog", CreateFromProperty<TrophyAwardedDialog>);

constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;
constexpr int32_t kCentreX = 400;
constexpr int32_t kCentreY = 300;
constexpr uint32_t kDarkening = 0xBE;
constexpr int32_t kStarFrames = 5;
constexpr int32_t kStarFrameMs = 30;
constexpr int32_t kFrameMs = 16;

Ref<MemorySurface> FilledScreen(uint32_t colour, uint32_t alpha) {
    return CreateFilledSurface(kScreenWidth, kScreenHeight, alpha << 24 | (colour & 0xFFFFFF));
}

Modifier* Add(Modifier* parent, Modifier* modifier, GameNode* node) {
    return AnimationTree::Add(parent, modifier, node);
}

}  // namespace

TrophyAwardedDialog::TrophyAwardedDialog(Property* definition) : KR2Dialog(definition) {
    okButton_ = ObjectCast<Button>(FindChild("BUTTON_OK"));
    trophyWon_ = ObjectCast<Sprite>(FindChild("TROPHY_WON"));
    guiBar_ = ObjectCast<Sprite>(FindChild("GUI_BAR"));
    textLabel_ = ObjectCast<Label>(FindChild("LABEL_TROPHY_TEXT"));
    nameLabel_ = ObjectCast<Label>(FindChild("LABEL_TROPHY_NAME"));
    BindControl(okButton_, &TrophyAwardedDialog::OnOk, static_cast<Object*>(this));
    if (okButton_ == nullptr || trophyWon_ == nullptr || guiBar_ == nullptr || textLabel_ == nullptr ||
        nameLabel_ == nullptr) {
        ENGINE_LOG(1, "TrophyAwardedDialog: a child of its definition is missing");
    }
    // They slide back up at the end of the award.
    for (Sprite* sliding : {static_cast<Sprite*>(okButton_), guiBar_}) {
        if (sliding != nullptr) {
            sliding->SetY(sliding->GetY() + kSlideDistance);
        }
    }
    SetPlaySounds(false);
    FreezeScene();
    flash_ = new Sprite(0, 0, FilledScreen(0xFFFFFF, 255).Get());
    flash_->SetAlpha(0);
    AddChild(flash_.Get());
}

TrophyAwardedDialog::~TrophyAwardedDialog() = default;

TrophyDialog* TrophyAwardedDialog::CabinetBehind(GameNode* node) {
    auto* award = ObjectCast<TrophyAwardedDialog>(node);
    return award != nullptr ? award->cabinet_.Get() : nullptr;
}

void TrophyAwardedDialog::FreezeScene() {
    const Ref<MemorySurface> frozen = FilledScreen(0x000000, 255);
    Scene* scene = CurrentDialogScene();
    if (scene != nullptr) {
        const Ref<Canvas> canvas = frozen->CreateCanvas();
        scene->DrawInto(*canvas);
        canvas->Blit(*FilledScreen(0x000000, kDarkening), 0, 0);
        scene->GetComponentNode()->SetVisible(false);
        scene->SetVisible(false);
    }
    SetBackground(frozen.Get());
    SetAlpha(255);
}

void TrophyAwardedDialog::Show(int32_t trophy, TrophyDialog::AfterClose afterClose) {
    if (trophy < 0 || trophy >= KR2Player::kTrophyCount) {
        ENGINE_LOG(1, "TrophyAwardedDialog: no trophy %d to award", trophy);
        return;
    }
    Scene* scene = CurrentDialogScene();
    if (scene == nullptr) {
        ENGINE_LOG(1, "TrophyAwardedDialog: no scene to award trophy %d in", trophy);
        return;
    }
    const Players* players = Players::Instance();
    if (auto* player = ObjectCast<KR2Player>(players != nullptr ? players->GetCurrent() : nullptr)) {
        player->trophies[static_cast<size_t>(trophy)] = KR2Player::kTrophyShown;
    }
    PlayControlSound("SOUND_TROPHY", "default");

    auto* cabinet = ObjectCast<TrophyDialog>(scene->GetDialog("DIALOG_TROPHY_SCREEN"));
    auto* dialog = ObjectCast<TrophyAwardedDialog>(scene->GetDialog("DIALOG_TROPHY_AWARDED"));
    if (cabinet == nullptr || dialog == nullptr) {
        ENGINE_LOG(1, "TrophyAwardedDialog: the scene builds no trophy cabinet or award dialog");
        return;
    }
    cabinet->StartAwardMode(trophy);
    scene->ShowDialog(cabinet);
    cabinet->SetVisible(false);
    cabinet->SetAfterClose(std::move(afterClose));

    dialog->animationRoot_ = scene->GetAnimationTree();
    dialog->cabinet_ = cabinet;
    dialog->StartAward(trophy);
    scene->ShowDialog(dialog);
}

void TrophyAwardedDialog::StartAward(int32_t trophy) {
    SetActive(false);
    SetInputEnabled(false);
    BuildBigTrophy(trophy);
    if (nameLabel_ != nullptr) {
        nameLabel_->SetText(LookUpText("TROPHY_NAME" + std::to_string(trophy)));
        nameLabel_->SetAlpha(0);
    }
    if (textLabel_ != nullptr) {
        textLabel_->SetText(LookUpText("TROPHY_AWARDED_DESC" + std::to_string(trophy)));
        textLabel_->SetAlpha(0);
    }
    if (trophyWon_ != nullptr) {
        trophyWon_->SetAlpha(0);
    }
    AnimateAward();
}

void TrophyAwardedDialog::BuildBigTrophy(int32_t trophy) {
    const Property* entry = Property::At(ticket_constants::List("TROPHY_BIG_SPRITES"), trophy);
    const std::string name = Property::AsString(Property::Child(entry, "button"));
    const int32_t offsetX = Property::AsInt(Property::Child(entry, "aX"));
    const int32_t offsetY = Property::AsInt(Property::Child(entry, "aY"));

    Ref<MemorySurface> star;
    if (const Ref<Object> found = FindResourceData("TROPHY_STAR_BIG", "default");
        const auto* image = ObjectCast<Surface>(found.Get())) {
        star = CloneSurface(*image);
    } else {
        ENGINE_LOG(1, "TrophyAwardedDialog: no \"TROPHY_STAR_BIG\" in section \"default\"");
    }
    SectionManager* sections = SectionManager::Instance();
    auto* picture = ObjectCast<Surface>(
        sections != nullptr && !name.empty() ? sections->GetLoadedResource(name, "trophy") : nullptr);
    // A trophy without a picture still gets its star.
    if (picture == nullptr) {
        ENGINE_LOG(1, "TrophyAwardedDialog: no big picture for trophy %d", trophy);
    } else if (star) {
        const int32_t frameHeight = star->GetHeight() / kStarFrames;
        const Ref<Canvas> canvas = star->CreateCanvas();
        for (int32_t frame = 0; frame < kStarFrames; ++frame) {
            const int32_t x = (star->GetWidth() - picture->GetWidth()) / 2 + offsetX;
            const int32_t y = frame * frameHeight + (frameHeight - picture->GetHeight()) / 2 + offsetY;
            canvas->Blit(*picture, x, y);
            canvas->MaxChannel(*picture, kAlpha, x, y);
        }
    }
    bigTrophy_ = new Sprite(kCentreX, kCentreY, star.Get());
    bigTrophy_->SetFrameCount(kStarFrames, false);
    bigTrophy_->SetAnchorKind(Sprite::kCenter);
    bigTrophy_->SetScale(0.0f);
    AddChild(bigTrophy_.Get());
}

void TrophyAwardedDialog::AnimateAward() {
    Modifier* root = animationRoot_;
    if (root == nullptr) {
        ENGINE_LOG(1, "TrophyAwardedDialog: no animation tree to run the award in");
        OnFadeInDone(this);
        return;
    }
    Sprite* big = bigTrophy_.Get();
    Add(root, new ModifierScaleBounce(0.0f, 1.0f, 5.0f, 14.0f, 8.0f), big);
    Add(root, new ModifierFrame(ModifierFrame::kEndless, kStarFrameMs), big);

    Modifier* burst = Add(root, new ModifierWait(50), this);
    BurstStarRings(*this, burst, kCentreX, kCentreY, false);

    Modifier* flashWait = Add(burst, new ModifierWait(120), this);
    Modifier* flashIn = Add(flashWait, new ModifierValue(0, 255, 60), flash_.Get());
    Modifier* hold = Add(flashIn, new ModifierValue(255, 255, 5), this);
    Modifier* flashOut = Add(hold, new ModifierValue(255, 0, 60), flash_.Get());
    for (Sprite* sliding : {guiBar_, static_cast<Sprite*>(okButton_)}) {
        if (sliding != nullptr) {
            Add(hold,
                new ModifierEaseMove(static_cast<float>(sliding->GetX()), static_cast<float>(sliding->GetY()),
                                     sliding->GetX(), sliding->GetY() - kSlideDistance, 120, false, true, Smoothstep),
                sliding);
        }
    }

    Modifier* textWait = Add(flashOut, new ModifierWait(400), this);
    // The cabinet behind makes the pictures of its backdrop a little each
    // frame from the burst on, paints the backdrop once they are ready and
    // builds its own picture a frame later, all before OK can bring it up.
    Modifier* warmed = Add(burst, new ModifierSteps([](GameNode* node) {
                               TrophyDialog* cabinet = CabinetBehind(node);
                               return cabinet == nullptr || cabinet->WarmHeldPictures();
                           }),
                           this);
    const auto onCabinet = [](void (TrophyDialog::*step)()) {
        return new ModifierCallback(
            [step](uint32_t, GameNode* node) {
                if (TrophyDialog* cabinet = CabinetBehind(node)) {
                    (cabinet->*step)();
                }
            },
            0);
    };
    Modifier* backdropPainted = Add(warmed, onCabinet(&TrophyDialog::PaintHeldBackdrop), this);
    Modifier* pictureWait = Add(backdropPainted, new ModifierWait(kFrameMs), this);
    Add(pictureWait, onCabinet(&TrophyDialog::PrepareHeldPicture), this);
    Modifier* wonIn = trophyWon_ != nullptr ? Add(textWait, new ModifierValue(0, 255, 200), trophyWon_) : textWait;
    for (Label* label : {nameLabel_, textLabel_}) {
        if (label != nullptr) {
            Add(wonIn, new ModifierValue(0, 255, 200), label);
        }
    }
    Add(wonIn,
        new ModifierCallback([](uint32_t, GameNode* node) { OnFadeInDone(ObjectCast<KR2Dialog>(node)); }, 0),
        this);
}

int32_t TrophyAwardedDialog::OnOk(void* context, GameNode*) {
    auto* self = ObjectCast<TrophyAwardedDialog>(static_cast<Object*>(context));
    if (self == nullptr) {
        return 0;
    }
    self->SetAfterClose([](KR2Dialog* dialog) {
        if (auto* award = ObjectCast<TrophyAwardedDialog>(dialog)) {
            award->HandTrophyToCabinet();
        }
    });
    self->Close();
    if (self->cabinet_) {
        self->cabinet_->Reveal();
        self->cabinet_->MoveAwardedTrophy(self->bigTrophy_.Get());
    }
    if (Scene* scene = CurrentDialogScene()) {
        scene->GetComponentNode()->SetVisible(true);
        scene->SetVisible(true);
    }
    return 0;
}

void TrophyAwardedDialog::HandTrophyToCabinet() {
    if (!cabinet_ || !bigTrophy_) {
        return;
    }
    const Ref<Sprite> big = bigTrophy_;
    const int32_t x = big->GetAbsoluteX();
    const int32_t y = big->GetAbsoluteY();
    cabinet_->AddChild(big.Get());
    GameNode* into = big->GetParent();
    const int32_t originX = into != nullptr ? into->GetAbsoluteX() : 0;
    const int32_t originY = into != nullptr ? into->GetAbsoluteY() : 0;
    big->SetPosition(x - originX, y - originY);
}
