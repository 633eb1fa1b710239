#include "game/dialogs/PlayerSelectDialog.h"

#include <utility>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/MediaNumbers.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/TextConversions.h"
#include "engine/ui/Button.h"
#include "engine/ui/Label.h"
#include "engine/ui/Scene.h"
#include "engine/ui/Switch.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/GameSceneHooks.h"
#include "game/dialogs/NameInputDialog.h"
#include "game/dialogs/YesNoDialog.h"

namespace {

const ClassRegistration registration("PlayerSelectDialog", CreateFromProperty<PlayerSelectDialog>);

int32_t PlayerCount() {
    const Players* players = Players::Instance();
    return players != nullptr ? static_cast<int32_t>(players->GetPlayers().size()) : 0;
}

PlayerSelectDialog* SelfOf(void* dialog) { return ObjectCast<PlayerSelectDialog>(static_cast<Object*>(dialog)); }

// A switch shows the current player checked; a button shows it by state.
void ShowAsCurrent(Sprite* control, bool current) {
    if (auto* toggle = ObjectCast<Switch>(control)) {
        toggle->SetChecked(current);
    } else if (auto* button = ObjectCast<Button>(control)) {
        button->SetState(current ? 1 : 0);
    }
}

}  // namespace

PlayerSelectDialog::PlayerSelectDialog(Property* definition) : KR2Dialog(definition) {
    BuildSlots();
    void* self = static_cast<Object*>(this);
    add_ = ObjectCast<Button>(FindChild("BUTTON_ADD"));
    remove_ = ObjectCast<Button>(FindChild("BUTTON_REMOVE"));
    GameNode* ok = FindChild("BUTTON_OK");
    if (add_ == nullptr || remove_ == nullptr || ok == nullptr) {
        ENGINE_LOG(1, "PlayerSelectDialog \"%s\": lacks BUTTON_ADD, BUTTON_REMOVE or BUTTON_OK", GetName().c_str());
    }
    if (add_ != nullptr) {
        BindControl(add_, &PlayerSelectDialog::OnAdd, self);
    }
    if (remove_ != nullptr) {
        BindControl(remove_, &PlayerSelectDialog::OnRemove, self);
    }
    if (ok != nullptr) {
        BindControl(ok, &PlayerSelectDialog::OnOk, self);
    }
    selectedSlot_ = 0;
    RefreshList();
}

void PlayerSelectDialog::BuildSlots() {
    Property* definition = GetDefinition();
    Property* controlDefinition = Property::Child(definition, "namebutton");
    Property* labelDefinition = Property::Child(definition, "namelabel");
    const int32_t spacing = media_numbers::Position(Property::Child(definition, "spacing"));
    GameNode* components = GetComponentNode();
    for (int32_t slot = 0; slot < kSlotCount; ++slot) {
        const Ref<Object> control(controlDefinition != nullptr ? ClassFactory::Instance().Create(controlDefinition)
                                                               : nullptr);
        nameControls_[slot] = ObjectCast<Sprite>(control.Get());
        Sprite* sprite = nameControls_[slot].Get();
        if (sprite == nullptr || components == nullptr) {
            ENGINE_LOG(1, "PlayerSelectDialog \"%s\": no name control for slot %d", GetName().c_str(), slot);
            nameControls_[slot] = nullptr;
            continue;
        }
        sprite->SetPosition(GetWidth() / 2 + DIALOG_CENTER_OFFSET, sprite->GetY() + slot * spacing);
        BindControl(sprite, &PlayerSelectDialog::OnNameButton, static_cast<Object*>(this));
        components->AddChild(sprite);
        const Ref<Object> label(labelDefinition != nullptr ? ClassFactory::Instance().Create(labelDefinition)
                                                           : nullptr);
        nameLabels_[slot] = ObjectCast<Label>(label.Get());
        if (nameLabels_[slot]) {
            sprite->AddChild(nameLabels_[slot].Get());
        } else {
            ENGINE_LOG(1, "PlayerSelectDialog \"%s\": no name label for slot %d", GetName().c_str(), slot);
        }
    }
}

void PlayerSelectDialog::RefreshList() {
    const Players* players = Players::Instance();
    const int32_t count = PlayerCount();
    for (int32_t slot = count; slot < kSlotCount; ++slot) {
        if (nameLabels_[slot]) {
            nameLabels_[slot]->SetText(L"");
        }
        ShowAsCurrent(nameControls_[slot].Get(), false);
    }
    for (int32_t slot = 0; slot < count && slot < kSlotCount; ++slot) {
        const PlayerProfile* player = players->GetPlayers()[slot].Get();
        if (nameLabels_[slot]) {
            nameLabels_[slot]->SetText(NarrowToWide(player->GetName()));
        }
        const bool current = player == players->GetCurrent();
        if (current) {
            selectedSlot_ = slot;
        }
        ShowAsCurrent(nameControls_[slot].Get(), current);
    }
    if (add_ != nullptr) {
        add_->SetEnabled(count < kSlotCount);
    }
    if (remove_ != nullptr) {
        remove_->SetEnabled(count > 1);
    }
}

void PlayerSelectDialog::SwitchCurrentPlayer(const std::string& name) {
    Players* players = Players::Instance();
    if (players == nullptr) {
        return;
    }
    // Looked up first: forgetting the current player's progress with no
    // player to load in its place would lose it.
    const auto found = players->FindByName(name);
    if (found == players->GetPlayers().end()) {
        ENGINE_LOG(1, "PlayerSelectDialog: no player \"%s\" to switch to", name.c_str());
        return;
    }
    if (PlayerProfile* current = players->GetCurrent()) {
        players->SavePlayer(*current);
        current->ResetProgress();
    }
    PlayerProfile* next = found->Get();
    players->SetCurrent(next);
    players->LoadPlayer(*next);
}

