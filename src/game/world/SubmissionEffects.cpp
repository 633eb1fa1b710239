#include "game/world/SubmissionEffects.h"

#include <array>
#include <cmath>
#include <numbers>

#include "engine/media/BitmapFont.h"
#include "engine/scene/AdditiveSprite.h"
#include "engine/scene/ModifierEaseMove.h"
#include "engine/scene/ModifierMover.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/MotionForce.h"
#include "engine/ui/Label.h"
#include "game/words/GlobalDraw.h"
#include "game/world/EffectParts.h"
#include "game/world/ScoreStars.h"
#include "game/world/WinLoseBanner.h"

namespace {

constexpr int32_t kScoreOffsetX = 25;
constexpr int32_t kScoreOffsetY = -5;
constexpr int32_t kScoreRise = 800;
constexpr int32_t kScoreRiseMs = 12000;
constexpr int32_t kScoreHoldMs = 800;
constexpr int32_t kScoreFadeMs = 500;
// Words up to this many letters throw no stars.
constexpr int32_t kLettersWithoutStars = 4;
constexpr int32_t kStarSpreadPerLetter = 11;

constexpr uint32_t kSparkAngleRange = 3141;
constexpr float kSparkSpeed = 300.0f;
constexpr float kSparkFriction = 400.0f;
constexpr float kSparkGravity = 800.0f;
constexpr int32_t kSparkCarrierMs = 4000;

struct SparkStep {
    const char* image;
    int32_t waitMs;
    int32_t fadeInMs;
    int32_t holdMs;
    int32_t fadeOutMs;
};

constexpr std::array<SparkStep, 5> kSparks{{
    {"SPARK_GLOW1", 0, 100, 500, 300},
    {"SPARK_GLOW2", 600, 100, 100, 500},
    {"COAL_SPARK1", 0, 100, 200, 300},
    {"COAL_SPARK2", 400, 100, 200, 300},
    {"COAL_SPARK3", 800, 100, 200, 300},
}};

}  // namespace

std::wstring FloatingScoreText(int32_t points, int32_t multiplier, int32_t bonus) {
    std::wstring text = L"+" + std::to_wstring(points);
    if (multiplier > 1) {
        text += L"x" + std::to_wstring(multiplier);
    }
    if (bonus > 0) {
        text += L"+" + std::to_wstring(bonus);
    }
    return text;
}

void ShowFloatingScore(uint32_t /*value*/, GameNode* node) {
    EffectsContext& context = EffectsContext::Current();
    GameNode* layer = context.EffectLayer();
    if (node == nullptr || layer == nullptr) {
        return;
    }
    const int32_t x = node->GetAbsoluteX() + kScoreOffsetX;
    const int32_t y = node->GetAbsoluteY() + kScoreOffsetY;
    const EffectsContext::WordScore score = context.LastWordScore();
    const Ref<Label> label = effects::CreateNamed<Label>("FLOATER_SCORE");
    if (!label) {
        return;
    }
    const Ref<Object> font =
        context.FindResource("FONT_FLOATER_" + std::to_string(score.letters), effects::kGameSection);
    if (auto* bitmapFont = ObjectCast<BitmapFont>(font.Get())) {
        label->SetFont(bitmapFont);
    }
    label->SetText(FloatingScoreText(score.points, score.multiplier, score.bonus));
    label->SetPosition(x, y);
    layer->AddChild(label.Get());
    label->AddModifier(new ModifierEaseMove(static_cast<float>(x), static_cast<float>(y), x, y - kScoreRise,
                                            kScoreRiseMs));
    PlayBounce(*label, 0, false, false);
    label->AddModifier(new ModifierWait(kScoreHoldMs));
    label->AddModifier(RemovingNodeAtEnd(new ModifierValue(255, 0, kScoreFadeMs)));
}

void ThrowCoalScoreStars(uint32_t /*value*/, GameNode* node) {
    EffectsContext& context = EffectsContext::Current();
    GameNode* layer = context.EffectLayer();
    if (node == nullptr || layer == nullptr) {
        return;
    }
    const int32_t letters = context.LastWordScore().letters;
    int32_t count = letters - kLettersWithoutStars;
    // The lighter picture throws more stars, not fewer.
    if (!context.HighQuality()) {
        count *= 2;
    }
    const auto* sprite = ObjectCast<Sprite>(node);
    const int32_t slot = sprite != nullptr ? sprite->GetColor() : -1;
    SpawnScoreStars(*layer, node->GetAbsoluteX() - layer->GetAbsoluteX(), node->GetAbsoluteY() - layer->GetAbsoluteY(),
                    count, letters * kStarSpreadPerLetter, slot);
}

GameNode* SpawnSparkCarrier(GameNode& parent, int32_t x, int32_t y) {
    const float angle =
        static_cast<float>(DrawGlobal() % kSparkAngleRange) * 0.001f - std::numbers::pi_v<float> / 2.0f;
    Ref<GameNode> carrier(new GameNode());
    parent.AddChild(carrier.Get());
    carrier->SetPosition(x, y);
    auto* mover = new ModifierMover();
    mover->SetVelocity(PointF{kSparkSpeed * std::sin(angle), -kSparkSpeed * std::cos(angle)});
    mover->AddForce(new ForceFriction(kSparkFriction));
    mover->AddForce(new ForceAcceleration(0.0f, kSparkGravity));
    carrier->AddModifier(mover);
    carrier->AddModifier(RemovingNodeAtEnd(new ModifierWait(kSparkCarrierMs)));
    return carrier.Get();
}

void SpawnCoalSparks(GameNode& parent, int32_t x, int32_t y) {
    GameNode* carrier = SpawnSparkCarrier(parent, x, y);
    for (const SparkStep& step : kSparks) {
        Ref<AdditiveSprite> spark(new AdditiveSprite());
        effects::ShowImage(*spark, step.image, effects::kGameSection);
        spark->SetAnchorKind(Sprite::kCenter);
        spark->SetAlpha(0);
        carrier->AddChild(spark.Get());
        if (step.waitMs > 0) {
            spark->AddModifier(new ModifierWait(step.waitMs));
        }
        spark->AddModifier(Blocking(new ModifierValue(0, 255, step.fadeInMs)));
        spark->AddModifier(new ModifierWait(step.holdMs));
        spark->AddModifier(RemovingNodeAtEnd(new ModifierValue(255, 0, step.fadeOutMs)));
    }
}
