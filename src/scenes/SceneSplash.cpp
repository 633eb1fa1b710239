#include "scenes/SceneSplash.h"

#include <functional>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/SectionManager.h"
#include "engine/media/ImageTools.h"
#include "engine/scene/AnimationTree.h"
#include "engine/scene/DialogTable.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierRotateScale.h"
#include "engine/scene/ModifierThreshold.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/SceneResources.h"
#include "engine/scene/ThresholdSprite.h"
#include "engine/ui/ControlSupport.h"
#include "engine/ui/SceneManager.h"
#include "engine/ui/SceneTransition.h"

namespace {

const ClassRegistration registration("SceneSplash", CreateFromProperty<SceneSplash>);

const std::string kSection = "splash";

Ref<Surface> FindPicture(const std::string& name) {
    const Ref<Object> data = FindResourceData(name, kSection);
    return Ref<Surface>(ObjectCast<Surface>(data.Get()));
}

// Builds the one chain of the timeline: each step starts when the one
// before it has finished.
class Chain {
public:
    explicit Chain(Modifier* root) : last_(root) {}

    void Then(Modifier* step, GameNode* target, uint32_t options = 0) {
        const Ref<Modifier> keep(step);
        step->SetOptions(step->GetOptions() | options);
        last_ = AnimationTree::Add(last_, step, target);
    }
    void Wait(int32_t ms, GameNode* target) { Then(new ModifierWait(ms), target); }
    void Call(std::function<void()> function, GameNode* target) {
        Then(new ModifierCallback([function = std::move(function)](uint32_t, GameNode*) { function(); }, 0), target);
    }
    void Reveal(GameNode* layer, int32_t ms) { Then(new ModifierThreshold(ms), layer); }
    void Appear(GameNode* sprite) { Then(new ModifierValue(0, 255, 1), sprite); }
    void ShrinkAway(GameNode* sprite) {
        Then(new ModifierRotateScale(0.0f, 0.0f, 1.0f, 0.0f, 300), sprite, Modifier::kRemoveNodeAtEnd);
    }

private:
    Modifier* last_;
};

}  // namespace

Sprite* SceneSplash::AddSprite(GameNode& parent, const std::string& image, int32_t x, int32_t y) {
    auto* sprite = new Sprite(x, y, FindPicture(image).Get());
    sprite->SetAnchorKind(Sprite::kCenter);
    parent.AddChild(sprite);
    return sprite;
}

ThresholdSprite* SceneSplash::AddLayer(GameNode& parent, const std::string& image, const std::string& mask, int32_t x,
                                       int32_t y) {
    auto* layer = new ThresholdSprite;
    layer->SetPosition(x, y);
    if (const Ref<Surface> picture = FindPicture(image)) {
        layer->SetPicture(picture.Get());
        if (const Ref<Surface> map = FindPicture(mask)) {
            layer->SetThresholdMap(ExtractChannelMap(*map, 1).Get());
        }
    }
    layer->SetAnchorKind(Sprite::kCenter);
    layer->SetThreshold(0.0f);
    parent.AddChild(layer);
    return layer;
}

void SceneSplash::PlaySplashSound(const std::string& name) { PlayControlSound(name, kSection); }

void SceneSplash::Build() {
    Scene::Build();
    Sprite* base = AddSprite(*GetRootNode(), "WHITE_CIRCLE", 320, 280);
    base->SetScale(0.0f);
    Sprite* circle = AddSprite(*base, "Q_CIRCLE_BLACK", 1, 1);
    circle->SetAlpha(0);
    Sprite* beamer = AddSprite(*base, "BEAMER", 1, 1);
    beamer->SetAlpha(0);
    ThresholdSprite* whiteBorder = AddLayer(*base, "WHITE_CIRCLE", "BORDER_WHITE_MASK", 1, 1);
    ThresholdSprite* greenMask = AddLayer(*base, "Q_GREEN_MASK", "Q_CIRCLE_BLACK_MASK", 1, 1);
    ThresholdSprite* green = AddLayer(*base, "Q_GREEN", "Q_GREEN_MASK", 1, 1);
    ThresholdSprite* inside = AddLayer(*base, "Q_INSIDE", "Q_INSIDE_MASK", 1, 1);
    ThresholdSprite* blackBorder = AddLayer(*base, "BORDER_BLACK", "BORDER_BLACK_MASK", 1, 1);
    ThresholdSprite* name = AddLayer(*base, "QUELT", "QUELT_MASK", 170, -25);
    Sprite* mark = AddSprite(*name, "R", 90, -30);
    mark->SetAlpha(0);
    Sprite* smallBeamer = AddSprite(*name, "BEAMER_SMALL", 90, -30);
    smallBeamer->SetAlpha(0);

    Chain chain(GetAnimationTree());
    chain.Wait(1000, base);
    chain.Call([] { PlaySplashSound("SOUND_QUELT_SPLASH"); }, base);
    chain.Then(new ModifierRotateScale(0.0f, 0.0f, 0.0f, 0.68f, 300), base);
    chain.Wait(200, base);
    chain.Reveal(inside, 500);
    chain.Reveal(blackBorder, 500);
    chain.Reveal(green, 500);
    chain.Reveal(greenMask, 200);
    chain.Reveal(whiteBorder, 500);
    chain.Appear(circle);
    chain.Appear(beamer);
    chain.ShrinkAway(beamer);
    chain.Reveal(name, 500);
    chain.Appear(smallBeamer);
    chain.Appear(mark);
    chain.Call([] { PlaySplashSound("SOUND_QUELT"); }, base);
    chain.ShrinkAway(smallBeamer);
    chain.Wait(2000, base);
    chain.Call([this] { animationDone_ = true; }, base);
}

void SceneSplash::Update(int32_t) {
    if (!animationDone_) {
        return;
    }
    if (SectionManager* sections = SectionManager::Instance(); sections != nullptr && sections->RequestSection("preloading")) {
        return;
    }
    SceneManager* manager = SceneManager::Instance();
    const DialogTable* table = DialogTable::Instance();
    if (manager == nullptr || table == nullptr) {
        return;
    }
    const Ref<Object> built(table->CreateDialog("TRANSITION_SPLASH"));
    manager->RequestSwitch(manager->FindScene("SCENE_LOAD"), ObjectCast<SceneTransition>(built.Get()));
    animationDone_ = false;
}
