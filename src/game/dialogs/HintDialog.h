#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/foundation/Ref.h"
#include "game/dialogs/KR2Dialog.h"

class AdditiveSprite;
class Button;
class GameNode;
class KR2Player;
class Label;
class Property;
class Scene;

// A screen rectangle a hint points at.
struct HintRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Where a bubble of a given size goes beside a target, and which of its
// corners carries the arrow.
struct HintPlacement {
    int32_t x = 0;
    int32_t y = 0;
    std::string corner;  // "TOP_LEFT", "TOP_RIGHT", "BOTTOM_LEFT" or "BOTTOM_RIGHT"
};

// The bubble goes on the side of the target with more room, then is pushed
// back onto the 800 x 600 screen (left and top first).
HintPlacement PlaceBesideTarget(const HintRect& target, int32_t width, int32_t height);

// The speech bubble that teaches the game: one hint id, its pages of text
// (with optional extra nodes per page), an OK button that glows when the
// player clicks past a modal bubble, and an arrow corner facing the target.
// Only one hint is open at a time.
class HintDialog : public KR2Dialog {
    ENGINE_CLASS(HintDialog, KR2Dialog)

public:
    // The hint ids the bubble treats apart.
    static constexpr int kCoalInHandHint = 14;
    static constexpr int kFirstMapHint = 26;
    static constexpr int kFirstNonModalHint = 7;
    static constexpr int kLastNonModalHint = 10;
    static constexpr int kWordBarHint = 7;

    // The KR2Dialog keys, then "TUT_MIDDLE_HEIGHT", "descs" and the children
    // "BUTTON_OK" and "LABEL_TEXT".
    explicit HintDialog(Property* definition);
    ~HintDialog() override;

    // The scene's "DIALOG_HINT" (null scene: the current one), made the open
    // hint and set to hint `hintId` from its first page; null when the scene
    // builds no bubble.
    static HintDialog* Create(Scene* scene, int32_t hintId);
    // The open bubble, or null.
    static HintDialog* Open();
    // Forgets the open bubble (shutdown, or the bubble hid).
    static void ReleaseOpen();
    // A scene being left takes its open bubble along: hidden at once and
    // forgotten, so that the next scene's hints are not held back by it.
    static void CloseOpenIn(Scene& scene);
    // Whether an input of that id may go on while a hint is open; the input
    // may advance or close the bubble. `wordBarMoveState` matters only to
    // the word bar hint.
    static bool OnGameInput(int32_t inputId, int32_t wordBarMoveState);

    void AddTarget(GameNode* target);
    // Sizes the bubble for its longest page and shows the first.
    void Layout();
    // Beside the rectangle with an arrow; centred without one.
    void PlaceArrow(const HintRect* target);
    void PlaceAtTarget(GameNode* target);
    // The next page, or closes the bubble after the last.
    void Advance();
    // Runs when the last page closes (the word bar change hint 14 held back).
    void SetOnFinished(std::function<void()> finished) { onFinished_ = std::move(finished); }
    void GlowOkButton();

    void Update(int32_t elapsedMs) override;
    bool HitTest(int32_t x, int32_t y) const override;
    void OnShow() override;
    void OnHide() override;
    bool OnChar(int32_t character) override;
    bool OnKeyDown(int32_t) override { return false; }
    bool OnKeyUp(int32_t) override { return false; }
    bool OnMouseMove(int32_t x, int32_t y, uint32_t flags) override;
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick) override;
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t flags) override;
    // Until its OK could be pressed, a bubble just opened takes no clicks:
    // they were aimed at what lay there before it (a bubble that opened
    // under the pointer does not swallow a click meant for a button).
    bool TakesClicks() const;

    int32_t GetHintId() const { return hintId_; }
    int32_t GetPageIndex() const { return pageIndex_; }
    int32_t GetPageCount() const { return pageCount_; }
    int32_t GetOpenTime() const { return openTime_; }
    const std::vector<GameNode*>& GetTargets() const { return targets_; }
    Button* GetOkButton() const { return okButton_; }
    Label* GetTextLabel() const { return textLabel_; }
    GameNode* GetExtraNode() const { return extraNode_.Get(); }
    AdditiveSprite* GetGlow() const { return glow_.Get(); }

private:
    static int32_t OnOkPressed(void* dialog, GameNode* sender);
    void StartHint(int32_t hintId);
    void SetPageText(int32_t page);
    void ShowPage();
    void ClearExtras();
    void ClampToScreen();
    void SetArrowCorner(const std::string& corner);
    Property* PageNode(int32_t page) const;

    int32_t hintId_ = -1;
    int32_t pageIndex_ = 0;
    int32_t pageCount_ = 0;
    int32_t middleHeight_ = 0;
    int32_t openTime_ = 0;
    Button* okButton_ = nullptr;
    Ref<AdditiveSprite> glow_;
    Label* textLabel_ = nullptr;
    Ref<GameNode> extraNode_;
    std::vector<GameNode*> targets_;
    Ref<Property> pages_;
    // The label's y, the OK key and the painter's names as defined, for a
    // reused bubble.
    int32_t definedLabelY_ = 0;
    int32_t definedOkKey_ = 0;
    std::vector<std::string> definedImageNames_;
    std::function<void()> onFinished_;
};

// Opens hint `hintId` without asking the profile (its flag clears when it
// shows): target, placement (the rectangle, else the target's own), shown in
// the current scene. Null when no bubble could be made.
HintDialog* OpenHint(int32_t hintId, GameNode* target, const HintRect* rect);
// The same for the current player when their hints are on; the flag is
// cleared first.
HintDialog* ShowHint(int32_t hintId, GameNode* target, const HintRect* rect);
// The current player's profile, or null.
KR2Player* CurrentHintPlayer();
