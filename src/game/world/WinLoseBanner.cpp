#include "game/world/WinLoseBanner.h"

#include <array>

#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierCropSize.h"
#include "engine/scene/ModifierEaseMove.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierVisibility.h"
#include "engine/scene/ModifierWait.h"
#include "game/world/EffectParts.h"
#include "game/world/ScoreStars.h"

namespace {

struct Keyframe {
    double width;
    double height;
};

constexpr Keyframe kFull{1.0, 1.0};
constexpr Keyframe kNothing{0.0, 0.0};
constexpr std::array<Keyframe, 3> kBounce{{{1.2, 0.9}, {0.8, 1.3}, {1.0, 1.0}}};
constexpr int32_t kStepMs = 180;
constexpr int32_t kGrowMs = 360;
constexpr int32_t kRepeatMs = 2200;

constexpr int32_t kSlideMs = 500;
constexpr int32_t kTextY = -4;
constexpr int32_t kTextHoldMs = 3000;
constexpr int32_t kBannerFadeMs = 400;
constexpr int32_t kBannerRaise = 6;
constexpr int32_t kClipMargin = 3;

Sprite* BannerText(const Sprite& banner) { return ObjectCast<Sprite>(banner.GetFirstChild()); }

}  // namespace

void PlayBounce(Sprite& node, int32_t delay, bool keepSize, bool fromFull) {
    const int32_t width = node.GetWidth();
    const int32_t height = node.GetHeight();
    if (!keepSize && !fromFull) {
        node.SetCropSize(0, 0);
    }
    if (delay > 0) {
        node.AddModifier(new ModifierWait(delay));
    }
    Keyframe from = fromFull ? kFull : kNothing;
    int32_t duration = fromFull ? kStepMs : kGrowMs;
    for (const Keyframe& to : kBounce) {
        node.AddModifier(Blocking(new ModifierCropSize(
            static_cast<int32_t>(width * from.width), static_cast<int32_t>(height * from.height),
            static_cast<int32_t>(width * to.width), static_cast<int32_t>(height * to.height), duration)));
        from = to;
        duration = kStepMs;
    }
}

void RepeatBounce(uint32_t /*value*/, GameNode* node) {
    auto* sprite = ObjectCast<Sprite>(node);
    if (sprite == nullptr) {
        return;
    }
    sprite->AddModifier(new ModifierWait(kRepeatMs));
    PlayBounce(*sprite, 0, false, true);
    sprite->AddModifier(new ModifierCallback(RepeatBounce, 0));
}

void ShowWinLoseBanner(Sprite& banner, bool won) {
    EffectsContext& context = EffectsContext::Current();
    Sprite* text = BannerText(banner);
    const Sprite* queue = context.WordQueue();
    if (text == nullptr || queue == nullptr) {
        ENGINE_LOG(1, "effects: the level-end banner needs its text and the word queue");
        return;
    }
    effects::ShowImage(*text, won ? "WIN_TEXT" : "LOSE_TEXT", effects::kGameSection);
    effects::ShowImage(banner, won ? "WIN_BACK" : "LOSE_BACK", effects::kGameSection);

    const int32_t queueX = queue->GetAbsoluteX() - 1;
    const int32_t queueY = queue->GetAbsoluteY();
    const int32_t targetX = queue->GetWidth() / 2 + queueX;
    const int32_t targetY = banner.GetHeight() / 2 + queueY - kBannerRaise;
    const int32_t startX = banner.GetWidth() / 2 + queue->GetWidth() + queueX;

    text->SetCropSize(text->GetWidth(), text->GetHeight());
    banner.SetAlpha(255);
    text->SetX(queueX - text->GetWidth() / 2 - startX);
    banner.SetX(startX);
    text->SetAnchorKind(Sprite::kCenter);
    banner.SetAnchorKind(Sprite::kCenter);
    text->ClearModifiers();
    banner.ClearModifiers();

    text->AddModifier(new ModifierEaseMove(static_cast<float>(text->GetX()), static_cast<float>(kTextY), 0, kTextY,
                                           kSlideMs, true, true, Smoothstep));
    text->AddModifier(new ModifierWait(kTextHoldMs));
    banner.AddModifier(Blocking(new ModifierEaseMove(static_cast<float>(banner.GetX()),
                                                     static_cast<float>(targetY), targetX, targetY, kSlideMs,
                                                     true, true, Smoothstep)));
    banner.AddModifier(new ModifierCallback([](uint32_t, GameNode*) { EffectsContext::Current().ContinueLevelEnd(); }, 0));
    banner.AddModifier(new ModifierCallback(ThrowScoreStarsAtNode, 0));
    HideWinLoseBanner(banner, false);

    if (const std::optional<Rect>& clip = queue->GetClipRect()) {
        banner.SetClipRect(clip->x, clip->y - kClipMargin, clip->w, clip->h + 2 * kClipMargin);
    }
    banner.SetVisible(true);
}

void HideWinLoseBanner(Sprite& banner, bool clear) {
    Sprite* text = BannerText(banner);
    if (text == nullptr) {
        return;
    }
    if (clear) {
        banner.ClearModifiers();
        text->ClearModifiers();
    }
    PlayBounce(*text, 0, true, false);
    Modifier* textEnd = text->GetModifiers().back().Get();
    banner.AddModifier(new ModifierWait(textEnd));
    banner.AddModifier(Blocking(new ModifierValue(255, 0, kBannerFadeMs)));
    banner.AddModifier(new ModifierVisibility(ModifierVisibility::kHide));
}
