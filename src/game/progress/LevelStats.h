#pragma once

#include <cstdint>

class Property;

// The counters of one level: every game mode and the game scene own one.
// Written into and read from a property node as untyped values; the game
// reads and changes the fields directly.
class LevelStats {
public:
    LevelStats() = default;
    LevelStats(const LevelStats&) = default;
    LevelStats& operator=(const LevelStats&) = default;
    virtual ~LevelStats() = default;

    // A property that is not a node reads as all zeros, and takes nothing.
    virtual void Read(const Property* property);
    virtual void Write(Property* property) const;
    // Zeroes every counter but the score.
    virtual void Reset();
    // Adds the other record's counters from tracksBought to numHelp, and its
    // score as this record's score hook does; gamesCounter stays.
    void Add(const LevelStats& other);

    int32_t score = 0;
    int32_t tracksBought = 0;
    int32_t numWordsFound = 0;
    int32_t numWordsInserted = 0;
    int32_t numWordsInQueue = 0;
    int32_t coalsUsed = 0;
    int32_t moneyEarned = 0;
    int32_t playtime = 0;  // ms
    int32_t numShuffle = 0;
    int32_t numSkip = 0;
    int32_t numHelp = 0;
    int32_t gamesCounter = 0;

protected:
    // The score hook of Add: a level's record takes the other record's score.
    virtual void MergeScore(int32_t value);
};

// Adds without overflowing: a total that would pass the range stays at its end.
int32_t SaturatingAdd(int32_t total, int32_t value);
