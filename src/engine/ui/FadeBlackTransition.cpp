#include "engine/ui/FadeBlackTransition.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/SectionManager.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierValue.h"
#include "engine/ui/FullScreenHandler.h"

namespace {

const ClassRegistration registration("FadeBlackTransition", CreateFromProperty<FadeBlackTransition>);

}  // namespace

FadeBlackTransition::FadeBlackTransition(Property* definition) : SceneTransition(definition) {
    if (Property* time = Property::Child(definition, "time")) {
        time_ = Property::AsInt(time);
    }
    if (Property* wait = Property::Child(definition, "wait")) {
        wait_ = Property::AsBool(wait);
    }
    colorSprite_ = MakeColorScreen();
    GetRootNode()->AddChild(colorSprite_.Get());
}

void FadeBlackTransition::Activate() {
    SceneTransition::Activate();
    phase_ = kFadingOut;
    GetSourceSprite()->SetAlpha(255);
    GetSourceSprite()->SetVisible(true);
    GetTargetSprite()->SetVisible(false);
    colorSprite_->SetAlpha(0);
    Fade(0, 255, new ModifierCallback([this](uint32_t, GameNode*) { phase_ = kCovered; }, 0));
    DrawSourceScene();
}

void FadeBlackTransition::Update(int32_t) {
    if (phase_ != kCovered || (wait_ && !LoadingDone())) {
        return;
    }
    phase_ = kFadingIn;
    PrepareTarget();
    FullScreenHandler::HideDuringTransition(GetTargetScene());
    DrawTargetScene();
    GetSourceSprite()->SetVisible(false);
    GetTargetSprite()->SetVisible(true);
    GetTargetSprite()->SetAlpha(255);
    Fade(255, 0, MakeEndCallback().Get());
}

bool FadeBlackTransition::LoadingDone() {
    SectionManager* sections = SectionManager::Instance();
    if (sections == nullptr) {
        return true;
    }
    sections->ResumeLoader();
    return sections->IsDeclared() && sections->NextUnloadedSection(SectionManager::List::LoadQueue, false) == nullptr;
}

void FadeBlackTransition::Fade(int32_t from, int32_t to, Modifier* then) {
    const Ref<Modifier> keepThen(then);
    const Ref<Modifier> fade(new ModifierValue(from, to, time_));
    fade->SetOptions(Modifier::kBlockFollowing);
    colorSprite_->AddModifier(fade.Get());
    colorSprite_->AddModifier(then);
}
