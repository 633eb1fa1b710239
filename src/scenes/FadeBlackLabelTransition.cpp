#include "scenes/FadeBlackLabelTransition.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Property.h"
#include "engine/media/BitmapFont.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/SceneResources.h"
#include "engine/ui/FullScreenHandler.h"
#include "engine/ui/Label.h"
#include "platform/Time.h"

namespace {

const ClassRegistration registration("FadeBlackLabelTransition", CreateFromProperty<FadeBlackLabelTransition>);

constexpr int32_t kLabelY = 300;
constexpr int32_t kLayoutWidth = 800;
constexpr int32_t kLabelFadeMs = 500;
// While waiting the main thread gives the loader the processor.
constexpr uint32_t kWaitSleepMs = 100;

}  // namespace

FadeBlackLabelTransition::FadeBlackLabelTransition(Property* definition) : SceneTransition(definition) {
    if (Property* time = Property::Child(definition, "time")) {
        fadeTime_ = Property::AsInt(time);
    }
    colorScreen_ = MakeColorScreen();
    GetRootNode()->AddChild(colorScreen_.Get());

    const Ref<Object> font = FindResourceData("FONT_TEXT", "default");
    label_ = Label::LabelFromValues(0, kLabelY, 0, 0, ObjectCast<BitmapFont>(font.Get()), Label::kNoWrap);
    label_->SetAnchorKind(Sprite::kLeft);
    label_->SetColor(0xFFFFFF);
    GetRootNode()->AddChild(label_.Get());
}

void FadeBlackLabelTransition::Activate() {
    SceneTransition::Activate();
    GetSourceSprite()->SetAlpha(255);
    GetSourceSprite()->SetVisible(true);
    GetTargetSprite()->SetVisible(false);
    colorScreen_->SetAlpha(0);
    label_->SetAlpha(0);
    FadeScreen(0, 255, new ModifierCallback([this](uint32_t, GameNode*) { stage_ = kFadedOut; }, 0));
    DrawSourceScene();
}

void FadeBlackLabelTransition::Update(int32_t elapsedMs) {
    if (stage_ == kFadingOut) {
        return;
    }
    elapsed_ += elapsedMs;
    if (stage_ == kFadedOut && elapsed_ > kLabelDelayMs) {
        stage_ = kLabelShown;
        const Ref<Modifier> fadeIn(new ModifierValue(0, 255, kLabelFadeMs));
        fadeIn->SetOptions(Modifier::kBlockFollowing);
        label_->AddModifier(fadeIn.Get());
        label_->AddModifier(MakeLoadingPulse().Get());
        cadence_.Start(elapsed_);
    }
    if (stage_ == kLabelShown) {
        cadence_.Advance(*label_, elapsed_, kLayoutWidth);
    }
    if ((stage_ == kFadedOut || (stage_ == kLabelShown && elapsed_ > kLabelMinimumMs)) && QueuedSectionsLoaded()) {
        stage_ = kFinishing;
        label_->ClearModifiers();
        const Ref<Modifier> fadeOut(new ModifierValue(label_->GetAlpha(), 0, kLabelFadeMs));
        fadeOut->SetOptions(Modifier::kBlockFollowing);
        label_->AddModifier(fadeOut.Get());
        BeginFadeIn();
    }
    if (stage_ == kFadedOut || stage_ == kLabelShown) {
        platform::SleepMs(kWaitSleepMs);
    }
}

void FadeBlackLabelTransition::BeginFadeIn() {
    PrepareTarget();
    FullScreenHandler::HideDuringTransition(GetTargetScene());
    DrawTargetScene();
    GetSourceSprite()->SetVisible(false);
    GetTargetSprite()->SetVisible(true);
    GetTargetSprite()->SetAlpha(255);
    FadeScreen(255, 0, MakeEndCallback().Get());
}

void FadeBlackLabelTransition::FadeScreen(int32_t from, int32_t to, Modifier* then) {
    const Ref<Modifier> keepThen(then);
    const Ref<Modifier> fade(new ModifierValue(from, to, fadeTime_));
    fade->SetOptions(Modifier::kBlockFollowing);
    colorScreen_->AddModifier(fade.Get());
    colorScreen_->AddModifier(then);
}
