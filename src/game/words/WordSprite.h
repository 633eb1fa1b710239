#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/scene/Sprite.h"
#include "game/words/LetterSlot.h"

class Modifier;
class PropertyNode;

// One word of the word queue: a row of letter slots. It knows whether it is
// still to be found, found or missed, compares itself with typed words,
// reveals hidden letters and draws as one cached picture except while an
// animation runs on its live slots.
class WordSprite : public Sprite {
    ENGINE_CLASS(WordSprite, Sprite)

public:
    // Status values, used as bits by the queue's searches.
    static constexpr int32_t kFound = 1;
    static constexpr int32_t kToFind = 2;
    static constexpr int32_t kMissed = 4;

    // Reads "status", "str", "plain", "custom", "missed", "visual" and the
    // slots of "letters" when a node is given.
    explicit WordSprite(Property* node = nullptr);
    ~WordSprite() override;

    void Save(PropertyNode& node) const;

    // A new word to find: one slot per character; "?" leaves its slot's letter out.
    void SetWord(const std::string& text, bool visual);
    void SetShownText(const std::string& text);
    // Folds every letter of the shown text, keeping other characters.
    void FoldShownText();

    // Whether the text spells the word slot by slot (folded); a "?" in the
    // text never matches, and with skipLeftOut a left-out slot takes any character.
    bool Matches(const std::string& text, bool skipLeftOut) const;
    // 2 for every double and 3 for every triple letter, multiplied.
    int32_t GetScoreMultiplier() const;
    // Unfound with at least two hidden letters.
    bool CanRevealLetter() const;

    void Unhighlight() { SetSlotImages(LetterSlot::kPlainSlot); }
    void ShowAsNew() { SetSlotImages(LetterSlot::kNewSlot); }
    void Highlight() { SetSlotImages(LetterSlot::kSelectedSlot); }

    // The word is found: status 1, every letter shown in green.
    void SetFound();
    // Redraws every slot and then the cached picture.
    void RefreshLook();
    // The level-end look: every letter shown in light red, fading in.
    void ShowMissed();
    // The arrival waits for the word's column to come into view in the queue
    // the word stands in (at most 2000 ms).
    // Waits for the word's column to come into view, then fades every slot's
    // arrival effect in over 400 ms.
    void ShowArrival();
    // A found word found again: the arrival wait and the found look, unless
    // a whole-word animation of the word still runs.
    void ShowFoundAgain();
    // Reveals the letter of a slot after the arrival wait and `waitMs`,
    // holding the effect for up to `holdMs` (at most 1000 ms).
    void RevealLetter(int32_t slotIndex, int32_t waitMs, int32_t holdMs);
    // Ends every slot's effect; once the fades have run, the whole-word
    // animation ends. The word bar queues it behind a submission.
    void EndSubmission();
    void EndWholeWordAnimation();
    bool IsAnimating() const;

    const std::vector<Ref<LetterSlot>>& Slots() const { return slots_; }
    int32_t SlotCount() const { return static_cast<int32_t>(slots_.size()); }
    const std::string& ShownText() const { return shownText_; }
    const std::string& PlainText() const { return plainText_; }
    int32_t Status() const { return status_; }
    void SetStatus(int32_t status) { status_ = status; }
    bool IsCustom() const { return custom_; }
    void SetCustom(bool custom) { custom_ = custom; }
    bool IsMissed() const { return missed_; }
    void SetMissed(bool missed) { missed_ = missed; }
    bool IsVisual() const { return visual_; }
    // The node under which the live slots stand.
    GameNode& Content() { return *content_; }

private:
    void SetSlotImages(int32_t imageIndex);
    void ClearSlots();
    void AppendSlot(LetterSlot* slot);
    void LayOutSlots();
    // Makes the plain text and the slots' letters from the shown text.
    void RebuildFromShownText();
    // Draws the slots into one picture and shows it in place of the live slots.
    void RebuildImage();
    // Shows the live slots until the awaited effect node's modifiers have run out.
    void StartWholeWordAnimation(GameNode* awaitedEffect);
    // The arrival wait on the first slot, a blocking wait on the others; the
    // arrival modifier (null for an empty word).
    Modifier* AttachArrival();

    std::vector<Ref<LetterSlot>> slots_;
    std::string shownText_;
    std::string plainText_;
    int32_t status_ = kToFind;
    bool custom_ = false;
    bool missed_ = false;
    bool visual_ = false;
    Ref<GameNode> content_;
};
