#include "engine/ui/AlphaTransition.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Property.h"
#include "engine/scene/ModifierValue.h"

namespace {

const ClassRegistration registration("AlphaTransition", CreateFromProperty<AlphaTransition>);

}  // namespace

AlphaTransition::AlphaTransition(Property* definition) : SceneTransition(definition) {
    if (Property* time = Property::Child(definition, "time")) {
        time_ = Property::AsInt(time);
    }
}

void AlphaTransition::Activate() {
    SceneTransition::Activate();
    PrepareTarget();
    Sprite* target = GetTargetSprite();
    target->SetAlpha(0);
    const Ref<Modifier> fade(new ModifierValue(0, 255, time_));
    fade->SetOptions(Modifier::kBlockFollowing);
    target->AddModifier(fade.Get());
    target->AddModifier(MakeEndCallback().Get());
    DrawSourceScene();
    // The full-screen handler is not part of the engine yet; once it is, it
    // hides here and moves to the target.
    DrawTargetScene();
}
