#pragma once

#include <cstdint>
#include <string>

#include "engine/ui/ControlCallback.h"

class Dialog;
class GameNode;
class Scene;

// Opens a yes/no question in a scene; the game's question dialog answers it.
class QuitQuestionAsker {
public:
    // The dialog, named after the question, not yet shown; null when none
    // can be made. A null no function closes the dialog.
    virtual Dialog* Ask(const std::string& questionId, const std::string& headerId, void* yesContext,
                        ControlCallback::Function yesFunction, Scene& scene) = 0;

protected:
    ~QuitQuestionAsker() = default;
};

// Not owned; null for none. Start-up installs it.
void SetQuitQuestionAsker(QuitQuestionAsker* asker);

// How long the question waits for its dialogs to load before the run ends.
inline constexpr uint32_t kQuitDialogsWaitLimitMs = 30000;

// Closing the window or a quit button of the playing scenes: asks
// "TEXT_QUESTION_QUIT" once at a time in the current scene (a transition's
// target while one runs). Both arguments are ignored.
int32_t AskQuit(void* context, GameNode* sender);
// Whether the question stands open in `scene`: nothing else opens over it,
// and what it covers waits behind it.
bool IsQuitQuestionShown(const Scene& scene);
// The yes answer: the quit sound when its section is there, then the quit
// message, which ends the main loop.
int32_t ConfirmQuit(void* context, GameNode* sender);
