#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/media/Rect.h"
#include "engine/scene/Sprite.h"
#include "game/words/LetterRack.h"
#include "game/words/LetterSprite.h"
#include "game/words/WordBarScene.h"

class LetterData;
class Property;
class PropertyNode;
class WordSprite;

// A slot of one of the word bar's racks; {-1, -1} is none.
struct SlotRef {
    int rack = -1;
    int slot = -1;

    bool IsValid() const { return rack >= 0 && rack <= 1 && slot >= 0 && slot < LetterRack::kSlotCount; }
    bool operator==(const SlotRef&) const = default;
};

// The player's coals under the play field: the word being built (rack 0) and
// the coals dealt for it (rack 1). It moves coals between the racks as the
// player types and clicks, deals, shuffles and plays the letter sounds, and
// throws an accepted word's coals into the furnace. The two kinds of bar
// decide how clicks, take-backs and drops work.
class WordBar : public Sprite {
    ENGINE_CLASS(WordBar, Sprite)

public:
    static constexpr int kWordRack = 0;
    static constexpr int kSupplyRack = 1;
    static constexpr int32_t kBarY = 429;

    // What the last letter operation did.
    enum Action {
        kNoAction = -1,
        kCanMove = 0,
        kNoRoom = 1,
        kTakenAway = 2,
        kTypedFound = 4,
        kTypedNotFound = 5,
    };

    // Builds the racks of "racks" when the node has them (showing their
    // coals), else two empty racks sized by the game type.
    explicit WordBar(Property* node);
    ~WordBar() override;

    // Writes "racks": two "LetterRack" nodes, the word rack first.
    virtual void Save(PropertyNode& node) const;
    // A click at a point of the bar's parent.
    virtual void PickLetterAt(int32_t x, int32_t y) = 0;
    // Completes the last operation and plays its sound.
    virtual void PlayLetterSound();
    virtual void RemoveAllLetters();
    // Puts the word's coals back (Backspace: lastOnly; clearing: all).
    virtual void TakeBackLetters(bool lastOnly, bool flash) = 0;
    // Pops every coal, 200 ms after the one before.
    virtual void PopLetters();
    // One new supply coal per letter of the word, into the free slots.
    virtual void DealLetters(WordSprite* word, int ignored, bool isNew);
    virtual void DropLetter(SlotRef source, SlotRef target, bool movedByMouse) = 0;

    // Prepares the move of the supply coal for a typed (folded) letter.
    void TypeLetter(uint8_t folded);
    // The slot whose coal lies under a point of the bar's parent.
    SlotRef FindLetterAt(int32_t x, int32_t y) const;
    PointF GetSlotPosition(SlotRef ref) const;
    void MoveLetter(SlotRef source, SlotRef target, bool movedByMouse);
    void AddLetter(SlotRef ref, LetterData* letter, bool animate, bool isNew, int32_t delayMs);
    void ShowLetter(SlotRef ref, bool animate, int32_t delayMs, bool spark);
    // Moves every coal whose home is not its slot (every coal with force).
    void ArrangeLetters(bool force);
    // A new supply order that spells no word, when one turns up in 100 tries.
    void ShuffleSupply();
    void CloseSupplyGaps();
    void DropSupply();
    void ClearNewFlags();
    // Jokers take the word's letters; the word's letters take the coals' kinds.
    void TransferLetterKinds(WordSprite* word);
    void HideLetters(bool hide);
    // Throws the word's coals into the furnace and flies its letters to the queue.
    void PlaySubmitAnimation(WordSprite* word);

    LetterRack& Rack(int index) { return *racks_[index]; }
    const LetterRack& Rack(int index) const { return *racks_[index]; }
    LetterSprite* GetLetter(SlotRef ref) const;
    int LastAction() const { return lastAction_; }
    SlotRef Source() const { return source_; }
    SlotRef Target() const { return target_; }
    LetterSprite* LetterInHand() const { return inHand_.Get(); }
    GameNode& CoalLayer() { return *coalLayer_; }
    GameNode* SubmitLayer() const { return submitLayer_.Get(); }
    // The coals of the last accepted word, in the word's order, for the furnace.
    const std::vector<Ref<LetterSprite>>& ThrownCoals() const { return thrownCoals_; }

    // The rack sizes of a game type: {word rack, supply rack}.
    static std::array<int, 2> RackSizesFor(int gameType);

    static void SetHooks(const WordBarHooks& hooks);
    static const WordBarHooks& Hooks();

protected:
    // Writes the type name and the racks.
    void SaveAs(PropertyNode& node, const char* typeName) const;
    // The absolute position of the bar: its own plus its ancestors'.
    PointF AbsolutePosition() const;
    // The coal area relative to the bar; none without a scene.
    std::optional<Rect> CoalClip() const;
    static void PlayGameSound(const char* id, const char* section = "gamescene");
    // The word rack's coals from slot 0 up, or the last one alone.
    std::vector<int> WordSlotsToTakeBack(bool lastOnly) const;

    int lastAction_ = kNoAction;
    Ref<LetterSprite> inHand_;
    SlotRef source_;
    SlotRef target_;

private:
    void BuildCoalSequence(LetterSprite& coal, int index, int count, PointF target, GameNode* targetNode);
    void BuildFlyingLetter(WordSprite& word, LetterSprite& coal, int index, int count, GameNode& layer);

    std::array<Ref<LetterRack>, 2> racks_;
    Ref<GameNode> submitLayer_;
    std::vector<Ref<LetterSprite>> thrownCoals_;
    Ref<GameNode> coalLayer_;
};
