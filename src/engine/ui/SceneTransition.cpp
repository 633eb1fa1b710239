#include "engine/ui/SceneTransition.h"

#include <algorithm>

#include "engine/media/Canvas.h"
#include "engine/media/GameWindow.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/ui/FullScreenHandler.h"
#include "engine/ui/SceneManager.h"

namespace {

// A window-sized 32-bit picture without alpha channel.
Ref<MemorySurface> MakeScreenPicture() {
    const GameWindow* window = GameWindow::Instance();
    const int32_t width = window != nullptr ? window->GetWidth() : 0;
    const int32_t height = window != nullptr ? window->GetHeight() : 0;
    const Ref<MemorySurface> picture = CreateMemorySurface(width, height);
    picture->SetUseAlphaChannel(false);
    return picture;
}

// The same in a sprite at (0, 0).
Ref<Sprite> MakeScreenSprite() { return Ref<Sprite>(new Sprite(0, 0, MakeScreenPicture().Get())); }

}  // namespace

SceneTransition::SceneTransition(Property* definition)
    : Scene(definition), sourceSprite_(MakeScreenSprite()), targetSprite_(MakeScreenSprite()) {
    GetRootNode()->AddChild(sourceSprite_.Get());
    GetRootNode()->AddChild(targetSprite_.Get());
}

SceneTransition::~SceneTransition() = default;

void SceneTransition::SetScenes(Scene* source, Scene* target) {
    source_ = source;
    target_ = target;
}

void SceneTransition::Activate() {
    if (source_ != nullptr) {
        source_->SetActive(false);
    }
    for (Sprite* screen : {sourceSprite_.Get(), targetSprite_.Get()}) {
        if (screen->GetImage() == nullptr) {
            screen->SetImage(MakeScreenPicture().Get());
        }
    }
    Scene::Activate();
}

void SceneTransition::Deactivate() {
    Scene::Deactivate();
    sourceSprite_->SetImage(nullptr);
    targetSprite_->SetImage(nullptr);
}

void SceneTransition::PrepareTarget() {
    if (target_ == nullptr) {
        return;
    }
    target_->Activate();
    target_->SetActive(false);
}

void SceneTransition::Finish() {
    if (SceneManager* manager = SceneManager::Instance()) {
        manager->SetNextScene(target_);
    }
    if (activateOnFinish_ && target_ != nullptr) {
        target_->SetActive(true);
    }
    FullScreenHandler::ShowAfterTransition(target_);
}

Ref<Modifier> SceneTransition::MakeEndCallback() {
    return Ref<Modifier>(new ModifierCallback([this](uint32_t, GameNode*) { OnAnimationEnd(*this); }, 0));
}

Ref<Sprite> SceneTransition::MakeColorScreen() const {
    const Surface* screen = sourceSprite_->GetImage();
    const Ref<MemorySurface> colour = CreateMemorySurface(screen->GetWidth(), screen->GetHeight());
    colour->SetUseAlphaChannel(false);
    const uint32_t pixel = 0xFF000000u | (static_cast<uint32_t>(GetColor()) & 0xFFFFFFu);
    for (int32_t y = 0; y < colour->GetHeight(); ++y) {
        std::fill_n(colour->Pixels32() + colour->PixelIndex(0, y), colour->GetWidth(), pixel);
    }
    return Ref<Sprite>(new Sprite(0, 0, colour.Get()));
}

void SceneTransition::DrawSourceScene() {
    Surface* picture = sourceSprite_->GetImage();
    const GameWindow* window = GameWindow::Instance();
    if (picture != nullptr && window != nullptr && window->GetBackSurface() != nullptr) {
        const Ref<Canvas> canvas = picture->CreateCanvas();
        canvas->Blit(*window->GetBackSurface(), 0, 0);
    }
    DrawScene(source_, *sourceSprite_);
}

void SceneTransition::DrawTargetScene() { DrawScene(target_, *targetSprite_); }

void SceneTransition::DrawScene(Scene* scene, Sprite& sprite) {
    Surface* picture = sprite.GetImage();
    if (scene == nullptr || picture == nullptr) {
        return;
    }
    if (const GameWindow* window = GameWindow::Instance(); window != nullptr && window->GetCanvas() != nullptr) {
        window->GetCanvas()->PrepareSurface(*picture);
    }
    const Ref<Canvas> canvas = picture->CreateCanvas();
    scene->DrawInto(*canvas);
    sprite.SetDirty(true);
}
