#pragma once

#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/scene/ThresholdSprite.h"
#include "game/words/WordBar.h"

// The word bar of the slots game: the whole alphabet in two rows of small
// coals that never run out (a taken letter flies a copy into the word), and
// one coal slot per letter of the queue's current word, with its shown
// letters written on. A letter that differs from a shown one is drawn red.
class WordBarSlots : public WordBar {
    ENGINE_CLASS(WordBarSlots, WordBar)

public:
    // Deals the alphabet into a supply that holds no coal.
    explicit WordBarSlots(Property* node = nullptr);
    ~WordBarSlots() override;

    void Save(PropertyNode& node) const override;
    void PickLetterAt(int32_t x, int32_t y) override;
    void PlayLetterSound() override;
    void RemoveAllLetters() override;
    void TakeBackLetters(bool lastOnly, bool flash) override;
    void PopLetters() override;
    // Lays out the coal slots and hint letters of the word; deals no coal.
    void DealLetters(WordSprite* word, int ignored, bool isNew) override;
    void DropLetter(SlotRef source, SlotRef target, bool movedByMouse) override;

    const std::vector<Ref<ThresholdSprite>>& CoalSlots() const { return coalSlots_; }
    const std::vector<Ref<Sprite>>& HintLetters() const { return hintLetters_; }

private:
    // Shrinks the word coal away and empties its slot.
    void RemoveWordCoal(int slot, bool flash);
    Ref<ThresholdSprite> MakeCoalSlot() const;

    std::vector<Ref<ThresholdSprite>> coalSlots_;
    std::vector<Ref<Sprite>> hintLetters_;
    Ref<GameNode> slotLayer_;
};