int32_t PlayerSelectDialog::SlotOf(const GameNode* control) const {
    for (int32_t slot = 0; slot < kSlotCount; ++slot) {
        if (control != nullptr && nameControls_[slot].Get() == control) {
            return slot;
        }
    }
    return -1;
}

std::string PlayerSelectDialog::SlotName(int32_t slot) const {
    if (nameLabels_[slot]) {
        return WideToNarrow(nameLabels_[slot]->GetText());
    }
    const Players* players = Players::Instance();
    return players != nullptr && slot < PlayerCount() ? players->GetPlayers()[slot]->GetName() : std::string();
}

int32_t PlayerSelectDialog::NameSlotAt(int32_t x, int32_t y) const {
    for (int32_t slot = 0; slot < kSlotCount; ++slot) {
        const Label* label = nameLabels_[slot].Get();
        if (label != nullptr && !label->GetText().empty() && label->HitTest(x, y)) {
            return slot;
        }
    }
    return -1;
}

bool PlayerSelectDialog::OnLButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick) {
    pressedNameSlot_ = NameSlotAt(x, y);
    return KR2Dialog::OnLButtonDown(x, y, flags, doubleClick);
}

bool PlayerSelectDialog::OnLButtonUp(int32_t x, int32_t y, uint32_t flags) {
    const bool used = KR2Dialog::OnLButtonUp(x, y, flags);
    const int32_t slot = std::exchange(pressedNameSlot_, -1);
    if (slot < 0 || NameSlotAt(x, y) != slot) {
        return used;
    }
    OnNameButton(static_cast<Object*>(this), nameControls_[slot].Get());
    return true;
}

int32_t PlayerSelectDialog::OnNameButton(void* dialog, GameNode* sender) {
    PlayerSelectDialog* self = SelfOf(dialog);
    const int32_t slot = self != nullptr ? self->SlotOf(sender) : -1;
    if (slot < 0) {
        return 0;
    }
    if (slot >= PlayerCount()) {
        return OnAdd(dialog, sender);
    }
    self->selectedSlot_ = slot;
    SwitchCurrentPlayer(self->SlotName(slot));
    // A click toggles a switch on its own; the list shows who is current.
    self->RefreshList();
    return 0;
}

int32_t PlayerSelectDialog::OnAdd(void* dialog, GameNode*) {
    PlayerSelectDialog* self = SelfOf(dialog);
    Scene* scene = CurrentDialogScene();
    if (self == nullptr || scene == nullptr || PlayerCount() >= kSlotCount) {
        return 0;
    }
    auto* input = ObjectCast<NameInputDialog>(scene->GetDialog("DIALOG_NEWPLAYER", true, ""));
    if (input == nullptr) {
        ENGINE_LOG(1, "PlayerSelectDialog: \"DIALOG_NEWPLAYER\" is no name dialog");
        return 0;
    }
    input->SetPlayerSelect(self);
    scene->ShowDialog(input);
    return 0;
}

int32_t PlayerSelectDialog::OnRemove(void* dialog, GameNode*) {
    Scene* scene = CurrentDialogScene();
    if (SelfOf(dialog) == nullptr || scene == nullptr) {
        return 0;
    }
    YesNoDialog* question = YesNoDialog::Ask("TEXT_REMOVE_PLAYER", "TEXT_REMOVE_PLAYER_HEADER", dialog,
                                             &PlayerSelectDialog::OnRemoveConfirmed, nullptr, nullptr, scene);
    if (question != nullptr) {
        scene->ShowDialog(question);
    }
    return 0;
}

int32_t PlayerSelectDialog::OnRemoveConfirmed(void* dialog, GameNode*) {
    PlayerSelectDialog* self = SelfOf(dialog);
    Players* players = Players::Instance();
    const int32_t count = PlayerCount();
    // The last player is never removed here: the list must not go empty.
    if (self != nullptr && players != nullptr && count > 1 && self->selectedSlot_ >= 0 &&
        self->selectedSlot_ < count) {
        const std::string name = self->SlotName(self->selectedSlot_);
        const PlayerProfile* current = players->GetCurrent();
        if (current != nullptr && current->GetName() == name) {
            self->selectedSlot_ += 1;
            if (self->selectedSlot_ >= count) {
                self->selectedSlot_ = count - 2;
            }
            SwitchCurrentPlayer(self->SlotName(self->selectedSlot_));
        }
        const auto removed = players->FindByName(name);
        if (removed != players->GetPlayers().end()) {
            // Held while the list lets go of it.
            const Ref<PlayerProfile> player(removed->Get());
            players->DeletePlayerFile(player.Get());
        }
        self->RefreshList();
    }
    if (Scene* scene = CurrentDialogScene()) {
        if (const auto open = scene->GetDialogMap().find("TEXT_REMOVE_PLAYER"); open != scene->GetDialogMap().end()) {
            scene->CloseDialog(open->second.Get());
        }
    }
    return 0;
}

int32_t PlayerSelectDialog::OnOk(void* dialog, GameNode*) {
    if (GameSceneHooks* hooks = GameSceneHooks::Installed()) {
        hooks->ShowWelcome(CurrentDialogScene(), true);
    }
    if (PlayerSelectDialog* self = SelfOf(dialog)) {
        self->Close();
    }
    return 0;
}
