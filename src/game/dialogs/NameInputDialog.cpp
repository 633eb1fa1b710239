#include "game/dialogs/NameInputDialog.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/TextConversions.h"
#include "engine/ui/Button.h"
#include "engine/ui/ControlSupport.h"
#include "engine/ui/InputLabel.h"
#include "engine/ui/Scene.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/GameSceneHooks.h"
#include "game/dialogs/PlayerSelectDialog.h"
#include "game/progress/KR2Player.h"

namespace {

const ClassRegistration registration("NameInputDialog", CreateFromProperty<NameInputDialog>);

NameInputDialog* SelfOf(void* dialog) { return ObjectCast<NameInputDialog>(static_cast<Object*>(dialog)); }

bool HasPlayers() {
    const Players* players = Players::Instance();
    return players != nullptr && !players->GetPlayers().empty();
}

// The same anchor row, moved to the middle column.
int32_t CentredHorizontally(int32_t anchorKind) {
    return anchorKind >= Sprite::kTopLeft && anchorKind <= Sprite::kBottomRight ? anchorKind / 3 * 3 + 1
                                                                                  : Sprite::kTop;
}

}  // namespace

NameInputDialog::NameInputDialog(Property* definition) : KR2Dialog(definition) {
    void* self = static_cast<Object*>(this);
    ok_ = ObjectCast<Button>(FindChild("BUTTON_OK"));
    cancel_ = ObjectCast<Button>(FindChild("BUTTON_CANCEL"));
    input_ = ObjectCast<InputLabel>(FindChild("INPUT_NAME"));
    if (ok_ == nullptr || cancel_ == nullptr || input_ == nullptr) {
        ENGINE_LOG(1, "NameInputDialog \"%s\": lacks BUTTON_OK, BUTTON_CANCEL or INPUT_NAME", GetName().c_str());
    }
    if (ok_ != nullptr) {
        BindControl(ok_, &NameInputDialog::OnOk, self);
    }
    if (input_ != nullptr) {
        BindControl(input_, &NameInputDialog::OnKey, self);
        // Enter in the input is the same as OK.
        input_->SetEnterHandler([this](InputLabel&) { Accept(); });
    }
    const bool mayCancel = HasPlayers();
    if (input_ != nullptr) {
        // The input takes Escape from the cancel button: there it cancels,
        // and where a name must be given the input keeps its caret.
        input_->SetEscapeHandler([this, mayCancel](InputLabel&) {
            if (mayCancel) {
                OnCancel(static_cast<Object*>(this), cancel_);
            } else {
                FocusInput();
            }
        });
    }
    if (mayCancel) {
        if (cancel_ != nullptr) {
            BindControl(cancel_, &NameInputDialog::OnCancel, self);
        }
    } else {
        // The first player must give a name: no cancel, OK alone in the middle.
        if (cancel_ != nullptr) {
            cancel_->SetRemoved(true);
        }
        if (ok_ != nullptr) {
            ok_->SetX(GetWidth() / 2 + DIALOG_CENTER_OFFSET);
            ok_->SetAnchorKind(CentredHorizontally(ok_->GetAnchorKind()));
        }
    }
    EnableOk();
}

void NameInputDialog::OnShow() {
    KR2Dialog::OnShow();
    FadeIn(this, DIALOG_FADE_TIME);
    FocusInput();
}

bool NameInputDialog::OnLButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick) {
    FocusInput();
    return KR2Dialog::OnLButtonDown(x, y, flags, doubleClick);
}

bool NameInputDialog::OnLButtonUp(int32_t x, int32_t y, uint32_t flags) {
    FocusInput();
    return KR2Dialog::OnLButtonUp(x, y, flags);
}

void NameInputDialog::FocusInput() {
    if (input_ != nullptr && !input_->HasFocus()) {
        input_->SetFocus(true);
    }
}

void NameInputDialog::EnableOk() {
    if (ok_ != nullptr) {
        ok_->SetEnabled(input_ != nullptr && !input_->GetText().empty());
    }
}

int32_t NameInputDialog::OnKey(void* dialog, GameNode*) {
    NameInputDialog* self = SelfOf(dialog);
    if (self == nullptr || self->input_ == nullptr) {
        return 0;
    }
    // A name cannot start with a space. Clearing it is itself an edit,
    // which comes back here for the one keystroke sound.
    if (self->input_->GetText() == L" ") {
        self->input_->ApplyText(L"", true);
        return 0;
    }
    PlayControlSound("SOUND_KEYSTROKE", "default");
    self->input_->SetDirty(true);
    self->EnableOk();
    return 0;
}

int32_t NameInputDialog::OnOk(void* dialog, GameNode*) {
    if (NameInputDialog* self = SelfOf(dialog)) {
        self->Accept();
    }
    return 0;
}

void NameInputDialog::Accept() {
    Players* players = Players::Instance();
    if (input_ != nullptr && !input_->GetText().empty() && players != nullptr) {
        const std::string name = WideToNarrow(input_->GetText());
        // A name whose files exist already picks that player instead.
        if (!players->HasName(name)) {
            const Ref<KR2Player> player(new KR2Player(name));
            players->Add(player.Get());
        }
        PlayerSelectDialog::SwitchCurrentPlayer(name);
        players->Save();
        if (Scene* scene = CurrentDialogScene()) {
            if (const auto open = scene->GetDialogMap().find("DIALOG_PLAYERSELECT");
                open != scene->GetDialogMap().end()) {
                scene->CloseDialog(open->second.Get());
            }
            playerSelect_ = nullptr;
            if (GameSceneHooks* hooks = GameSceneHooks::Installed()) {
                hooks->ShowWelcome(scene, true);
            }
        }
        Close();
    }
    FocusInput();
}

int32_t NameInputDialog::OnCancel(void* dialog, GameNode*) {
    NameInputDialog* self = SelfOf(dialog);
    if (self == nullptr) {
        return 0;
    }
    if (self->playerSelect_) {
        self->playerSelect_->RefreshList();
    }
    self->Close();
    return 0;
}
