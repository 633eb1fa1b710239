#pragma once

#include <cstdint>
#include <string>

#include "engine/ui/ControlCallback.h"
#include "game/dialogs/KR2Dialog.h"

class Button;
class Label;
class Scene;

// The game's question box: a header, a message and a yes and a no button,
// each running the caller's function; or, made OK-only, a plain message.
// Each question is its own instance, named after the question id.
class YesNoDialog : public KR2Dialog {
    ENGINE_CLASS(YesNoDialog, KR2Dialog)

public:
    // The KR2Dialog keys, then "minheight".
    explicit YesNoDialog(Property* definition);

    // Replaces an open box of the same question with a fresh one from
    // "DIALOG_YESNO", fills it from the text table and starts its fade-in;
    // the caller shows it in `scene`. Null when the scene builds none.
    static YesNoDialog* Ask(const std::string& questionId, const std::string& headerId, void* yesContext,
                            ControlCallback::Function yesFunction, void* noContext,
                            ControlCallback::Function noFunction, Scene* scene);

    // A null context stands for the dialog itself and a null function
    // closes it. Lays the message and the buttons out for the text.
    void SetQuestion(const std::wstring& message, const std::wstring& header, void* yesContext,
                     ControlCallback::Function yesFunction, void* noContext, ControlCallback::Function noFunction);

    // One centred OK button running the yes function; the no button goes.
    static void MakeOkOnly(YesNoDialog* dialog);

    Label* GetMessageLabel() const { return message_; }
    Button* GetYesButton() const { return yes_; }
    Button* GetNoButton() const { return no_; }
    int32_t GetMinimumHeight() const { return minimumHeight_; }

private:
    void LayOut();

    Label* message_ = nullptr;
    Button* yes_ = nullptr;
    Button* no_ = nullptr;
    int32_t minimumHeight_ = 0;
    // The yes button's height from the top as the definition placed it.
    int32_t definedYesY_ = 0;
    bool yesPlaced_ = false;
};
