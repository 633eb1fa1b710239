#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "engine/foundation/Ref.h"
#include "engine/media/SurfaceWarmer.h"
#include "game/dialogs/KR2Dialog.h"

class Button;
class KR2Player;
class Label;
class Scene;
class ScrollPanel;
class Sprite;
class TrophyButton;

// The trophy cabinet: one player's trophies at their places, a scrolling
// list of that player's statistics, arrows that page through the players,
// and the name and description of the trophy under the mouse. In award mode
// the awarded trophy's place stays empty until its big picture has flown
// in.
class TrophyDialog : public KR2Dialog {
    ENGINE_CLASS(TrophyDialog, KR2Dialog)

public:
    static constexpr int kTrophyCount = 23;
    static constexpr int kStatisticRows = 13;
    using AfterClose = std::function<void(Scene*)>;

    // The KR2Dialog keys, then "trophypos", "stat_name", "stat_val" and
    // "stat_offset".
    explicit TrophyDialog(Property* definition);
    ~TrophyDialog() override;

    void OnShow() override;
    // Ignored in award mode.
    bool OnMouseMove(int32_t x, int32_t y, uint32_t flags) override;

    // Fills the cabinet for the player at that index of the player list.
    void ShowPlayer(int32_t playerIndex);
    // Keeps the awarded trophy's place empty until MoveAwardedTrophy lands it.
    // Shown in award mode, the cabinet waits hidden behind the award and
    // holds back its darkened backdrop, the costliest part of showing it, so
    // that the award's first frame does not pay for it.
    void StartAwardMode(int32_t trophy);
    // Makes the cleared pictures the held backdrop and the cabinet's own
    // picture are painted into, a few rows a call; true once they are ready.
    // The award calls it a frame at a time before the backdrop is painted.
    bool WarmHeldPictures();
    // Paints the backdrop held back in award mode; the award calls it in a
    // quiet frame before its OK can be pressed.
    void PaintHeldBackdrop();
    // Builds the cabinet's picture over the backdrop, in a frame of its own
    // after the backdrop's, so that the OK finds nothing left to build.
    void PrepareHeldPicture();
    // Makes the hidden cabinet visible, its backdrop painted.
    void Reveal();
    // Flies the big trophy from where it is to its place, then throws stars.
    void MoveAwardedTrophy(Sprite* big);
    // Runs with the current scene once the cabinet has closed.
    void SetAfterClose(AfterClose function) { afterClose_ = std::move(function); }

    // The flight itself, once the big trophy is in the cabinet.
    void FlyIn(Sprite& big);
    // Ends award mode: the landed trophy shows and throws stars.
    void ThrowStars();

    static int32_t OnOk(void* context, GameNode* sender);
    static int32_t OnPrev(void* context, GameNode* sender);
    static int32_t OnNext(void* context, GameNode* sender);

    // Null past the places "trophypos" gave.
    TrophyButton* GetTrophyButton(int32_t trophy) const;
    Label* GetStatisticValue(int32_t row) const { return statValues_[static_cast<size_t>(row)].Get(); }
    Label* GetStatisticName(int32_t row) const { return statNames_[static_cast<size_t>(row)].Get(); }
    Label* GetNameLabel() const { return nameLabel_; }
    Label* GetDescriptionLabel() const { return descriptionLabel_; }
    Button* GetPrevButton() const { return prevButton_; }
    Button* GetNextButton() const { return nextButton_; }
    int32_t GetPointedTrophy() const { return pointedTrophy_; }
    int32_t GetPlayerIndex() const { return playerIndex_; }
    bool IsAwardMode() const { return awardMode_; }

private:
    void BuildTrophyButtons();
    void BuildStatisticRows();
    void FillStatistics(const KR2Player& player);
    void StackStatisticRows();
    void ShowTrophyText();

    Label* nameLabel_ = nullptr;
    Label* headerLabel_ = nullptr;
    ScrollPanel* scrollPanel_ = nullptr;
    Button* okButton_ = nullptr;
    Button* prevButton_ = nullptr;
    Button* nextButton_ = nullptr;
    std::array<Ref<Label>, kStatisticRows> statNames_;
    std::array<Ref<Label>, kStatisticRows> statValues_;
    int32_t statOffset_ = 0;
    Label* descriptionLabel_ = nullptr;
    std::array<Ref<TrophyButton>, kTrophyCount> buttons_;
    int32_t pointedTrophy_ = -1;
    bool nothingPointedYet_ = true;
    AfterClose afterClose_;
    int32_t playerIndex_ = 0;
    bool awardMode_ = false;
    bool backdropHeld_ = false;
    SurfaceWarmer warmer_;
    Ref<MemorySurface> warmFrame_;
    Ref<MemorySurface> warmBackdrop_;
    Ref<MemorySurface> warmPicture_;
    int32_t awardedTrophy_ = -1;
};
