#include "game/world/TrainSmoke.h"

#include <array>

#include "engine/scene/ModifierFollowPath.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierVisibility.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/Path.h"
#include "engine/ui/SpriteLabel.h"
#include "game/words/GlobalDraw.h"
#include "game/world/EffectParts.h"

namespace {

constexpr int32_t kLetterSpacingMs = 160;
constexpr int32_t kPathMs = 2500;
constexpr int32_t kShowAfterMs = 320;
constexpr int32_t kLetterFadeInMs = 50;
constexpr int32_t kPuffFrameMs = 40;
constexpr int32_t kLabelHoldMs = 1700;
constexpr int32_t kLabelFadeMs = 1000;
constexpr uint32_t kWobble = 8;
constexpr int32_t kCurveSteps = 6;

// The wavy drift up and back from the chimney; a, b and c vary its crests.
Ref<Path> SmokePath(int32_t a, int32_t b, int32_t c) {
    const std::array<PointF, 11> points{{{0, 0},
                                         {-5, -22},
                                         {-30, -45},
                                         {-90, static_cast<float>(-49 - a)},
                                         {-150, -45},
                                         {-210, static_cast<float>(b - 41)},
                                         {-270, -45},
                                         {-330, static_cast<float>(-49 - c)},
                                         {-390, -45},
                                         {-450, static_cast<float>(b - 41)},
                                         {-510, -45}}};
    Ref<Path> path(new Path);
    for (const PointF& point : points) {
        path->Append(point);
    }
    path->UpdateBounds();
    return path->Smoothed(0, static_cast<int32_t>(points.size()) - 1, kCurveSteps, true);
}

}  // namespace

SpriteLabel* CreateLabelBefore(const std::string& name, GameNode& sibling, const std::wstring& text) {
    if (sibling.GetParent() == nullptr) {
        ENGINE_LOG(1, "effects: \"%s\" has no parent to stand in", sibling.GetName().c_str());
        return nullptr;
    }
    const Ref<SpriteLabel> label = effects::CreateNamed<SpriteLabel>(name);
    if (!label) {
        return nullptr;
    }
    label->SetText(text);
    label->BuildGlyphs();
    label->InsertBefore(&sibling);
    return label.Get();
}

void SpawnTrainSmoke(GameNode& trainNode, const std::wstring& text, int32_t delay, int32_t x, int32_t y) {
    SpriteLabel* label = CreateLabelBefore("FLOATER_SMOKE", trainNode, text);
    if (label == nullptr) {
        return;
    }
    label->SetPosition(x, y);
    const auto a = static_cast<int32_t>(DrawGlobal() % kWobble);
    const auto b = static_cast<int32_t>(DrawGlobal() % kWobble);
    const auto c = static_cast<int32_t>(DrawGlobal() % kWobble);
    // Every letter of a word follows the same curve.
    const Ref<Path> path = SmokePath(a, b, c);
    int32_t start = delay;
    for (const Ref<Sprite>& glyph : label->GetGlyphSprites()) {
        glyph->SetAlpha(0);
        if (const Ref<Sprite> puff = effects::CreateNamed<Sprite>("SPRITE_TRAIN_SMOKE")) {
            glyph->AddChild(puff.Get());
            puff->AddModifier(new ModifierWait(start));
            puff->AddModifier(new ModifierVisibility(ModifierVisibility::kShow));
            puff->AddModifier(RemovingNodeAtEnd(new ModifierFrame(1, kPuffFrameMs)));
        }
        glyph->SetPosition(0, 0);
        glyph->AddModifier(new ModifierWait(start));
        glyph->AddModifier(new ModifierFollowPath(path.Get(), 0, kPathMs));
        glyph->AddModifier(new ModifierWait(kShowAfterMs));
        glyph->AddModifier(new ModifierValue(0, 255, kLetterFadeInMs));
        start += kLetterSpacingMs;
    }
    label->AddModifier(new ModifierWait(kLabelHoldMs));
    label->AddModifier(RemovingNodeAtEnd(new ModifierValue(255, 0, kLabelFadeMs)));
}
