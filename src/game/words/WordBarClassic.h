#pragma once

#include "game/words/WordBar.h"

// The word bar of every game but the slots game: a row for the word over a
// row of dealt coals. A click sends a coal to the other row; the word closes
// up to the left.
class WordBarClassic : public WordBar {
    ENGINE_CLASS(WordBarClassic, WordBar)

public:
    // Sets the racks' layout flags and puts a loaded word's coals in place.
    explicit WordBarClassic(Property* node = nullptr);

    void Save(PropertyNode& node) const override;
    void PickLetterAt(int32_t x, int32_t y) override;
    void TakeBackLetters(bool lastOnly, bool flash) override;
    void DropLetter(SlotRef source, SlotRef target, bool movedByMouse) override;
};
