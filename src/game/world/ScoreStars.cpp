#include "game/world/ScoreStars.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/scene/AdditiveSprite.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/ModifierMover.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/MotionForce.h"
#include "game/words/GlobalDraw.h"
#include "game/world/EffectParts.h"

namespace {

constexpr int32_t kGlowAlpha = 60;
constexpr int32_t kGlowDimAlpha = 30;
constexpr int32_t kDimMs = 500;
constexpr int32_t kFadeMs = 400;
constexpr uint32_t kMaxLingerMs = 800;
constexpr int32_t kStarFrames = 8;
constexpr int32_t kStarFrameMs = 14;
constexpr float kBaseSpeed = 300.0f;
constexpr uint32_t kSpeedRange = 200;
constexpr float kGravity = 600.0f;
constexpr float kFriction = 300.0f;
constexpr int32_t kStarsAtNode = 25;

struct StarForces {
    Ref<MotionForce> gravity;
    Ref<MotionForce> friction;
};

void SpawnOneStar(GameNode& parent, int32_t x, int32_t y, float angle, const StarForces& forces, Surface* starImage,
                  Surface* glowImage) {
    const auto linger = static_cast<int32_t>(DrawGlobal() % kMaxLingerMs);
    Ref<AdditiveSprite> glow(new AdditiveSprite(x, y, glowImage));
    glow->SetAnchorKind(Sprite::kCenter);
    glow->SetAlpha(kGlowAlpha);
    parent.AddChild(glow.Get());

    const float speed = kBaseSpeed + static_cast<float>(DrawGlobal() % kSpeedRange);
    auto* mover = new ModifierMover();
    mover->SetVelocity(PointF{speed * std::sin(angle), -speed * std::cos(angle)});
    mover->AddForce(forces.gravity.Get());
    mover->AddForce(forces.friction.Get());
    glow->AddModifier(mover);
    glow->AddModifier(Blocking(new ModifierValue(kGlowAlpha, kGlowDimAlpha, kDimMs)));
    glow->AddModifier(new ModifierWait(linger));
    glow->AddModifier(RemovingNodeAtEnd(new ModifierValue(kGlowDimAlpha, 0, kFadeMs)));

    Ref<AdditiveSprite> star(new AdditiveSprite(0, 0, starImage));
    star->SetAnchorKind(Sprite::kCenter);
    star->SetFrameCount(kStarFrames, false);
    glow->AddChild(star.Get());
    star->AddModifier(new ModifierFrame(ModifierFrame::kEndless, kStarFrameMs));
    star->AddModifier(new ModifierWait(linger + kDimMs));
    star->AddModifier(new ModifierValue(star->GetAlpha(), 0, kFadeMs));
}

}  // namespace

void SpawnScoreStars(GameNode& parent, int32_t x, int32_t y, int32_t count, int32_t spread, int32_t slot,
                     Surface* star, Surface* glow) {
    Ref<Surface> defaultStar;
    Ref<Surface> defaultGlow;
    if (star == nullptr) {
        defaultStar = effects::FindImage("SCORE_STAR", effects::kDefaultSection);
        star = defaultStar.Get();
    }
    if (glow == nullptr) {
        defaultGlow = effects::FindImage("SCORE_GLOW", effects::kDefaultSection);
        glow = defaultGlow.Get();
    }
    StarForces forces{Ref<MotionForce>(new ForceAcceleration(0.0f, kGravity)),
                      Ref<MotionForce>(new ForceFriction(kFriction))};

    auto width = static_cast<float>(spread);
    float offset = 0.0f;
    if (slot <= -1) {
        x += spread / 2;
    } else {
        // A score of no letters would divide by zero: take one letter.
        const int32_t letters = std::max(1, EffectsContext::Current().LastWordScore().letters);
        width = static_cast<float>(spread) / static_cast<float>(letters);
        offset = static_cast<float>(slot) * width;
    }
    const float step = count > 1 ? width / static_cast<float>(count - 1) : 0.0f;
    // A fan of no width points every star along its left edge.
    const float angleFactor = width != 0.0f ? 1.0f / width : 0.0f;
    for (int32_t i = 0; i < count; ++i) {
        const float place = offset + static_cast<float>(i) * step;
        const auto starX = x + static_cast<int32_t>(place - width / 2.0f);
        const float angle = (place * angleFactor - 0.5f) * std::numbers::pi_v<float> / 2.0f;
        SpawnOneStar(parent, starX, y, angle, forces, star, glow);
    }
}

void ThrowScoreStarsAtNode(uint32_t /*value*/, GameNode* node) {
    GameNode* layer = EffectsContext::Current().EffectLayer();
    if (node == nullptr || layer == nullptr) {
        return;
    }
    const auto* sprite = ObjectCast<Sprite>(node);
    const int32_t width = sprite != nullptr ? sprite->GetWidth() : 0;
    SpawnScoreStars(*layer, node->GetAbsoluteX() - width / 2 - layer->GetAbsoluteX(),
                    node->GetAbsoluteY() - layer->GetAbsoluteY(), kStarsAtNode, width, -1);
}
