#include "main/AppSceneHooks.h"

#include "main/Application.h"
#include "scenes/SelectionScene.h"

bool AppSceneHooks::IsGameScene(const Scene* scene) const {
    const Application* application = Application::Instance();
    return scene != nullptr && application != nullptr && scene == application->GetGameScene();
}

bool AppSceneHooks::IsMapScene(const Scene* scene) const {
    const Application* application = Application::Instance();
    return scene != nullptr && application != nullptr && scene == application->GetMapScene();
}

// No level runs until the game scene is built, so there is nothing to pause,
// stop or arrange yet.
void AppSceneHooks::OnDialogOpened(Scene*, Dialog*) {}

void AppSceneHooks::OnDialogClosed(Dialog*) {}

void AppSceneHooks::OnLevelStopped() {}

void AppSceneHooks::ArrangeLetters() {}

void AppSceneHooks::OpenTrophyScreen(Scene*) { SelectionScene::OpenTrophyScreen(nullptr, nullptr); }

void AppSceneHooks::ShowWelcome(Scene* scene, bool animate) {
    SelectionScene::ShowWelcome(ObjectCast<SelectionScene>(scene), animate);
}
