#include "game/world/Flagpole.h"

#include <cmath>
#include <numbers>

#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/scene/DialogTable.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierCircle.h"
#include "engine/scene/ModifierEaseMove.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/ModifierMover.h"
#include "engine/scene/ModifierProximityShrink.h"
#include "engine/scene/ModifierSound.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierVisibility.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/MotionForce.h"
#include "game/words/TicketConstants.h"
#include "game/words/TicketInfo.h"
#include "game/world/Carriage.h"
#include "game/world/EffectsContext.h"
#include "game/world/HudSceneHooks.h"
#include "game/world/RaceContext.h"

namespace {

constexpr const char* kSection = "gamescene";
constexpr int32_t kFlagX = 9;
constexpr int32_t kFlagTop = 8;
constexpr int32_t kNegativeFlag = 2;
constexpr int32_t kRaiseWaitMs = 500;
constexpr int32_t kFadeInMs = 700;
constexpr int32_t kRaiseMs = 1000;
constexpr int32_t kCoinDrop = 55;
constexpr float kCircleRadius = 55.0f;
constexpr int32_t kCircleMs = 2000;
constexpr int32_t kAppearFrameMs = 20;
constexpr int32_t kSpinFrameMs = 70;
constexpr float kShrinkRadius = 25.0f;
constexpr float kShrinkScale = 0.5f;
// The pull reaches the coins wherever they are.
constexpr float kPullEverywhere = -1.0f;
constexpr int32_t kThrowMs = 50;
constexpr float kThrowUp = -2000.0f;
// A bound on the coins a constant file may ask of one award.
constexpr int32_t kMostAwardCoins = 500;

// One coin of the award with its whole flight; returns its last step.
Modifier* SendCoin(GameNode& layer, int32_t index, int32_t count, PointF start, Modifier* raise,
                   GameNode* display, PointF displayCentre, ForceFriction* friction, ForceSeekNode* pull) {
    Object* created = DialogTable::Instance() != nullptr ? DialogTable::Instance()->CreateObject("COIN") : nullptr;
    auto* coin = ObjectCast<GameNode>(created);
    if (coin == nullptr) {
        const Ref<Object> discard(created);
        return nullptr;
    }
    layer.AddChild(coin);
    const auto startX = static_cast<int32_t>(start.x);
    const auto startY = static_cast<int32_t>(start.y);
    coin->SetPosition(startX, startY + kCoinDrop);
    coin->SetVisible(false);

    coin->AddModifier(new ModifierWait(raise));
    coin->AddModifier(new ModifierWait(CoinAwardDelay(index, count)));
    coin->AddModifier(new ModifierVisibility(ModifierVisibility::kShow));
    coin->AddModifier(new ModifierSound("SOUND_COIN_APPEARS", kSection, true));
    coin->AddModifier(Blocking(new ModifierFrame(0, kAppearFrameMs)));
    coin->AddModifier(new ModifierFrame(ModifierFrame::kEndless, kSpinFrameMs));
    ModifierCircle::Settings circle;
    circle.centreX = startX;
    circle.centreY = startY;
    circle.startRadius = kCircleRadius;
    circle.endRadius = kCircleRadius;
    circle.radiusDurationMs = kCircleMs;
    circle.startAngle = -1.5f * std::numbers::pi_v<float>;
    circle.endAngle = std::numbers::pi_v<float>;
    circle.angleDurationMs = kCircleMs;
    coin->AddModifier(Blocking(new ModifierCircle(circle)));
    coin->AddModifier(new ModifierProximityShrink(display, kShrinkRadius, kShrinkScale, displayCentre));
    auto* mover = new ModifierMover();
    Ref<MotionForce> throwUp(new ForceAcceleration(0.0f, kThrowUp));
    throwUp->SetRemainingTime(kThrowMs);
    mover->AddForce(throwUp.Get());
    mover->AddForce(friction);
    mover->AddForce(pull);
    coin->AddModifier(Blocking(mover));
    // Every coin of the award is worth one: the counter steps up by one as each arrives.
    auto* arrived = new ModifierCallback([](uint32_t, GameNode*) { EffectsContext::Current().CoinArrived(1); }, 0);
    arrived->SetOptions(Modifier::kRemoveNodeAtEnd);
    return coin->AddModifier(arrived);
}

}  // namespace

