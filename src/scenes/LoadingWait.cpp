#include "scenes/LoadingWait.h"

#include "engine/foundation/SectionManager.h"
#include "engine/scene/ModifierPulse.h"
#include "engine/scene/SceneResources.h"
#include "engine/ui/Label.h"

bool QueuedSectionsLoaded() {
    SectionManager* sections = SectionManager::Instance();
    if (sections == nullptr) {
        return true;
    }
    sections->ResumeLoader();
    return sections->IsDeclared() && sections->NextUnloadedSection(SectionManager::List::LoadQueue, true) == nullptr;
}

Ref<Modifier> MakeLoadingPulse() {
    const ModifierPulse::Timing timing{1000, 1000, 0, 0};
    return Ref<Modifier>(new ModifierPulse(255, 100, timing, -1));
}

void LoadingTextCadence::Start(int32_t nowMs) {
    nextMs_ = nowMs;
    dots_ = 0;
}

void LoadingTextCadence::Advance(Label& label, int32_t nowMs, int32_t width) {
    while (nowMs >= nextMs_) {
        if (dots_ == 0) {
            label.SetText(LookUpText("TEXT_LOADING"));
            label.SetX((width - label.GetWidth()) / 2);
        } else {
            label.SetText(label.GetText() + L".");
        }
        nextMs_ += kDotIntervalMs;
        dots_ = (dots_ + 1) % 4;
    }
}
