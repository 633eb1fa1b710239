#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "game/dialogs/KR2Dialog.h"
#include "game/dialogs/TrophyDialog.h"
#include "game/rules/LevelHooks.h"

class Button;
class Label;
class Modifier;
class Sprite;

// The celebration of a won trophy: the scene freezes into a darkened
// picture, the trophy bursts out of a star with rings of stars and a flash,
// its name and description fade in. OK opens the cabinet behind it and the
// trophy flies into its place there.
class TrophyAwardedDialog : public KR2Dialog {
    ENGINE_CLASS(TrophyAwardedDialog, KR2Dialog)

public:
    static constexpr int32_t kSlideDistance = 60;

    // The KR2Dialog keys; freezes the current scene into the backdrop.
    explicit TrophyAwardedDialog(Property* definition);
    ~TrophyAwardedDialog() override;

    // Marks the trophy as shown to the current player and runs its award in
    // the current scene; `afterClose` runs once the cabinet has closed.
    // An index outside the trophies is logged and shows nothing.
    static void Show(int32_t trophy, TrophyDialog::AfterClose afterClose);

    // The dialog runs its own entrance.
    void OnShow() override {}

    static int32_t OnOk(void* context, GameNode* sender);

    Sprite* GetBigTrophy() const { return bigTrophy_.Get(); }
    Sprite* GetFlash() const { return flash_.Get(); }
    Button* GetOkButton() const { return okButton_; }
    Label* GetNameLabel() const { return nameLabel_; }
    Label* GetTextLabel() const { return textLabel_; }

private:
    void FreezeScene();
    void StartAward(int32_t trophy);
    // The big star with the trophy's picture drawn into each of its frames.
    void BuildBigTrophy(int32_t trophy);
    void AnimateAward();
    void HandTrophyToCabinet();
    // The cabinet the award dialog opens once its OK is pressed, or null.
    static TrophyDialog* CabinetBehind(GameNode* node);

    Modifier* animationRoot_ = nullptr;
    Ref<TrophyDialog> cabinet_;
    Ref<Sprite> flash_;
    Ref<Sprite> bigTrophy_;
    Button* okButton_ = nullptr;
    Sprite* trophyWon_ = nullptr;
    Sprite* guiBar_ = nullptr;
    Label* textLabel_ = nullptr;
    Label* nameLabel_ = nullptr;
};

// The level's way to award a trophy: the award dialog in the current scene.
class TrophyAwardDialogs : public TrophyAwards {
public:
    void Show(int trophy) override { TrophyAwardedDialog::Show(trophy, nullptr); }
};
