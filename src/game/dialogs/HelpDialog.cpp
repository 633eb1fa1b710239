#include "game/dialogs/HelpDialog.h"

#include <algorithm>
#include <string>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/scene/ModifierWait.h"
#include "engine/ui/Button.h"
#include "engine/ui/Label.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/NumberFields.h"

namespace {

const ClassRegistration registration("HelpDialog", CreateFromProperty<HelpDialog>);

// How long the help stays invisible before it fades in.
constexpr int32_t kShowDelayMs = 200;
constexpr int32_t kSubHeaderLineHeight = 35;

std::wstring EntryText(const PropertyVector* list, int32_t index) {
    Property* entry = list != nullptr ? Property::At(list, index) : nullptr;
    return entry != nullptr && entry->GetKind() == Property::kValue ? Property::AsText(entry) : std::wstring();
}

void SetLabelText(Label* label, const std::wstring& text) {
    if (label != nullptr) {
        label->SetText(text);
    }
}

void EnableButton(Button* button, bool enabled) {
    if (button != nullptr) {
        button->SetEnabled(enabled);
    }
}

}  // namespace

HelpDialog::HelpDialog(Property* definition) : KR2Dialog(definition) {
    if (const Defines* defines = Defines::Instance()) {
        headers_ = defines->GetVector("HELP_HEADERS");
        subHeaders_ = defines->GetVector("HELP_SUBHEADERS");
    }
    header_ = ObjectCast<Label>(FindChild("LABEL_PANELHEADER"));
    subHeader_ = ObjectCast<Label>(FindChild("LABEL_PANELSUB"));
    pageLabel_ = ObjectCast<Label>(FindChild("LABEL_INDEX"));
    previous_ = ObjectCast<Button>(FindChild("BUTTON_PREV"));
    next_ = ObjectCast<Button>(FindChild("BUTTON_NEXT"));
    ok_ = ObjectCast<Button>(FindChild("BUTTON_OK"));
    pageCount_ = headers_ ? static_cast<int32_t>(headers_->Items().size()) : 0;
    if (pageCount_ == 0) {
        ENGINE_LOG(1, "HelpDialog: the list \"HELP_HEADERS\" is missing or empty");
    }
    void* self = static_cast<Object*>(this);
    BindControl(previous_, &HelpDialog::OnPrevious, self);
    BindControl(next_, &HelpDialog::OnNext, self);
    BindControl(ok_, &HelpDialog::OnOk, self);
    for (int32_t page = 0; page < pageCount_; ++page) {
        GameNode* panel = FindChild("panel" + std::to_string(page));
        if (panel == nullptr) {
            ENGINE_LOG(1, "HelpDialog: no \"panel%d\"", page);
        }
        panels_.push_back(panel);
    }
}

HelpDialog* HelpDialog::FromContext(void* dialog) { return ObjectCast<HelpDialog>(static_cast<Object*>(dialog)); }

void HelpDialog::OnShow() {
    KR2Dialog::OnShow();
    UpdatePage();
    if (showAtOnce_) {
        return;
    }
    const Ref<Modifier> wait(new ModifierWait(kShowDelayMs));
    wait->SetOptions(Modifier::kBlockFollowing);
    AddModifier(wait.Get());
    FadeIn(this, DIALOG_FADE_TIME);
}

int32_t HelpDialog::OnPrevious(void* dialog, GameNode*) {
    if (HelpDialog* self = FromContext(dialog)) {
        self->currentPage_ = std::max(self->currentPage_ - 1, 0);
        self->UpdatePage();
    }
    return 0;
}

int32_t HelpDialog::OnNext(void* dialog, GameNode*) {
    if (HelpDialog* self = FromContext(dialog)) {
        self->currentPage_ = std::min(self->currentPage_ + 1, std::max(self->pageCount_ - 1, 0));
        self->UpdatePage();
    }
    return 0;
}

int32_t HelpDialog::OnOk(void* dialog, GameNode*) {
    if (HelpDialog* self = FromContext(dialog)) {
        self->Close();
    }
    return 0;
}

void HelpDialog::UpdatePage() {
    EnableButton(previous_, currentPage_ > 0);
    EnableButton(next_, currentPage_ < pageCount_ - 1);
    const Defines* defines = Defines::Instance();
    const std::wstring format = defines != nullptr ? defines->GetText("TEXT_PAGE_FORMAT") : std::wstring();
    SetLabelText(pageLabel_, FillNumberFields(format, {currentPage_ + 1, pageCount_}));
    ShowPage();
}

void HelpDialog::ShowPage() {
    for (GameNode* panel : panels_) {
        if (panel != nullptr) {
            panel->SetVisible(false);
        }
    }
    SetLabelText(header_, EntryText(headers_.Get(), currentPage_));
    if (subHeader_ != nullptr) {
        subHeader_->SetLineHeight(kSubHeaderLineHeight);
    }
    SetLabelText(subHeader_, EntryText(subHeaders_.Get(), currentPage_));
    if (currentPage_ >= 0 && currentPage_ < static_cast<int32_t>(panels_.size()) && panels_[currentPage_] != nullptr) {
        panels_[currentPage_]->SetVisible(true);
    }
}