Flagpole::Flagpole(float x, int32_t y) : flag_(new Sprite()) {
    SetLayer(kDefaultLayer);
    SetImage(RaceContext::Current().FindImage("FLAGPOLE", kSection).Get());
    SetAnchorKind(kBottomLeft);
    SetRealX(x);
    SetY(y);
    flag_->AddModifier(new ModifierFrame(ModifierFrame::kEndless, kFlagFrameMs));
    AddChild(flag_.Get());
}

Flagpole::~Flagpole() = default;

void Flagpole::SetFlag(int32_t n) {
    const int32_t shown = n < 0 ? kNegativeFlag : n;
    flag_->SetImage(RaceContext::Current().FindImage("FLAG" + std::to_string(shown), kSection).Get());
    flag_->SetFrameCount(kFlagFrames, false);
    flag_->SetPosition(kFlagX, kFlagTop - GetHeight());
    flag_->SetAlpha(255);
}

int32_t GetCoinsForPerformance(int32_t n) {
    return n < 0 ? 0 : ticket_constants::IntAt(ticket_constants::List("COINS_PER_PERFORMANCE"), n);
}

int32_t CoinAwardDelay(int32_t index, int32_t count) {
    if (count <= 0) {
        return 0;
    }
    return static_cast<int32_t>(std::fabs(static_cast<float>(index * 2000) / (static_cast<float>(count) * 1.25f)));
}

void ShowCoinAward(Flagpole& pole, int32_t n) {
    HudSceneHooks& hooks = HudSceneHooks::Current();
    pole.SetFlag(n);
    Sprite& flag = *pole.GetFlag();
    flag.SetAlpha(0);
    flag.AddModifier(new ModifierWait(kRaiseWaitMs));
    flag.AddModifier(new ModifierValue(0, 255, kFadeInMs));
    Modifier* raise = flag.AddModifier(Blocking(new ModifierEaseMove(
        static_cast<float>(flag.GetX()), static_cast<float>(flag.GetY()), flag.GetX(),
        flag.GetY() - flag.GetHeight(), kRaiseMs, false, true, Smoothstep)));

    Modifier* last = raise;
    const TicketInfo* ticket = RaceContext::Current().CurrentTicket();
    if (ticket != nullptr && ticket->GameMode == TicketInfo::kMapTicket) {
        int32_t coins = GetCoinsForPerformance(n);
        if (coins > kMostAwardCoins) {
            ENGINE_LOG(1, "Flagpole: an award of %d coins is cut to %d", coins, kMostAwardCoins);
            coins = kMostAwardCoins;
        }
        // Booked at the rate the passengers are shown paying.
        hooks.AddLevelCoins(Carriage::PassengersForRating(ticket->Rating) * Carriage::CoinsPerPassenger());
        const EffectsContext& effects = EffectsContext::Current();
        GameNode* layer = effects.EffectLayer();
        Sprite* display = effects.CoinCounter();
        if (layer != nullptr && display != nullptr) {
            // The flag's centre in the effect layer's terms.
            const PointF start{
                static_cast<float>(flag.GetAbsoluteX() - layer->GetAbsoluteX()) + static_cast<float>(flag.GetWidth()) / 2.0f,
                static_cast<float>(flag.GetAbsoluteY() - layer->GetAbsoluteY()) + static_cast<float>(flag.GetHeight()) / 2.0f};
            const PointF centre{static_cast<float>(display->GetWidth()) / 2.0f,
                                static_cast<float>(display->GetHeight()) / 2.0f};
            const Ref<ForceFriction> friction(new ForceFriction(ticket_constants::Float("SLOT_PULL_RESISTANCE")));
            const Ref<ForceSeekNode> pull(new ForceSeekNode(display, centre, kPullEverywhere,
                                                            ticket_constants::Float("SLOT_PULL_SPEED"),
                                                            ForceSeek::kAttract, true));
            for (int32_t i = 0; i < coins; ++i) {
                if (Modifier* coinEnd =
                        SendCoin(*layer, i, coins, start, raise, display, centre, friction.Get(), pull.Get())) {
                    hooks.AddLevelCoins(1);
                    last = coinEnd;
                }
            }
        }
    }
    pole.AddModifier(new ModifierWait(last));
    pole.AddModifier(new ModifierCallback([](uint32_t, GameNode*) { HudSceneHooks::Current().CoinAwardFinished(); }, 0));
}
