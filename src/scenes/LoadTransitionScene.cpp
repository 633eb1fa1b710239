#include "scenes/LoadTransitionScene.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/media/GameWindow.h"
#include "engine/scene/AnimationTree.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierEaseMove.h"
#include "engine/scene/ModifierScaleBounce.h"
#include "engine/scene/ModifierSound.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/ModifierZoom.h"
#include "engine/scene/SceneResources.h"
#include "engine/ui/FullScreenHandler.h"
#include "game/constants/GameConstants.h"

namespace {

const ClassRegistration registration("LoadTransitionScene", CreateFromProperty<LoadTransitionScene>);

constexpr int32_t kPieceFadeMs = 200;
constexpr int32_t kSourceFadeMs = 200;
constexpr int32_t kLogoFadeMs = 150;

Ref<Surface> FindPicture(const std::string& name, const std::string& section) {
    const Ref<Object> data = FindResourceData(name, section);
    return Ref<Surface>(ObjectCast<Surface>(data.Get()));
}

int32_t HeightOf(const Surface* picture) { return picture != nullptr ? picture->GetHeight() : 0; }

void ReadInt(Property* definition, const char* key, int32_t& value) {
    if (Property* child = Property::Child(definition, key)) {
        value = Property::AsInt(child);
    }
}

// Adds `step` to the animation tree after `after`, aimed at `target`.
Modifier* After(Modifier* after, Modifier* step, GameNode* target) {
    const Ref<Modifier> keep(step);
    return AnimationTree::Add(after, step, target);
}

Modifier* Sound(Modifier* after, const char* name, GameNode* target) {
    return After(after, new ModifierSound(name, "default", true), target);
}

}  // namespace

LoadTransitionScene::LoadTransitionScene(Property* definition) : SceneTransition(definition) {
    ReadInt(definition, "time", time_);
    ReadInt(definition, "adventureDelay", adventureDelay_);
    ReadInt(definition, "classicDelay", classicDelay_);
    const GameWindow* window = GameWindow::Instance();
    const int32_t screenHeight = window != nullptr ? window->GetHeight() : 0;
    const Ref<Surface> background = FindPicture("BACKGROUND", "preloading");
    const Ref<Surface> bottom = FindPicture("BOTTOM1", "selectionscene");
    slide_ = HeightOf(bottom.Get()) + HeightOf(background.Get()) - screenHeight;

    // The menu's picture rises from below carrying the load scene's
    // background, which so leaves at the top.
    Sprite* menu = GetTargetSprite();
    Sprite* loading = GetSourceSprite();
    menu->SetPosition(0, slide_);
    loading->SetImage(background.Get());
    loading->SetPosition(0, -slide_);
    menu->AddChild(loading);
}

Sprite* LoadTransitionScene::TakeOver(const std::string& name) {
    auto* scene = GetSourceScene();
    auto* piece = scene != nullptr ? ObjectCast<Sprite>(scene->FindChild(name)) : nullptr;
    if (piece == nullptr) {
        ENGINE_LOG(1, "LoadTransitionScene: the load scene has no \"%s\"", name.c_str());
        return nullptr;
    }
    Sprite* loading = GetSourceSprite();
    const int32_t x = piece->GetAbsoluteX() - loading->GetAbsoluteX();
    const int32_t y = piece->GetAbsoluteY() - loading->GetAbsoluteY();
    loading->AddChild(piece);
    piece->SetRemoved(false);
    piece->SetPosition(x, y);
    return piece;
}

Ref<Sprite> LoadTransitionScene::CopyButton(const std::string& name) {
    auto* scene = GetTargetScene();
    const auto* button = scene != nullptr ? ObjectCast<Sprite>(scene->FindChild(name)) : nullptr;
    if (button == nullptr) {
        ENGINE_LOG(1, "LoadTransitionScene: the menu has no \"%s\"", name.c_str());
        return {};
    }
    Ref<Sprite> copy(new Sprite(*button));
    copy->SetScale(0.0f);
    copy->SetPivotKind(Sprite::kCenter);
    copy->SetVisible(false);
    GetTargetSprite()->AddChild(copy.Get());
    return copy;
}

