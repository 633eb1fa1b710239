#include "game/world/EffectsContext.h"

#include "engine/foundation/Object.h"
#include "engine/scene/SceneResources.h"

namespace {

EffectsContext* installed = nullptr;

}  // namespace

Ref<Object> EffectsContext::FindResource(const std::string& name, const std::string& section) const {
    return FindResourceData(name, section);
}

void EffectsContext::CoinArrived(int32_t value) {
    if (coinsInFlight_ > 0) {
        coinsInFlight_ -= value;
    }
    RefreshCoinCounter();
}

EffectsContext& EffectsContext::Current() {
    static EffectsContext neutral;
    return installed != nullptr ? *installed : neutral;
}

void EffectsContext::Install(EffectsContext* context) { installed = context; }
