#include "game/world/CoinEffect.h"

#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/ModifierMover.h"
#include "engine/scene/ModifierProximityShrink.h"
#include "engine/scene/ModifierSound.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/MotionForce.h"
#include "game/constants/GameConstants.h"
#include "game/world/EffectParts.h"

namespace {

constexpr int32_t kRaise = 20;
constexpr int32_t kSpinFrameMs = 70;
constexpr int32_t kFadeInMs = 400;
constexpr int32_t kShowMs = 600;
constexpr float kShrinkRadius = 40.0f;
constexpr float kShrinkMinimum = 0.5f;
constexpr PointF kStrongThrow{4000.0f, -4000.0f};
constexpr PointF kThrow{2000.0f, -3000.0f};
// The pull reaches the coin wherever it is.
constexpr float kUnlimitedReach = -1.0f;

void CountArrival(uint32_t /*value*/, GameNode* coin) {
    const auto* sprite = ObjectCast<Sprite>(coin);
    EffectsContext::Current().CoinArrived(sprite != nullptr ? sprite->GetColor() : 0);
}

}  // namespace

Sprite* SpawnCoins(Modifier* waitFor, int32_t x, int32_t y, int32_t value, bool strong, int32_t delay) {
    EffectsContext& context = EffectsContext::Current();
    GameNode* layer = context.EffectLayer();
    Sprite* counter = context.CoinCounter();
    if (layer == nullptr || counter == nullptr) {
        return nullptr;
    }
    const Ref<Sprite> coin = effects::CreateNamed<Sprite>("COIN");
    if (!coin) {
        return nullptr;
    }
    layer->AddChild(coin.Get());
    coin->SetAlpha(0);
    coin->SetPosition(x, y - kRaise);

    const PointF counterCentre{static_cast<float>(counter->GetWidth()) / 2.0f,
                               static_cast<float>(counter->GetHeight()) / 2.0f};
    if (waitFor != nullptr) {
        coin->AddModifier(new ModifierWait(waitFor));
    }
    coin->AddModifier(new ModifierWait(delay));
    coin->AddModifier(new ModifierFrame(ModifierFrame::kEndless, kSpinFrameMs));
    coin->AddModifier(new ModifierSound("SOUND_COIN_APPEARS", effects::kGameSection, true));
    coin->AddModifier(new ModifierValue(0, 255, kFadeInMs));
    coin->AddModifier(new ModifierWait(kShowMs));
    coin->AddModifier(new ModifierProximityShrink(counter, kShrinkRadius, kShrinkMinimum, counterCentre));
    auto* mover = new ModifierMover(SLOT_PULL_MAX_SPEED);
    auto* toss = new ForceAcceleration(strong ? kStrongThrow.x : kThrow.x, strong ? kStrongThrow.y : kThrow.y);
    toss->SetRemainingTime(SLOT_INIT_TIME);
    mover->AddForce(toss);
    mover->AddForce(new ForceFriction(SLOT_PULL_RESISTANCE));
    mover->AddForce(new ForceSeekNode(counter, counterCentre, kUnlimitedReach, SLOT_PULL_SPEED, ForceSeek::kAttract, true));
    coin->AddModifier(Blocking(mover));
    coin->AddModifier(RemovingNodeAtEnd(new ModifierCallback(CountArrival, 0)));

    context.AddCoinsInFlight(value);
    coin->SetColor(value);
    return coin.Get();
}
