#include "scenes/QuitQuestion.h"

#include "engine/foundation/Logger.h"
#include "engine/foundation/SectionManager.h"
#include "engine/media/GameWindow.h"
#include "engine/media/SoundSample.h"
#include "engine/ui/Scene.h"
#include "engine/ui/SceneManager.h"
#include "engine/ui/SceneTransition.h"
#include "platform/MessageBox.h"
#include "platform/Window.h"
#include "engine/foundation/BoundedWait.h"

namespace {

const char* const kQuestionId = "TEXT_QUESTION_QUIT";

QuitQuestionAsker*& Asker() {
    static QuitQuestionAsker* asker = nullptr;
    return asker;
}

Scene* QuestionScene() {
    const SceneManager* manager = SceneManager::Instance();
    Scene* scene = manager != nullptr ? manager->GetCurrentScene() : nullptr;
    if (const auto* transition = ObjectCast<SceneTransition>(scene)) {
        scene = transition->GetTargetScene();
    }
    return scene;
}

// RequestSection answers true while the section is still loading.
bool SectionLoaded(const char* name) {
    SectionManager* sections = SectionManager::Instance();
    return sections == nullptr || !sections->RequestSection(name);
}

}  // namespace

void SetQuitQuestionAsker(QuitQuestionAsker* asker) { Asker() = asker; }

int32_t AskQuit(void*, GameNode*) {
    Scene* scene = QuestionScene();
    if (scene == nullptr || scene->IsDialogShown(kQuestionId)) {
        return 0;
    }
    if (!WaitForLoading([] { return SectionLoaded("dialogs"); }, kQuitDialogsWaitLimitMs)) {
        // Without its dialogs the question cannot be asked; the player wanted out.
        const GameWindow* window = GameWindow::Instance();
        platform::MessageBox(window != nullptr ? window->GetHwnd() : 0,
                             "The game's dialogs could not be loaded, so the quit question cannot be shown.\n"
                             "The game ends now.",
                             "Error", platform::MB_OK | platform::MB_ICONERROR);
        platform::PostQuitMessage(0);
        return 0;
    }
    if (Asker() == nullptr) {
        ENGINE_LOG(1, "AskQuit: no question dialog is installed");
        return 0;
    }
    scene->ShowDialog(Asker()->Ask(kQuestionId, "TEXT_QUIT_HEADER", nullptr, ConfirmQuit, *scene));
    return 0;
}

bool IsQuitQuestionShown(const Scene& scene) { return scene.IsDialogShown(kQuestionId); }

int32_t ConfirmQuit(void*, GameNode*) {
    SectionManager* sections = SectionManager::Instance();
    if (sections != nullptr && !sections->RequestSection("default")) {
        if (const auto* quit = ObjectCast<SoundSample>(sections->GetResource("SOUND_QUIT", "default"))) {
            quit->PlaySample(255, 128, false);
        }
    }
    platform::PostQuitMessage(0);
    return 0;
}
