#pragma once

#include <cstdint>

#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"

class Property;
class PropertyNode;

// One letter of a word: the letter, the coal kind that carries it and its
// flags in the word queue and the slot machine. Saved words and word bars
// store it as a "LetterData" node.
class LetterData : public Object {
    ENGINE_CLASS(LetterData, Object)

public:
    enum Type { kNormal = 0, kTurbo, kDouble, kTriple, kReveal, kStop, kCoin, kJoker };

    // Reads "char", "joker", "type", "leftout", "hidden" and "small" from the
    // definition when one is given; every letter then draws its look variant
    // from the run's generator, so it takes one draw per letter.
    explicit LetterData(Property* definition = nullptr);

    // Writes the six stored keys; frame and variant are made anew on reading.
    void Save(PropertyNode& node) const;

    // The coal picture of a kind: 0 for a normal coal, else kind + 2; small
    // coals use the pictures 10 further on.
    static int FrameFor(int type, bool small);
    // A record of its own with the same fields, look variant included (no draw).
    Ref<LetterData> Clone() const { return new LetterData(*this); }

    uint8_t Char() const { return char_; }
    uint8_t Joker() const { return joker_; }
    int GetType() const { return type_; }
    int Frame() const { return frame_; }
    bool IsLeftOut() const { return leftOut_; }
    bool IsHidden() const { return hidden_; }
    bool IsSmall() const { return small_; }
    int Variant() const { return variant_; }

    void SetChar(uint8_t c) { char_ = c; }
    void SetJoker(uint8_t c) { joker_ = c; }
    // Also sets the frame, which follows the kind.
    void SetType(int type);
    void SetLeftOut(bool leftOut) { leftOut_ = leftOut; }
    void SetHidden(bool hidden) { hidden_ = hidden; }
    // Also sets the frame, which follows the size.
    void SetSmall(bool small);

private:
    uint8_t char_ = 0;
    uint8_t joker_ = '?';
    int type_ = kNormal;
    int frame_ = 0;
    bool leftOut_ = false;
    bool hidden_ = true;
    bool small_ = false;
    int variant_ = 0;
};
