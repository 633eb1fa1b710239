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
    const Ref<MemorySurface> picture =
        CreateMemorySurface(SceneTransition::ScreenWidth(), SceneTransition::ScreenHeight());
    picture->SetUseAlphaChannel(false);
    return picture;
}

Ref<Sprite> MakeEmptySprite() { return Ref<Sprite>(new Sprite(0, 0, nullptr)); }

}  // namespace

int32_t SceneTransition::ScreenWidth() {
    const GameWindow* window = GameWindow::Instance();
    return window != nullptr ? window->GetWidth() : 0;
}

int32_t SceneTransition::ScreenHeight() {
    const GameWindow* window = GameWindow::Instance();
    return window != nullptr ? window->GetHeight() : 0;
}

SceneTransition::SceneTransition(Property* definition)
    : Scene(definition), sourceSprite_(MakeEmptySprite()), targetSprite_(MakeEmptySprite()) {
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
    if (colorScreen_ && colorScreen_->GetImage() == nullptr) {
        const Ref<MemorySurface> colour = MakeScreenPicture();
        const uint32_t pixel = 0xFF000000u | (static_cast<uint32_t>(GetColor()) & 0xFFFFFFu);
        for (int32_t y = 0; y < colour->GetHeight(); ++y) {
            std::fill_n(colour->Pixels32() + colour->PixelIndex(0, y), colour->GetWidth(), pixel);
        }
        colorScreen_->SetImage(colour.Get());
    }
    Scene::Activate();
}

void SceneTransition::Deactivate() {
    Scene::Deactivate();
    for (Sprite* screen : {sourceSprite_.Get(), targetSprite_.Get(), colorScreen_.Get()}) {
        if (screen != nullptr) screen->SetImage(nullptr);
    }
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

Ref<Sprite> SceneTransition::MakeColorScreen() {
    colorScreen_ = MakeEmptySprite();
    return colorScreen_;
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
