#include "game/world/OneShotEffects.h"

#include <array>
#include <cmath>
#include <numbers>

#include "engine/scene/AdditiveSprite.h"
#include "engine/scene/AnimationTree.h"
#include "engine/scene/ModifierEaseMove.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/ModifierPulse.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/ModifierZoom.h"
#include "game/words/GlobalDraw.h"
#include "game/world/EffectParts.h"

namespace {

constexpr int32_t kSparkCount = 10;
constexpr int32_t kSparkSpacingMs = 140;
constexpr int32_t kSparkBoxLeft = -25;
constexpr uint32_t kSparkBoxWidth = 50;
constexpr int32_t kSparkBoxTop = -20;
constexpr uint32_t kSparkBoxHeight = 20;
constexpr int32_t kSparkFall = 40;
constexpr int32_t kSparkFallMs = 600;
constexpr int32_t kSparkFadeMs = 50;

constexpr float kStarFlight = -530.0f;
constexpr int32_t kStarFlightMs = 600;
constexpr int32_t kStarHoldMs = 80;
constexpr int32_t kStarFrameMs = 30;

constexpr int32_t kRingFirstDelayMs = 40;
constexpr int32_t kRingStepMs = 95;
constexpr int32_t kRingDelayEndMs = 895;
constexpr int32_t kStarsPerRing = 10;
constexpr float kRingTurn = 2.0f * std::numbers::pi_v<float> / 30.0f;

constexpr int32_t kDarkDelayMs = 150;
constexpr int32_t kDarkAlpha = 60;
constexpr int32_t kGlowAlpha = 220;
constexpr ModifierPulse::Timing kFlash{100, 100, 0, 0};
constexpr int32_t kFlashLoops = 2;

struct ZoomStep {
    float from;
    float to;
    int32_t durationMs;
};

constexpr std::array<ZoomStep, 4> kWobble{{{1.0f, 1.04f, 120}, {1.05f, 0.96f, 80}, {0.96f, 1.02f, 80},
                                            {1.02f, 1.0f, 100}}};

}  // namespace

void SpawnBonusSpark(GameNode& parent, int32_t x, int32_t y, int32_t delay) {
    const Ref<Surface> image = effects::FindImage("BONUS_APPEAR_SPARK", effects::kGameSection);
    for (int32_t k = 0; k < kSparkCount; ++k) {
        const int32_t wait = delay + kSparkSpacingMs * k;
        const int32_t sparkX = x + kSparkBoxLeft + static_cast<int32_t>(DrawGlobal() % kSparkBoxWidth);
        const int32_t sparkY = y + kSparkBoxTop + static_cast<int32_t>(DrawGlobal() % kSparkBoxHeight);
        Ref<AdditiveSprite> spark(new AdditiveSprite(x, y, image.Get()));
        spark->SetAnchorKind(Sprite::kCenter);
        spark->SetAlpha(0);
        parent.AddChild(spark.Get());
        spark->AddModifier(new ModifierWait(wait));
        spark->AddModifier(new ModifierValue(0, 255, kSparkFadeMs));
        spark->AddModifier(Blocking(new ModifierEaseMove(
            static_cast<float>(sparkX), static_cast<float>(sparkY), sparkX, sparkY + kSparkFall, kSparkFallMs)));
        spark->AddModifier(RemovingNodeAtEnd(new ModifierValue(255, 0, kSparkFadeMs)));
    }
}

Modifier* SpawnStar(GameNode& parent, Modifier* parentModifier, int32_t x, int32_t y, float angle, int32_t delay,
                    bool silver) {
    if (parentModifier == nullptr) {
        ENGINE_LOG(1, "effects: a flying star needs a modifier of the animation tree to follow");
        return nullptr;
    }
    const Ref<Sprite> star = effects::CreateNamed<Sprite>(silver ? "SPRITE_STAR_SILVER" : "SPRITE_STAR");
    if (!star) {
        return nullptr;
    }
    const int32_t endX = x - static_cast<int32_t>(std::sin(angle) * kStarFlight);
    const int32_t endY = y - static_cast<int32_t>(std::cos(angle) * kStarFlight);
    star->SetPosition(x, y);
    parent.AddChild(star.Get());
    Modifier* wait = AnimationTree::Add(parentModifier, new ModifierWait(delay), star.Get());
    Modifier* hold = AnimationTree::Add(wait, new ModifierValue(255, 255, kStarHoldMs), star.Get());
    Modifier* flight = AnimationTree::Add(
        wait,
        RemovingNodeAtEnd(new ModifierEaseMove(static_cast<float>(x), static_cast<float>(y), endX, endY,
                                               kStarFlightMs)),
        star.Get());
    AnimationTree::Add(hold, new ModifierFrame(1, kStarFrameMs), star.Get());
    return flight;
}

void BurstStarRings(GameNode& parent, Modifier* parentModifier, int32_t x, int32_t y, bool silver) {
    constexpr float kStarStep = 2.0f * std::numbers::pi_v<float> / kStarsPerRing;
    for (int32_t ring = 0, delay = kRingFirstDelayMs; delay < kRingDelayEndMs; ++ring, delay += kRingStepMs) {
        const float first = static_cast<float>(ring % 3) * kRingTurn;
        for (int32_t star = 0; star < kStarsPerRing; ++star) {
            SpawnStar(parent, parentModifier, x, y, first + static_cast<float>(star) * kStarStep, delay, silver);
        }
    }
}

void ShowTrainGlow(GameNode& parent, int32_t x, int32_t y) {
    Ref<Sprite> dark(new Sprite(x, y, effects::FindImage("TRAIN_DARK", effects::kGameSection).Get()));
    Ref<AdditiveSprite> glow(new AdditiveSprite(x, y, effects::FindImage("TRAIN_GLOW", effects::kGameSection).Get()));
    for (Sprite* sprite : {static_cast<Sprite*>(dark.Get()), static_cast<Sprite*>(glow.Get())}) {
        sprite->SetAnchorKind(Sprite::kCenter);
        sprite->SetAlpha(0);
        parent.AddChild(sprite);
    }
    dark->AddModifier(new ModifierWait(kDarkDelayMs));
    dark->AddModifier(RemovingNodeAtEnd(new ModifierPulse(0, kDarkAlpha, kFlash, kFlashLoops)));
    glow->AddModifier(RemovingNodeAtEnd(new ModifierPulse(0, kGlowAlpha, kFlash, kFlashLoops)));
}

void PlayZoomWobble(Sprite& node) {
    for (const ZoomStep& step : kWobble) {
        node.AddModifier(Blocking(new ModifierZoom(step.durationMs, step.from, step.to)));
    }
}
