#include "game/dialogs/YesNoDialog.h"

#include <algorithm>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/scene/SceneResources.h"
#include "engine/ui/Button.h"
#include "engine/ui/Label.h"
#include "engine/ui/Scene.h"
#include "game/constants/GameConstants.h"

namespace {

const ClassRegistration registration("YesNoDialog", CreateFromProperty<YesNoDialog>);

// Half the distance between the yes and the no button's inner edges.
constexpr int32_t kButtonGap = 20;

std::wstring TextOf(const std::string& id) {
    const Defines* defines = Defines::Instance();
    return defines != nullptr ? defines->GetText(id) : std::wstring();
}

}  // namespace

YesNoDialog::YesNoDialog(Property* definition) : KR2Dialog(definition) {
    minimumHeight_ = Property::AsInt(Property::Child(GetDefinition(), "minheight"));
}

YesNoDialog* YesNoDialog::Ask(const std::string& questionId, const std::string& headerId, void* yesContext,
                              ControlCallback::Function yesFunction, void* noContext,
                              ControlCallback::Function noFunction, Scene* scene) {
    if (scene == nullptr) {
        return nullptr;
    }
    if (const auto open = scene->GetDialogMap().find(questionId); open != scene->GetDialogMap().end()) {
        scene->CloseDialog(open->second.Get());
    }
    auto* dialog = ObjectCast<YesNoDialog>(scene->GetDialog("DIALOG_YESNO", true, questionId));
    if (dialog == nullptr) {
        ENGINE_LOG(1, "YesNoDialog: \"DIALOG_YESNO\" is no question dialog");
        return nullptr;
    }
    dialog->SetQuestion(TextOf(questionId), TextOf(headerId), yesContext, yesFunction, noContext, noFunction);
    FadeIn(dialog, DIALOG_FADE_TIME);
    return dialog;
}

void YesNoDialog::SetQuestion(const std::wstring& message, const std::wstring& header, void* yesContext,
                              ControlCallback::Function yesFunction, void* noContext,
                              ControlCallback::Function noFunction) {
    void* self = static_cast<Object*>(this);
    message_ = ObjectCast<Label>(FindChild("MESSAGE"));
    yes_ = ObjectCast<Button>(FindChild("BUTTON_YES"));
    no_ = ObjectCast<Button>(FindChild("BUTTON_NO"));
    BindControl(yes_, yesFunction != nullptr ? yesFunction : &KR2Dialog::CloseHandler,
                yesContext != nullptr ? yesContext : self);
    BindControl(no_, noFunction != nullptr ? noFunction : &KR2Dialog::CloseHandler,
                noContext != nullptr ? noContext : self);
    if (message_ == nullptr || yes_ == nullptr || no_ == nullptr) {
        ENGINE_LOG(1, "YesNoDialog \"%s\": lacks MESSAGE, BUTTON_YES or BUTTON_NO", GetName().c_str());
    }
    SetHeaderText(header);
    if (message_ != nullptr) {
        message_->SetText(message);
    }
    LayOut();
}

void YesNoDialog::LayOut() {
    if (yes_ != nullptr && !yesPlaced_) {
        definedYesY_ = yes_->GetY();
        yesPlaced_ = true;
    }
    const int32_t bottomGap = minimumHeight_ - definedYesY_;
    const int32_t messageHeight = message_ != nullptr ? message_->GetHeight() : 0;
    SetHeight(std::max(GetHeight(), messageHeight + minimumHeight_));
    const int32_t centreX = GetWidth() / 2 + DIALOG_CENTER_OFFSET;
    if (message_ != nullptr) {
        message_->SetPosition(centreX, GetHeight() / 2);
    }
    if (yes_ != nullptr) {
        yes_->SetPosition(centreX - kButtonGap, GetHeight() - bottomGap);
    }
    if (no_ != nullptr) {
        no_->SetPosition(centreX + kButtonGap, GetHeight() - bottomGap);
    }
}

void YesNoDialog::MakeOkOnly(YesNoDialog* dialog) {
    if (dialog == nullptr) {
        return;
    }
    if (dialog->no_ != nullptr) {
        dialog->no_->SetVisible(false);
        dialog->no_->SetEnabled(false);
    }
    Button* yes = dialog->yes_;
    if (yes == nullptr) {
        return;
    }
    yes->SetAnchorKind(Sprite::kTop);
    if (yes->GetCropRect()) {
        yes->SetPivotKind(Sprite::kTop);
    }
    yes->SetX(dialog->GetWidth() / 2 + DIALOG_CENTER_OFFSET);
    const Ref<Object> image = FindResourceData("BUTTON_OK", "dialogs");
    if (auto* surface = ObjectCast<Surface>(image.Get())) {
        yes->SetImage(surface);
    } else {
        ENGINE_LOG(1, "YesNoDialog: no \"BUTTON_OK\" image in section \"dialogs\"");
    }
}
