#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/foundation/Ref.h"
#include "game/dialogs/KR2Dialog.h"

class Button;
class Label;
class Sprite;

// The player list as five name slots: clicking a name makes that player
// current at once, an empty slot or the add button asks for a new name, and
// the remove button deletes the chosen player after a question.
class PlayerSelectDialog : public KR2Dialog {
    ENGINE_CLASS(PlayerSelectDialog, KR2Dialog)

public:
    static constexpr int32_t kSlotCount = 5;

    // The KR2Dialog keys, then "namebutton" and "namelabel" (the definitions
    // of one slot's control and of its label) and "spacing" (pixels between
    // two slots). A missing part is logged and left out.
    explicit PlayerSelectDialog(Property* definition);

    void OnShow() override { ShowAndFadeIn(); }
    // A click on a player's name picks that player as its slot's control does.
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick) override;
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t flags) override;

    // Labels and states from the player list; add needs a free slot and
    // remove a second player.
    void RefreshList();

    // Saves the current player's file, forgets its progress in memory, and
    // makes the player of that name current with its file loaded. An unknown
    // name leaves the current player as it was.
    static void SwitchCurrentPlayer(const std::string& name);

    static int32_t OnNameButton(void* dialog, GameNode* sender);
    static int32_t OnAdd(void* dialog, GameNode* sender);
    static int32_t OnRemove(void* dialog, GameNode* sender);
    static int32_t OnRemoveConfirmed(void* dialog, GameNode* sender);
    static int32_t OnOk(void* dialog, GameNode* sender);

    Sprite* GetNameControl(int32_t slot) const { return nameControls_[slot].Get(); }
    Label* GetNameLabel(int32_t slot) const { return nameLabels_[slot].Get(); }
    int32_t GetSelectedSlot() const { return selectedSlot_; }
    Button* GetAddButton() const { return add_; }
    Button* GetRemoveButton() const { return remove_; }

private:
    void BuildSlots();
    int32_t SlotOf(const GameNode* control) const;
    std::string SlotName(int32_t slot) const;
    // The slot whose shown name lies under the point, or -1.
    int32_t NameSlotAt(int32_t x, int32_t y) const;

    std::array<Ref<Sprite>, kSlotCount> nameControls_;
    std::array<Ref<Label>, kSlotCount> nameLabels_;
    int32_t selectedSlot_ = 0;
    int32_t pressedNameSlot_ = -1;
    Button* add_ = nullptr;
    Button* remove_ = nullptr;
};
