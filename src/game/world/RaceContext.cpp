#include "game/world/RaceContext.h"

#include "engine/media/SoundSample.h"
#include "engine/media/Surface.h"
#include "engine/scene/SceneResources.h"

namespace {

RaceContext* installed = nullptr;

}  // namespace

Ref<Surface> RaceContext::FindImage(const std::string& name, const std::string& section) const {
    const Ref<Object> data = FindResourceData(name, section);
    return Ref<Surface>(ObjectCast<Surface>(data.Get()));
}

void RaceContext::PlaySound(const std::string& name, int32_t volume, int32_t pan) const {
    const Ref<Object> data = FindResourceData(name, "gamescene");
    if (const auto* sample = ObjectCast<SoundSample>(data.Get())) {
        sample->PlaySample(volume, pan, false);
    }
}

RaceContext& RaceContext::Current() {
    static RaceContext neutral;
    return installed != nullptr ? *installed : neutral;
}

void RaceContext::Install(RaceContext* context) { installed = context; }