Modifier* LoadTransitionScene::PopUp(Modifier* after, Sprite* copy, int32_t delayMs) {
    // Without the button the timing still holds: the steps run on the menu's picture.
    GameNode* target = copy != nullptr ? static_cast<GameNode*>(copy) : GetTargetSprite();
    Modifier* wait = After(after, new ModifierWait(delayMs), target);
    Modifier* bounce = copy != nullptr ? After(wait, new ModifierScaleBounce(0.0f, 1.0f, 10.0f, 60.0f, 55.0f), copy)
                                       : After(wait, new ModifierWait(0), target);
    Sound(wait, "SOUND_ADVENTURECLASSIC_APPEARS", target);
    return bounce;
}

void LoadTransitionScene::Activate() {
    SceneTransition::Activate();
    PrepareTarget();
    Sprite* loading = GetSourceSprite();
    Sprite* menu = GetTargetSprite();
    logo_ = TakeOver("LOGO_GAME");
    if (logo_) {
        logo_->SetPivotKind(Sprite::kCenter);
    }
    adventure_ = CopyButton("BUTTON_ADVENTURE");
    classic_ = CopyButton("BUTTON_CLASSIC");

    Modifier* root = GetAnimationTree();
    for (const char* name : {"LOGO_QUELT", "PROGRESS_BAR", "PROGRESS_BAR_OVERLAY", "LOADING_BAR_BG"}) {
        if (Sprite* piece = TakeOver(name)) {
            After(root, new ModifierValue(255, 0, kPieceFadeMs), piece);
        }
    }
    Modifier* clickFade = nullptr;
    if (Sprite* click = TakeOver("CLICK_TEXT")) {
        click->ClearModifiers();
        clickFade = After(root, new ModifierValue(click->GetAlpha(), 0, kPieceFadeMs), click);
    } else {
        clickFade = After(root, new ModifierWait(kPieceFadeMs), loading);
    }

    // The logo's steps run on the source picture when there is no logo, so the timing holds.
    GameNode* logoTarget = logo_ ? static_cast<GameNode*>(logo_.Get()) : loading;
    if (logo_) {
        After(clickFade, new ModifierZoom(time_, 1.0f, kLogoEndScale), logo_.Get());
        After(clickFade,
              new ModifierEaseMove(static_cast<float>(logo_->GetX()), static_cast<float>(logo_->GetY()), logo_->GetX(),
                                   LOGO_END_SCALE_Y, time_, true, true, Smoothstep),
              logo_.Get());
    }
    Sound(clickFade, "SOUND_LOGO_APPEARS", logoTarget);
    Modifier* slide = After(clickFade, new ModifierEaseMove(0.0f, static_cast<float>(slide_), 0, 0, time_, true, true, Smoothstep), menu);
    Modifier* sourceFade = After(slide, new ModifierValue(255, 0, kSourceFadeMs), loading);
    Modifier* logoFade = logo_ ? After(sourceFade, new ModifierValue(255, 0, kLogoFadeMs), logo_.Get())
                               : After(sourceFade, new ModifierWait(kLogoFadeMs), loading);

    Modifier* classicPop = PopUp(logoFade, classic_.Get(), classicDelay_);
    Modifier* adventurePop = PopUp(logoFade, adventure_.Get(), adventureDelay_);
    // With equal delays both bounces start together; the finish follows the adventure button's.
    Modifier* last = classicDelay_ > adventureDelay_ ? classicPop : adventurePop;
    After(last, MakeEndCallback().Get(), loading);

    FullScreenHandler::HideDuringTransition(GetTargetScene());
    DrawTargetScene();
    for (Sprite* copy : {adventure_.Get(), classic_.Get()}) {
        if (copy != nullptr) {
            copy->SetVisible(true);
        }
    }
}
