#include "engine/ui/AlphaTransition.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Property.h"
#include "engine/scene/ModifierValue.h"
#include "engine/ui/FullScreenHandler.h"

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
    FullScreenHandler::HideDuringTransition(GetTargetScene());
    DrawTargetScene();
}
