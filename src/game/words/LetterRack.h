#pragma once

#include <array>
#include <functional>
#include <string>

#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"
#include "game/words/LetterSprite.h"

class Property;
class PropertyNode;

// Which coal stands in which slot of one row of a word bar, how many slots
// are in use and how coals are placed: the slot positions, the free-slot
// search, compacting, shuffling and the word the coals spell.
class LetterRack : public Object {
    ENGINE_CLASS(LetterRack, Object)

public:
    static constexpr int kSlotCount = 26;
    static constexpr int kSmallCoalsPerRow = 13;
    // Draws a non-negative number; the shuffle takes it modulo the range.
    using RandomSource = std::function<int()>;

    // Reads "size", "RackSize", the four flags and the coals of "letters"
    // (each in the slot its "idx" names) when a node is given.
    explicit LetterRack(Property* node = nullptr);
    ~LetterRack() override;

    // Writes "size", "RackSize", the four flags and one node per coal, with
    // its slot as "idx" ahead of the coal's own keys.
    void Save(PropertyNode& node) const;

    // The x of a slot relative to the word bar: the row is centred on 0
    // (plus the small-coal offset).
    int GetSlotX(int slot) const;
    // A free slot (the one nearest to x for a closest-to-x rack), or -1.
    int FindFreeSlot(int x) const;
    // Closes gaps to the left, keeping the order, when the rack compacts.
    void Compact();
    // The letters of the coals in slot order; jokers give the letter they
    // stand for when resolveJokers is set.
    void GetWord(std::string& out, bool resolveJokers) const;
    // Permutes the coals among the occupied slots; empty slots stay empty.
    void Shuffle();

    // The shuffle's draws; the C library's rand unless replaced (null restores it).
    static void SetRandomSource(RandomSource source);

    LetterSprite* GetLetter(int slot) const;
    // Puts the coal into the slot (null empties it); ignored outside 0 to 25.
    void SetLetter(int slot, LetterSprite* letter);
    int OccupiedCount() const;

    int GetSize() const { return size_; }
    void SetSize(int size) { size_ = size; }
    int GetRackSize() const { return rackSize_; }
    void SetRackSize(int rackSize) { rackSize_ = rackSize; }
    bool IsCompact() const { return compact_; }
    void SetCompact(bool compact) { compact_ = compact; }
    bool IsCenterLetters() const { return centerLetters_; }
    void SetCenterLetters(bool center) { centerLetters_ = center; }
    bool IsClosestToX() const { return closestToX_; }
    void SetClosestToX(bool closest) { closestToX_ = closest; }
    bool HasSmallCoals() const { return hasSmallCoals_; }
    void SetHasSmallCoals(bool small) { hasSmallCoals_ = small; }

private:
    // The rack size bounded to the slots there are.
    int UsedSlots() const;
    bool IsFree(int slot) const { return !slots_[slot]; }

    std::array<Ref<LetterSprite>, kSlotCount> slots_;
    int size_ = 6;
    int rackSize_ = 6;
    bool compact_ = false;
    bool centerLetters_ = false;
    bool closestToX_ = false;
    bool hasSmallCoals_ = false;
};
